// The yardstick of the start-up benchmark: a bare Qt main window of the same
// size that ends after its first paint.
#include <QApplication>
#include <QMainWindow>
#include <QTimer>

namespace {

class QuitOnPaint : public QObject {
public:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QMainWindow window;
    auto* client = new QWidget(&window);
    window.setCentralWidget(client);
    window.resize(600, 300);
    QuitOnPaint quitOnPaint;
    client->installEventFilter(&quitOnPaint);
    window.show();
    return application.exec();
}
