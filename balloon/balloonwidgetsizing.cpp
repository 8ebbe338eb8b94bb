// The balloon's parts measured for its sizing (balloonsizing.h), and the
// heights it works out applied to the text and the label list.
#include "balloonshape.h"
#include "balloonsizing.h"
#include "balloonwidget.h"
#include "iconwidget.h"
#include "textfeeder.h"
#include "textmeasure.h"

#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>

#include <algorithm>

namespace balloon
{

namespace
{

// Labels past this many do not widen the balloon: the first screenfuls say
// enough, and measuring a hundred thousand would only cost time.
constexpr qsizetype measuredLabels = 500;
constexpr int textSlack = 4;

int widestLabel(const QAbstractItemModel &labels, const QFontMetrics &metrics)
{
    int widest = 0;
    const int n = int(std::min(qsizetype(labels.rowCount()), measuredLabels));
    for (int i = 0; i < n; ++i)
        widest = std::max(widest, metrics.horizontalAdvance(labels.index(i, 0).data().toString()));
    return widest;
}

} // namespace

QSize BalloonWidget::fitContent(QSize room)
{
    const QMargins padding = contentPadding(request_.shape);
    const int maxWidth = std::max(120, room.width() - padding.left() - padding.right());
    const int maxHeight = std::max(80, room.height() - padding.top() - padding.bottom() - tailLength);
    const int readable = std::min(maxWidth, std::clamp(fontMetrics().averageCharWidth() * 64, 240, 520));
    const int width = contentWidth(readable, maxWidth, maxHeight);
    const int height = layOutHeights(width, maxHeight);
    return {width + padding.left() + padding.right(), height + padding.top() + padding.bottom() + tailLength};
}

int BalloonWidget::contentWidth(int readable, int widest, int maxHeight) const
{
    WidthParts parts;
    parts.readable = readable;
    parts.room = widest;
    if (heading_ && !heading_->isHidden()) {
        const int iconRoom = icon_ ? IconWidget::iconSize + 8 : 0;
        parts.heading = iconRoom + QFontMetrics(heading_->font()).horizontalAdvance(heading_->text()) + 2;
    }
    if (text_)
        parts.text =
            measureText(feeder_->shaped(), text_->font(), readable, maxHeight).size.width() + textSlack;
    parts.input = input_ != nullptr;
    if (labels_) {
        const int chrome = labels_->verticalScrollBar()->sizeHint().width() + 16;
        parts.labels = widestLabel(*labels_->model(), labels_->fontMetrics()) + chrome;
    }
    for (const QPushButton *b : buttons_)
        parts.buttonRow += b->sizeHint().width() + 6;
    return balloon::contentWidth(parts);
}

int BalloonWidget::layOutHeights(int width, int available)
{
    HeightParts parts;
    parts.available = available;
    int rows = 0;
    if (icon_ || heading_) {
        const int iconRoom = icon_ ? IconWidget::iconSize + 8 : 0;
        const int headingHeight =
            heading_ && !heading_->isHidden() ? heading_->heightForWidth(width - iconRoom) : 0;
        parts.fixed += std::min(std::max(icon_ ? IconWidget::iconSize : 0, headingHeight), available / 4);
        ++rows;
    }
    if (separator_) {
        parts.fixed += separator_->height();
        ++rows;
    }
    if (input_) {
        parts.fixed += input_->sizeHint().height();
        ++rows;
    }
    if (!buttons_.isEmpty()) {
        parts.fixed += buttons_.first()->sizeHint().height();
        ++rows;
    }
    rows += (text_ ? 1 : 0) + (labels_ ? 1 : 0);
    parts.fixed += layout_->spacing() * std::max(0, rows - 1);

    if (labels_) {
        labels_->ensurePolished();
        parts.labels = true;
        parts.labelCount = int(request_.labels.size());
        parts.rowHeight =
            labels_->model()->rowCount() > 0 ? labels_->sizeHintForRow(0) : fontMetrics().height() + 4;
        parts.frameWidth = labels_->frameWidth();
    }
    if (text_) {
        parts.text = true;
        parts.textWanted =
            measureText(feeder_->shaped(), text_->font(), width, roomToShare(parts)).size.height() +
            textSlack;
    }

    const Heights heights = shareHeights(parts);
    if (text_) {
        text_->setFixedHeight(heights.text);
        // A scroll bar shown while the view is still small would narrow it for
        // good and rewrap a text that fits: show one only when it cannot fit.
        text_->setVerticalScrollBarPolicy(heights.textScrolls ? Qt::ScrollBarAsNeeded
                                                              : Qt::ScrollBarAlwaysOff);
        text_->setFocusPolicy(heights.textScrolls ? Qt::StrongFocus : Qt::NoFocus);
    }
    if (labels_) labels_->setFixedHeight(heights.labels);
    return heights.content;
}

} // namespace balloon
