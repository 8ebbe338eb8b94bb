// The harness marks its own top-level windows (the main window, the
// character) so that a balloon driver tells a component's windows from them;
// a dialog opened on one of them is the harness's too. Header-only: anything
// that makes a window can mark it.
#pragma once

#include <QVariant>
#include <QWidget>

namespace balloondriver
{

inline constexpr char OwnWindowProperty[] = "balloonHarnessOwnWindow";

inline void markOwnWindow(QWidget *window)
{
    window->setProperty(OwnWindowProperty, true);
}

inline bool isOwnWindow(const QWidget *window)
{
    for (const QWidget *w = window; w; w = w->parentWidget())
        if (w->property(OwnWindowProperty).toBool()) return true;
    return false;
}

} // namespace balloondriver
