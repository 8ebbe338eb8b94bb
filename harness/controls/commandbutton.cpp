#include "commandbutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

namespace harness
{

CommandButton::CommandButton(const QString &caption, QWidget *parent) : QPushButton(caption, parent) {}

QRect CommandButton::captionRoom() const
{
    QStyleOptionButton option;
    initStyleOption(&option);
    // A caption that would touch the bevel reads as clipped: keep it clear.
    constexpr int Clearance = 2;
    return style()
        ->subElementRect(QStyle::SE_PushButtonContents, &option, this)
        .adjusted(Clearance, 0, -Clearance, 0);
}

int CommandButton::captionFlags() const
{
    const bool oneLine = fontMetrics().horizontalAdvance(text()) <= captionRoom().width();
    return Qt::AlignCenter | Qt::TextShowMnemonic | (oneLine ? Qt::TextSingleLine : Qt::TextWordWrap);
}

void CommandButton::paintEvent(QPaintEvent *event)
{
    if (captionFlags() & Qt::TextSingleLine) {
        QPushButton::paintEvent(event);
        return;
    }
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    painter.drawItemText(captionRoom(), captionFlags(), palette(), isEnabled(), text(), QPalette::ButtonText);
}

} // namespace harness
