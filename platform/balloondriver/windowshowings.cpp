#include "windowshowings.h"

#include "ownwindow.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

namespace balloondriver
{

bool mayBeBalloon(const QWidget *w)
{
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && w->isVisible() && !isOwnWindow(w) && type != Qt::ToolTip && type != Qt::Popup;
}

WindowShowings::WindowShowings()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible()) noteShown(w);
    qApp->installEventFilter(this);
}

WindowShowings::~WindowShowings()
{
    if (qApp) qApp->removeEventFilter(this);
}

bool WindowShowings::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow()) noteShown(w);
    }
    return false;
}

void WindowShowings::noteShown(QWidget *window)
{
    // Only showings still up can be asked about: the list stays short.
    std::erase_if(showings_, [window](const Showing &s) {
        return !s.window || s.window == window || !s.window->isVisible();
    });
    showings_.push_back({window, next_++});
}

QWidget *WindowShowings::window(int number) const
{
    for (const Showing &s : showings_)
        if (s.number == number && s.window && s.window->isVisible()) return s.window;
    return nullptr;
}

QList<int> WindowShowings::balloonsSince(int from) const
{
    QList<int> numbers;
    for (const Showing &s : showings_)
        if (s.number >= from && s.window && mayBeBalloon(s.window)) numbers.append(s.number);
    return numbers;
}

QList<QWidget *> WindowShowings::balloonWindowsSince(int from) const
{
    QList<QWidget *> windows;
    for (const int number : balloonsSince(from))
        windows.append(window(number));
    return windows;
}

} // namespace balloondriver
