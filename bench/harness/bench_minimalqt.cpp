// The floor of a Qt Widgets program here: show one window. By default it
// quits on the first turn of the event loop, as the harness does with
// --quit-when-ready; with HARNESS_EXIT_AFTER_FIRST_PAINT=1 it ends after the
// window's first paint, exactly as the harness is timed.
// With --with-text the window holds one button, so the program also pays for
// the font database, as every program that shows text does.
#include "harness/app/firstpaintexit.h"

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <QWidget>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    harness::exitAfterFirstPaintIfAsked();
    QWidget window;
    window.resize(507, 448);
    if (app.arguments().contains(QLatin1String("--with-text")))
        new QPushButton(QStringLiteral("OK"), &window);
    window.show();
    if (qEnvironmentVariableIsEmpty("HARNESS_EXIT_AFTER_FIRST_PAINT"))
        QTimer::singleShot(0, &app, &QCoreApplication::quit);
    return app.exec();
}
