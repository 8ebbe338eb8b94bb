#include "balloonaccessible.h"

#include "balloonwidget.h"

namespace balloon
{

namespace
{

QAccessibleInterface *balloonFactory(const QString &className, QObject *object)
{
    if (className != QLatin1String(BalloonWidget::staticMetaObject.className()) || !object ||
        !object->isWidgetType())
        return nullptr;
    return new BalloonAccessible(static_cast<QWidget *>(object));
}

} // namespace

BalloonAccessible::BalloonAccessible(QWidget *balloon) : QAccessibleWidget(balloon, QAccessible::AlertMessage)
{
}

void installBalloonAccessibility()
{
    // Removed again when this copy of the code is unloaded with its plugin.
    struct Registration {
        Registration() { QAccessible::installFactory(balloonFactory); }
        ~Registration() { QAccessible::removeFactory(balloonFactory); }
    };
    static const Registration registration;
}

} // namespace balloon
