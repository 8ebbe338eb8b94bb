// The floor of a Qt Widgets program here: show one window, then quit on the
// first turn of the event loop, as the harness does with --quit-when-ready.
// With --with-text the window holds one button, so the program also pays for
// the font database, as every program that shows text does.
#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    QWidget window;
    window.resize(507, 448);
    if (app.arguments().contains(QStringLiteral("--with-text")))
        new QPushButton(QStringLiteral("OK"), &window);
    window.show();
    QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
