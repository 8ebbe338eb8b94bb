// How big a balloon is: as wide as its content up to a readable measure, as
// tall as its content up to the room beside the character, with the text and the label list
// scrolling when they do not fit.
#include "balloonshape.h"
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

constexpr int minimumContentWidth = 160;
constexpr int inputWidth = 260;
constexpr int visibleLabelRows = 10;
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
    int wanted = minimumContentWidth;
    if (heading_ && !heading_->isHidden()) {
        const int iconRoom = icon_ ? IconWidget::iconSize + 8 : 0;
        wanted = std::max(wanted,
                          iconRoom + QFontMetrics(heading_->font()).horizontalAdvance(heading_->text()) + 2);
    }
    if (text_)
        wanted =
            std::max(wanted, measureText(feeder_->shaped(), text_->font(), readable, maxHeight).size.width() +
                                 textSlack);
    if (input_) wanted = std::max(wanted, inputWidth);
    if (labels_) {
        const int chrome = labels_->verticalScrollBar()->sizeHint().width() + 16;
        wanted = std::max(wanted, widestLabel(*labels_->model(), labels_->fontMetrics()) + chrome);
    }
    wanted = std::min(wanted, readable);
    if (!buttons_.isEmpty()) {
        int row = 0;
        for (const QPushButton *b : buttons_)
            row += b->sizeHint().width() + 6;
        wanted = std::max(wanted, row);
    }
    return std::min(wanted, widest);
}

int BalloonWidget::layOutHeights(int width, int available)
{
    int fixed = 0;
    int rows = 0;
    if (icon_ || heading_) {
        const int iconRoom = icon_ ? IconWidget::iconSize + 8 : 0;
        const int headingHeight =
            heading_ && !heading_->isHidden() ? heading_->heightForWidth(width - iconRoom) : 0;
        fixed += std::min(std::max(icon_ ? IconWidget::iconSize : 0, headingHeight), available / 4);
        ++rows;
    }
    if (separator_) {
        fixed += separator_->height();
        ++rows;
    }
    if (input_) {
        fixed += input_->sizeHint().height();
        ++rows;
    }
    if (!buttons_.isEmpty()) {
        fixed += buttons_.first()->sizeHint().height();
        ++rows;
    }
    rows += (text_ ? 1 : 0) + (labels_ ? 1 : 0);
    fixed += layout_->spacing() * std::max(0, rows - 1);
    const int remaining = std::max(40, available - fixed);

    int rowHeight = 0;
    int labelsWanted = 0;
    if (labels_) {
        labels_->ensurePolished();
        rowHeight =
            labels_->model()->rowCount() > 0 ? labels_->sizeHintForRow(0) : fontMetrics().height() + 4;
        const int visible = std::clamp(int(request_.labels.size()), 1, visibleLabelRows);
        labelsWanted = visible * rowHeight + 2 * labels_->frameWidth();
    }
    const int textWanted =
        text_ ? measureText(feeder_->shaped(), text_->font(), width, remaining).size.height() + textSlack : 0;

    int labelsHeight = labelsWanted;
    int textHeight = textWanted;
    if (textWanted + labelsWanted > remaining) {
        // Both scroll when needed; the list keeps a few rows at least.
        const int labelsFloor = std::min(labelsWanted, 3 * rowHeight + 8);
        labelsHeight = labels_ ? std::min(labelsWanted, std::max(remaining / 2, labelsFloor)) : 0;
        textHeight = std::min(textWanted, remaining - labelsHeight);
        labelsHeight = labels_ ? std::min(labelsWanted, remaining - textHeight) : 0;
    }
    if (text_) {
        text_->setFixedHeight(std::max(textHeight, 16));
        // A scroll bar shown while the view is still small would narrow it for
        // good and rewrap a text that fits: show one only when it cannot fit.
        text_->setVerticalScrollBarPolicy(textHeight < textWanted ? Qt::ScrollBarAsNeeded
                                                                  : Qt::ScrollBarAlwaysOff);
        text_->setFocusPolicy(textHeight < textWanted ? Qt::StrongFocus : Qt::NoFocus);
    }
    if (labels_) labels_->setFixedHeight(std::max(labelsHeight, rowHeight + 4));
    return fixed + (text_ ? std::max(textHeight, 16) : 0) +
           (labels_ ? std::max(labelsHeight, rowHeight + 4) : 0);
}

} // namespace balloon
