// SPDX-License-Identifier: MIT
// The toolbar drawn in tiles looks exactly as the style draws it whole, and
// its first paint starts none of Qt's painting threads.
#include "app/qt/program_style.h"

#include <QApplication>
#include <QDir>
#include <QMainWindow>
#include <QStyleFactory>
#include <QToolBar>
#include <QtTest>

#include <memory>

using namespace kelvane;

namespace {

int ThreadsOfThisProcess() {
    return static_cast<int>(
        QDir("/proc/self/task").entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// A window with a toolbar along the top and one down the left side, both
// longer than a tile, painted with `style`.
QImage ToolBarsDrawnWith(QStyle* style) {
    QMainWindow window;
    window.setStyle(style);
    window.setCentralWidget(new QWidget);
    QToolBar* const top = window.addToolBar("Top");
    QToolBar* const left = new QToolBar("Left");
    window.addToolBar(Qt::LeftToolBarArea, left);
    for (QToolBar* bar : {top, left}) {
        bar->setStyle(style);
        bar->addAction("A");
    }
    window.resize(600, 300);
    return window.grab().toImage();
}

} // namespace

class ProgramStyleTest : public QObject {
    Q_OBJECT

private slots:
    // First, before anything in this process has painted.
    void drawsTheToolBarAsItsBaseStyleWithoutPaintingThreads() {
        const auto tiled = std::make_unique<ProgramStyle>(QStyleFactory::create("Fusion"));
        const auto whole = std::unique_ptr<QStyle>(QStyleFactory::create("Fusion"));
        QVERIFY(whole);

        const int threadsBefore = ThreadsOfThisProcess();
        const QImage drawnInTiles = ToolBarsDrawnWith(tiled.get());
        QCOMPARE(ThreadsOfThisProcess(), threadsBefore);

        // The base style's own drawing of the same window: the same pixels,
        // and the threads this style spares.
        const QImage drawnWhole = ToolBarsDrawnWith(whole.get());
        QVERIFY(ThreadsOfThisProcess() > threadsBefore);
        QCOMPARE(drawnInTiles.size(), QSize(600, 300));
        QVERIFY(drawnInTiles == drawnWhole);
    }
};

QTEST_MAIN(ProgramStyleTest)
#include "program_style_test.moc"
