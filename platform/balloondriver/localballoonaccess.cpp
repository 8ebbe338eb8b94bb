#include "localballoonaccess.h"

#include "balloondriver.h"
#include "component/buttons.h"

#include <QWidget>

namespace balloondriver
{

namespace
{

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

int LocalBalloonAccess::balloonOnScreen()
{
    const QList<int> balloons = showings_.balloonsSince(0);
    return balloons.isEmpty() ? 0 : balloons.last();
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
