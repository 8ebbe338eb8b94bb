#include "balloonaccessible.h"

#include "balloonwidget.h"
#include "iconwidget.h"

namespace balloon
{

namespace
{

QAccessibleInterface *balloonFactory(const QString &className, QObject *object)
{
    if (!object || !object->isWidgetType()) return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    if (className == QLatin1String(BalloonWidget::staticMetaObject.className()))
        return new BalloonAccessible(widget);
    // The icon is a picture to a screen reader, not an empty pane.
    if (className == QLatin1String(IconWidget::staticMetaObject.className()))
        return new QAccessibleWidget(widget, QAccessible::Graphic);
    return nullptr;
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
