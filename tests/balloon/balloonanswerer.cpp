#include "balloonanswerer.h"

#include <QAccessible>
#include <QApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTest>
#include <QWidget>

namespace
{

// Keys go where the keyboard focus is, as they would for a user.
QWidget *keyTarget(QWidget *balloon)
{
    QWidget *focus = balloon->focusWidget();
    return focus ? focus : balloon;
}

// Text arrives as an input method commits it, whole, the way emoji and
// right-to-left scripts are typed.
void commitText(QWidget *target, const QString &text)
{
    QInputMethodEvent event;
    event.setCommitString(text);
    QApplication::sendEvent(target, &event);
}

} // namespace

BalloonAnswerer::BalloonAnswerer(Action action)
    : answerer_(driver_, [action = std::move(action)](QWidget *balloon) {
          action(balloon);
          return QString();
      })
{
}

QWidget *BalloonAnswerer::findBalloon()
{
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String("vellixBalloon") && w->isVisible()) return w;
    return nullptr;
}

BalloonAnswerer::Action BalloonAnswerer::clickButton(const QString &keyName)
{
    return [keyName](QWidget *balloon) {
        if (auto *b = balloon->findChild<QPushButton *>(QStringLiteral("balloonButton") + keyName))
            QTest::mouseClick(b, Qt::LeftButton);
    };
}

BalloonAnswerer::Action BalloonAnswerer::pressAccessibly(const QString &keyName)
{
    return [keyName](QWidget *balloon) {
        auto *b = balloon->findChild<QPushButton *>(QStringLiteral("balloonButton") + keyName);
        QAccessibleInterface *button = b ? QAccessible::queryAccessibleInterface(b) : nullptr;
        if (QAccessibleActionInterface *actions = button ? button->actionInterface() : nullptr)
            actions->doAction(QAccessibleActionInterface::pressAction());
    };
}

BalloonAnswerer::Action BalloonAnswerer::pressKey(Qt::Key key)
{
    return [key](QWidget *balloon) { QTest::keyClick(keyTarget(balloon), key); };
}

BalloonAnswerer::Action BalloonAnswerer::typeThenKey(const QString &text, Qt::Key key)
{
    return [text, key](QWidget *balloon) {
        if (auto *input = balloon->findChild<QLineEdit *>(QStringLiteral("balloonInput"))) {
            commitText(input, text);
            QTest::keyClick(input, key);
        }
    };
}

BalloonAnswerer::Action BalloonAnswerer::typeThenClick(const QString &text, const QString &keyName)
{
    return [text, keyName](QWidget *balloon) {
        if (auto *input = balloon->findChild<QLineEdit *>(QStringLiteral("balloonInput")))
            commitText(input, text);
        clickButton(keyName)(balloon);
    };
}

BalloonAnswerer::Action BalloonAnswerer::keysInLabels(QList<Qt::Key> keys)
{
    return [keys](QWidget *balloon) {
        auto *list = balloon->findChild<QListView *>(QStringLiteral("balloonLabels"));
        for (Qt::Key key : keys)
            QTest::keyClick(list ? static_cast<QWidget *>(list) : balloon, key);
    };
}

BalloonAnswerer::Action BalloonAnswerer::clickBalloon()
{
    return [](QWidget *balloon) {
        // A point inside the body, clear of the content: the padding's middle.
        const QPoint inside(balloon->width() / 2, balloon->height() / 2);
        QWidget *target = balloon->childAt(inside);
        QTest::mouseClick(target ? target : balloon, Qt::LeftButton, {},
                          target ? target->mapFrom(balloon, inside) : inside);
    };
}
