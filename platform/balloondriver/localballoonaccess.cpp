#include "localballoonaccess.h"

#include "balloondriver.h"
#include "component/buttons.h"
#include "ownwindow.h"

#include <QApplication>
#include <QEvent>
#include <QWidget>

#include <algorithm>

namespace balloondriver
{

namespace
{

bool mayBeBalloon(const QWidget *w)
{
    const Qt::WindowType type = w->windowType();
    return w->isWindow() && w->isVisible() && !isOwnWindow(w) && type != Qt::ToolTip && type != Qt::Popup;
}

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

QString pressNumbered(QWidget *balloon, int number)
{
    const component::ButtonCaption *caption = component::findButtonCaption(number);
    if (!caption) return QStringLiteral("button %1 is not in the button table").arg(number);
    return BalloonDriver::pressButtonCaptioned(balloon,
                                               {fromView(caption->english), fromView(caption->russian)});
}

} // namespace

LocalBalloonAccess::LocalBalloonAccess()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->isVisible()) noteShown(w);
    qApp->installEventFilter(this);
}

LocalBalloonAccess::~LocalBalloonAccess()
{
    if (qApp) qApp->removeEventFilter(this);
}

bool LocalBalloonAccess::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Show && watched->isWidgetType()) {
        auto *w = static_cast<QWidget *>(watched);
        if (w->isWindow()) noteShown(w);
    }
    return false;
}

void LocalBalloonAccess::noteShown(QWidget *window)
{
    std::erase_if(showings_, [window](const Showing &s) {
        return !s.window || s.window == window || !s.window->isVisible();
    });
    showings_.push_back({window, next_++});
}

QWidget *LocalBalloonAccess::window(int balloon) const
{
    for (const Showing &s : showings_)
        if (s.number == balloon && s.window && s.window->isVisible()) return s.window;
    return nullptr;
}

int LocalBalloonAccess::balloonOnScreen()
{
    for (auto s = showings_.rbegin(); s != showings_.rend(); ++s)
        if (s->window && mayBeBalloon(s->window)) return s->number;
    return 0;
}

QString LocalBalloonAccess::answer(int balloon, const RecordedAnswer &answer)
{
    const QPointer<QWidget> w = window(balloon);
    if (!w) return QStringLiteral("it is no longer on the screen");
    QString error;
    if (!answer.text.isEmpty()) error = BalloonDriver::replaceText(w, answer.text);
    if (error.isEmpty() && answer.label >= 0) error = BalloonDriver::toggleLabelOn(w, answer.label);
    if (error.isEmpty() && answer.button != 0) error = pressNumbered(w, answer.button);
    // Closing is how a person answers 0; after a fault it keeps things going.
    if ((!error.isEmpty() || answer.button == 0) && w && w->isVisible()) w->close();
    return error;
}

void LocalBalloonAccess::close(int balloon)
{
    if (QWidget *w = window(balloon)) w->close();
}

} // namespace balloondriver
