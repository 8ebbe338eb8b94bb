#include "balloondriver.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

namespace balloondriver
{

namespace
{

constexpr int pollMs = 1;
constexpr int closeGraceMs = 3000; // a pressed balloon should be gone by then

bool isWindowOnScreen(const QWidget *w)
{
    const Qt::WindowType type = w->windowType();
    return w->isVisible() && type != Qt::ToolTip && type != Qt::Popup;
}

// The accessible object with `role` (and `name`, unless empty) below the balloon.
QAccessibleInterface *findAccessible(QWidget *balloon, QAccessible::Role role, const QString &name = {})
{
    for (QAccessibleInterface *node : accessibleDescendants(QAccessible::queryAccessibleInterface(balloon)))
        if (node->role() == role && (name.isEmpty() || node->text(QAccessible::Name) == name)) return node;
    return nullptr;
}

// The first text a user can type into (a read-only text is editable text too).
QAccessibleInterface *findInputField(QWidget *balloon)
{
    for (QAccessibleInterface *node : accessibleDescendants(QAccessible::queryAccessibleInterface(balloon)))
        if (node->role() == QAccessible::EditableText && !node->state().readOnly) return node;
    return nullptr;
}

QString press(QAccessibleInterface *button, const QString &what)
{
    QAccessibleActionInterface *actions = button->actionInterface();
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::pressAction()))
        return QStringLiteral("%1 offers no press action").arg(what);
    actions->doAction(QAccessibleActionInterface::pressAction());
    return {};
}

} // namespace

QStringList Sighting::namesWithRole(QAccessible::Role role) const
{
    QStringList names;
    for (const AccessibleNode &node : nodes)
        if (node.role == role) names.append(node.name);
    return names;
}

bool Sighting::hasInputField() const
{
    return std::any_of(nodes.begin(), nodes.end(), [](const AccessibleNode &n) {
        return n.role == QAccessible::EditableText && !n.readOnly;
    });
}

bool Sighting::hasName(const QString &name) const
{
    return windowName == name ||
           std::any_of(nodes.begin(), nodes.end(), [&](const AccessibleNode &n) { return n.name == name; });
}

QList<QWidget *> visibleWindows()
{
    QList<QWidget *> windows;
    for (QWidget *w : QApplication::topLevelWidgets())
        if (isWindowOnScreen(w)) windows.append(w);
    return windows;
}

QList<QAccessibleInterface *> accessibleDescendants(QAccessibleInterface *root)
{
    QList<QAccessibleInterface *> found;
    if (!root) return found;
    for (int i = 0; i < root->childCount(); ++i) {
        QAccessibleInterface *child = root->child(i);
        if (!child) continue;
        found.append(child);
        found.append(accessibleDescendants(child));
    }
    return found;
}

BalloonDriver::BalloonDriver() : firstNew_(showings_.next()) {}

QWidget *BalloonDriver::balloon() const
{
    const QList<QWidget *> windows = newWindows();
    return windows.isEmpty() ? nullptr : windows.last();
}

Sighting BalloonDriver::read(QWidget *balloon, bool withImage) const
{
    Sighting s;
    QAccessibleInterface *window = QAccessible::queryAccessibleInterface(balloon);
    if (window) {
        s.windowRole = window->role();
        s.windowName = window->text(QAccessible::Name);
    }
    for (QAccessibleInterface *node : accessibleDescendants(window))
        s.nodes.append({node->role(), node->text(QAccessible::Name), node->text(QAccessible::Value),
                        bool(node->state().readOnly)});
    s.geometry = balloon->frameGeometry();
    const QRegion mask = balloon->mask();
    s.region = mask.isEmpty() ? QRegion(s.geometry) : mask.translated(balloon->geometry().topLeft());
    if (withImage) s.image = balloon->grab().toImage();
    return s;
}

QString BalloonDriver::pressButton(QWidget *balloon, const QString &name)
{
    QAccessibleInterface *button = findAccessible(balloon, QAccessible::PushButton, name);
    if (!button) return QStringLiteral("no button named \"%1\"").arg(name);
    return press(button, QStringLiteral("button \"%1\"").arg(name));
}

QString BalloonDriver::pressFirstButton(QWidget *balloon)
{
    QAccessibleInterface *button = findAccessible(balloon, QAccessible::PushButton);
    if (!button) return QStringLiteral("no button");
    return press(button, QStringLiteral("the first button"));
}

QString BalloonDriver::typeText(QWidget *balloon, const QString &text)
{
    QAccessibleInterface *input = findInputField(balloon);
    if (!input) return QStringLiteral("no input field");
    if (QAccessibleEditableTextInterface *editable = input->editableTextInterface()) {
        const QAccessibleTextInterface *current = input->textInterface();
        editable->insertText(current ? current->characterCount() : 0, text);
    } else {
        input->setText(QAccessible::Value, input->text(QAccessible::Value) + text);
    }
    return {};
}

QString BalloonDriver::selectLabel(QWidget *balloon, int row)
{
    QAccessibleInterface *list = findAccessible(balloon, QAccessible::List);
    if (!list) return QStringLiteral("no list of labels");
    if (QAccessibleTableInterface *table = list->tableInterface()) {
        if (row >= table->rowCount()) return QStringLiteral("no label %1").arg(row);
        table->selectRow(row);
        return {};
    }
    QAccessibleInterface *item = list->child(row);
    if (!item || !item->actionInterface()) return QStringLiteral("label %1 cannot be selected").arg(row);
    item->actionInterface()->doAction(QAccessibleActionInterface::toggleAction());
    return {};
}

QString BalloonDriver::dismiss(QWidget *balloon)
{
    QWidget *focus = QApplication::focusWidget();
    QWidget *target = focus && focus->window() == balloon ? focus : balloon;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QPointer<QWidget> still(target);
    if (still) QApplication::sendEvent(still, &release);
    return {};
}

QString BalloonDriver::pressButtonCaptioned(QWidget *balloon, const QStringList &captions)
{
    const QString shown = captions.value(0);
    for (QAccessibleInterface *node : accessibleDescendants(QAccessible::queryAccessibleInterface(balloon))) {
        if (node->role() != QAccessible::PushButton || !captions.contains(node->text(QAccessible::Name)))
            continue;
        return press(node, QStringLiteral("button")).isEmpty()
                   ? QString()
                   : QStringLiteral("its button \"%1\" cannot be pressed").arg(shown);
    }
    return QStringLiteral("it has no button \"%1\"").arg(shown);
}

QString BalloonDriver::replaceText(QWidget *balloon, const QString &text)
{
    QAccessibleInterface *input = findInputField(balloon);
    if (!input) return QStringLiteral("it has no input field for the text");
    input->setText(QAccessible::Value, text);
    return {};
}

QString BalloonDriver::toggleLabelOn(QWidget *balloon, int row)
{
    QList<QAccessibleInterface *> items;
    if (QAccessibleInterface *list = findAccessible(balloon, QAccessible::List))
        for (QAccessibleInterface *node : accessibleDescendants(list))
            if (node->role() == QAccessible::ListItem) items.append(node);
    if (row < 0 || row >= items.size()) return QStringLiteral("it has no label %1").arg(row);
    QAccessibleInterface *item = items.at(row);
    if (item->state().selected) return {};
    QAccessibleActionInterface *actions = item->actionInterface();
    if (!actions || !actions->actionNames().contains(QAccessibleActionInterface::toggleAction()))
        return QStringLiteral("its label %1 cannot be selected").arg(row);
    actions->doAction(QAccessibleActionInterface::toggleAction());
    return {};
}

ModalAnswerer::ModalAnswerer(BalloonDriver &driver, Answer answer, bool withImage)
    : driver_(driver), answer_(std::move(answer)), withImage_(withImage)
{
    timer_.setInterval(pollMs);
    connect(&timer_, &QTimer::timeout, this, &ModalAnswerer::poll);
    timer_.start();
}

void ModalAnswerer::watch(std::function<void()> shown, std::function<void()> answered,
                          std::function<void()> closed)
{
    shown_ = std::move(shown);
    answered_ = std::move(answered);
    closed_ = std::move(closed);
}

void ModalAnswerer::noticeClosed()
{
    timer_.stop();
    if (closedNoticed_) return;
    closedNoticed_ = true;
    if (closed_) closed_();
}

void ModalAnswerer::poll()
{
    if (!appeared_) {
        QWidget *balloon = driver_.balloon();
        if (!balloon) return;
        appeared_ = true;
        balloon_ = balloon;
        if (shown_) shown_();
        sighting_ = driver_.read(balloon, withImage_);
        answerError_ = answer_(balloon);
        sinceAnswer_.start();
        if (answerError_.isEmpty() && answered_) answered_();
        // Unanswerable: nothing will close it, so do not wait for that.
        if (!answerError_.isEmpty() && balloon_) balloon_->close();
        // Told at once: a call that hangs from here on may never let this
        // timer run again.
        if (!balloon_ || !balloon_->isVisible()) noticeClosed();
        return;
    }
    if (!balloon_ || !balloon_->isVisible()) {
        noticeClosed();
        return;
    }
    if (sinceAnswer_.elapsed() > closeGraceMs) {
        forcedClose_ = true;
        balloon_->close();
        noticeClosed();
    }
}

} // namespace balloondriver
