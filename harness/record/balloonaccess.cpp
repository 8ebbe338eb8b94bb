#include "balloonaccess.h"

#include "component/buttons.h"
#include "platform/balloondriver/balloondriver.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

namespace harness::record
{

namespace
{

using balloondriver::BalloonDriver;

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Empty on success, else why; the caption is looked up in either language.
QString pressButton(QWidget *balloon, int number)
{
    const component::ButtonCaption *caption = component::findButtonCaption(number);
    if (!caption) return QStringLiteral("button %1 is not in the button table").arg(number);
    return BalloonDriver::pressButtonCaptioned(balloon,
                                               {fromView(caption->english), fromView(caption->russian)});
}

} // namespace

QWidget *balloonOnScreen()
{
    for (QWidget *w : QApplication::topLevelWidgets()) {
        if (!w->isVisible()) continue;
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        if (iface && iface->role() == QAccessible::AlertMessage) return w;
    }
    return nullptr;
}

bool answerBalloon(QWidget *balloon, const BalloonAnswer &answer, QString *why)
{
    QString error;
    if (!answer.text.isEmpty()) error = BalloonDriver::replaceText(balloon, answer.text);
    if (error.isEmpty() && answer.label >= 0) error = BalloonDriver::toggleLabelOn(balloon, answer.label);
    if (error.isEmpty() && answer.button != 0) error = pressButton(balloon, answer.button);
    const bool ok = error.isEmpty();
    if (!ok) *why = error;
    // Closing is how a person answers 0; after a fault it keeps the replay going.
    if ((!ok || answer.button == 0) && balloon->isVisible()) balloon->close();
    return ok;
}

} // namespace harness::record
