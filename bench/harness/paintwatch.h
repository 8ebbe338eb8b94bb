#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QObject>
#include <QWidget>

// Installed on the application: notes when the watched window, or anything
// inside it, is painted.
class PaintWatch : public QObject
{
  public:
    QWidget *watched = nullptr;
    bool painted = false;
    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && watched &&
            (object == watched || watched->isAncestorOf(qobject_cast<QWidget *>(object))))
            painted = true;
        return false;
    }
};

// Runs the event loop until done() holds, for at most ten seconds; returns
// the milliseconds since `timer` started.
template <typename Done> double msUntil(const QElapsedTimer &timer, Done done)
{
    while (!done() && timer.elapsed() < 10000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    return double(timer.nsecsElapsed()) / 1e6;
}
