#include "accessibleframes.h"

#include <QAccessibleWidget>
#include <QWidget>

namespace harness
{
namespace
{

// Qt announces a plain top-level widget as a filler; screen readers look
// for windows, so the main window and the character are announced as such.
QAccessibleInterface *windowAsFrame(const QString &className, QObject *object)
{
    if (className != QLatin1String("QWidget") || !object || !object->isWidgetType()) return nullptr;
    auto *widget = static_cast<QWidget *>(object);
    const Qt::WindowType type = widget->windowType();
    if (!widget->isWindow() || (type != Qt::Window && type != Qt::Tool)) return nullptr;
    return new QAccessibleWidget(widget, QAccessible::Window);
}

} // namespace

void announceWindowsAsFrames()
{
    QAccessible::installFactory(&windowAsFrame);
}

} // namespace harness
