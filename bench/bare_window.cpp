// SPDX-License-Identifier: MIT
// The yardstick of the start-up benchmarks: a bare Qt main window of the same
// size that ends after its first paint. With --text it also has a menu bar
// and lines of fixed-pitch text like the summary's, so that it pays for the
// fonts as the desktop program does.
#include "platform/qt/first_paint_watch.h"

#include <QApplication>
#include <QFontDatabase>
#include <QLabel>
#include <QMainWindow>
#include <QMenuBar>

#include <cstring>

int main(int argc, char** argv) {
    const bool withText = argc > 1 && std::strcmp(argv[1], "--text") == 0;
    QApplication application(argc, argv);
    QMainWindow window;
    QWidget* client = nullptr;
    if (withText) {
        window.menuBar()->addMenu("&File");
        window.menuBar()->addMenu("&Help");
        auto* label = new QLabel("Opened project: big\n\n    Target system: talvexNOVA(KV4021)\n\n"
                                 "FSP file: /tmp/big.fsp\nFSR file: big.fsr\nUER file: big.uer\n"
                                 "SBU file: big.sbu\nMCR file: big.mcr");
        QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
        font.setPixelSize(15);
        label->setFont(font);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        client = label;
    } else {
        client = new QWidget;
    }
    window.setCentralWidget(client);
    window.resize(600, 300);
    kelvane::FirstPaintWatch quitOnPaint(kelvane::ReportFirstPaintAndQuit);
    client->installEventFilter(&quitOnPaint);
    window.show();
    return application.exec();
}
