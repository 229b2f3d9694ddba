// SPDX-License-Identifier: MIT
// The icons compiled into the desktop program are found and drawn: a file
// left out of the resource, a wrong name or a missing SVG plug-in leaves a
// toolbar button or the window without its picture.
#include "app/qt/extension_icon_style.h"
#include "app/qt/program_icon.h"
#include "res/menu_resources.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QToolBar>
#include <QtTest>

using namespace kelvane;

namespace {

// Pixels that are not fully transparent, of `icon` drawn at `size` x `size`.
int DrawnPixels(const QIcon& icon, int size) {
    const QImage image =
        icon.pixmap(QSize(size, size)).toImage().convertToFormat(QImage::Format_ARGB32);
    if (image.size() != QSize(size, size))
        return 0;
    int drawn = 0;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            drawn += qAlpha(image.pixel(x, y)) != 0;
    return drawn;
}

} // namespace

class IconResourcesTest : public QObject {
    Q_OBJECT

private slots:
    // First, before anything here has read a PNG.
    void aMainWindowWithMenusAndToolbarLoadsNoImageFormatPlugIn() {
        QApplication::setStyle(new ExtensionIconStyle);
        QMainWindow window;
        window.menuBar()->addMenu("&File");
        window.addToolBar("Standard")->addAction(ToolbarIcon(MainToolbar().front().commandId), "");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        QVERIFY2(!maps.readAll().contains("/imageformats/"), "an image format plug-in was loaded");

        const QStyle* style = QApplication::style();
        for (const auto extension : {QStyle::SP_ToolBarHorizontalExtensionButton,
                                     QStyle::SP_ToolBarVerticalExtensionButton})
            QVERIFY(DrawnPixels(style->standardIcon(extension), 16) > 20);
        // Every other picture is still the style's.
        QVERIFY(!style->standardIcon(QStyle::SP_MessageBoxWarning).isNull());
    }

    void everyToolbarButtonHasItsPicture() {
        int buttons = 0;
        for (const ToolbarEntry& entry : MainToolbar()) {
            if (entry.commandId == 0)
                continue;
            ++buttons;
            // Each picture covers most of its 16 x 16 square.
            QVERIFY2(DrawnPixels(ToolbarIcon(entry.commandId), 16) > 100,
                     qPrintable(QString("toolbar command %1").arg(entry.commandId)));
        }
        QCOMPARE(buttons, 5);
    }

    void theProgramIconIsDrawnAtTheSizesWindowManagersAskFor() {
        for (const int size : {16, 32, 48, 64, 256})
            QVERIFY2(DrawnPixels(ProgramIcon(), size) > size * size / 4,
                     qPrintable(QString("size %1").arg(size)));
    }
};

QTEST_MAIN(IconResourcesTest)
#include "icon_resources_test.moc"
