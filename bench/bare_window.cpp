// SPDX-License-Identifier: MIT
// The yardstick of the start-up benchmark: a bare Qt main window of the same
// size that ends after its first paint.
#include "platform/qt/first_paint_watch.h"

#include <QApplication>
#include <QMainWindow>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    window.resize(600, 300);
    kelvane::FirstPaintWatch quitOnPaint(kelvane::ReportFirstPaintAndQuit);
    client->installEventFilter(&quitOnPaint);
    window.show();
    return application.exec();
}
