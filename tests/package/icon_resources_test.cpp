// SPDX-License-Identifier: MIT
// The icons compiled into the desktop program are found and drawn: a
// picture left out of the build or a wrong name leaves a toolbar button or
// the window without its picture, and a fault in drawing them while
// building gives pictures unlike their SVG files.
#include "app/qt/icon_pictures.h"
#include "app/qt/program_icon.h"
#include "app/qt/program_style.h"
#include "res/menu_resources.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QMainWindow>
#include <QMenuBar>
#include <QPainter>
#include <QSvgRenderer>
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
    // First, before anything here has read a PNG or an SVG file.
    void aMainWindowWithMenusAndToolbarLoadsNoImageOrIconPlugIn() {
        QApplication::setStyle(new ProgramStyle);
        QMainWindow window;
        window.menuBar()->addMenu("&File");
        window.addToolBar("Standard")->addAction(ToolbarIcon(MainToolbar().front().commandId), "");
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QFile maps("/proc/self/maps");
        QVERIFY(maps.open(QIODevice::ReadOnly));
        const QByteArray loaded = maps.readAll();
        QVERIFY2(!loaded.contains("/imageformats/"), "an image format plug-in was loaded");
        QVERIFY2(!loaded.contains("/iconengines/"), "an icon engine plug-in was loaded");

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
        for (const int size : {16, 24, 32, 48, 64, 128})
            QVERIFY2(DrawnPixels(ProgramIcon(), size) > size * size / 4,
                     qPrintable(QString("size %1").arg(size)));
    }

    // Each compiled-in picture is its SVG file drawn at its size: rows in
    // order, colours in their channels, transparency premultiplied.
    void everyPictureIsItsSvgFileDrawn() {
        QCOMPARE(int(kIconPictureCount), 7 * 3 + 6);
        for (size_t index = 0; index < kIconPictureCount; ++index) {
            const IconPicture& picture = kIconPictures[index];
            const QString what = QString("%1 at %2").arg(picture.name).arg(picture.size);
            QSvgRenderer renderer(QString(KELVANE_ICONS_DIR "/%1.svg").arg(picture.name));
            QVERIFY2(renderer.isValid(), qPrintable(what));
            QImage expected(picture.size, picture.size, QImage::Format_ARGB32_Premultiplied);
            expected.fill(Qt::transparent);
            QPainter painter(&expected);
            renderer.render(&painter);
            painter.end();

            const QImage compiled = PictureIcon(picture.name)
                                        .pixmap(QSize(picture.size, picture.size))
                                        .toImage()
                                        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
            QCOMPARE(compiled.size(), expected.size());
            int opaque = 0;
            for (int y = 0; y < picture.size; ++y)
                for (int x = 0; x < picture.size; ++x) {
                    QVERIFY2(compiled.pixel(x, y) == expected.pixel(x, y),
                             qPrintable(QString("%1, pixel %2, %3").arg(what).arg(x).arg(y)));
                    opaque += qAlpha(expected.pixel(x, y)) == 255;
                }
            QVERIFY2(opaque > 0, qPrintable(what));
        }
        QVERIFY(PictureIcon("no such picture").isNull());
    }
};

QTEST_MAIN(IconResourcesTest)
#include "icon_resources_test.moc"
