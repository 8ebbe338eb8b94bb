// The floor of any Qt Widgets program here: show one window, then quit on the
// first turn of the event loop, as the harness does with --quit-when-ready.
#include <QApplication>
#include <QTimer>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(507, 448);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
