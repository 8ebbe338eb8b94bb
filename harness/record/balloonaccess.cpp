#include "balloonaccess.h"

#include "component/buttons.h"

#include <QAccessible>
#include <QApplication>
#include <QWidget>

#include <functional>

namespace harness::record
{

namespace
{

QString fromView(std::string_view s)
{
    return QString::fromUtf8(s.data(), qsizetype(s.size()));
}

// Every descendant of an interface with this role, in tree order.
void collect(QAccessibleInterface *node, QAccessible::Role role, QList<QAccessibleInterface *> &found,
             int depth = 0)
{
    if (!node || depth > 32) return;
    for (int i = 0; i < node->childCount(); ++i) {
        QAccessibleInterface *child = node->child(i);
        if (!child) continue;
        if (child->role() == role) found << child;
        collect(child, role, found, depth + 1);
    }
}

QList<QAccessibleInterface *> descendants(QWidget *balloon, QAccessible::Role role)
{
    QList<QAccessibleInterface *> found;
    collect(QAccessible::queryAccessibleInterface(balloon), role, found);
    return found;
}

bool doAction(QAccessibleInterface *node, const QString &action)
{
    QAccessibleActionInterface *actions = node->actionInterface();
    if (!actions || !actions->actionNames().contains(action)) return false;
    actions->doAction(action);
    return true;
}

bool pressButton(QWidget *balloon, int number, QString *why)
{
    const component::ButtonCaption *caption = component::findButtonCaption(number);
    if (!caption) {
        *why = QStringLiteral("button %1 is not in the button table").arg(number);
        return false;
    }
    const QStringList names{fromView(caption->english), fromView(caption->russian)};
    for (QAccessibleInterface *button : descendants(balloon, QAccessible::Button)) {
        if (!names.contains(button->text(QAccessible::Name))) continue;
        if (doAction(button, QAccessibleActionInterface::pressAction())) return true;
        *why = QStringLiteral("its button \"%1\" cannot be pressed").arg(names[0]);
        return false;
    }
    *why = QStringLiteral("it has no button \"%1\"").arg(names[0]);
    return false;
}

bool typeText(QWidget *balloon, const QString &text, QString *why)
{
    // The message itself may be shown as read-only editable text.
    for (QAccessibleInterface *input : descendants(balloon, QAccessible::EditableText)) {
        if (input->state().readOnly) continue;
        input->setText(QAccessible::Value, text);
        return true;
    }
    *why = QStringLiteral("it has no input field for the text");
    return false;
}

bool selectLabel(QWidget *balloon, int index, QString *why)
{
    const QList<QAccessibleInterface *> lists = descendants(balloon, QAccessible::List);
    QList<QAccessibleInterface *> items;
    if (!lists.isEmpty()) collect(lists.first(), QAccessible::ListItem, items);
    if (index >= items.size()) {
        *why = QStringLiteral("it has no label %1").arg(index);
        return false;
    }
    if (items[index]->state().selected) return true;
    if (doAction(items[index], QAccessibleActionInterface::toggleAction())) return true;
    *why = QStringLiteral("its label %1 cannot be selected").arg(index);
    return false;
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
    const bool ok = (answer.text.isEmpty() || typeText(balloon, answer.text, why)) &&
                    (answer.label < 0 || selectLabel(balloon, answer.label, why)) &&
                    (answer.button == 0 || pressButton(balloon, answer.button, why));
    // Closing is how a person answers 0; after a fault it keeps the replay going.
    if ((!ok || answer.button == 0) && balloon->isVisible()) balloon->close();
    return ok;
}

} // namespace harness::record
