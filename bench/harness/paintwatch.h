#pragma once

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
