#include "textmeasure.h"

#include <QTextLayout>

#include <algorithm>
#include <cmath>

namespace balloon
{

namespace
{

// Paragraphs longer than this are measured by their start only: past a
// screenful nothing about the rest changes the result.
constexpr qsizetype measuredParagraphLimit = 64 * 1024;

struct ParagraphExtent {
    qreal width = 0;
    qreal height = 0;
};

ParagraphExtent layoutParagraph(const QString &paragraph, const QFont &font, int maxWidth, qreal budget)
{
    QTextLayout layout(paragraph.left(measuredParagraphLimit), font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    ParagraphExtent extent;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(maxWidth);
        extent.width = std::max(extent.width, line.naturalTextWidth());
        extent.height += line.height();
        if (extent.height > budget) break;
    }
    layout.endLayout();
    if (paragraph.size() > measuredParagraphLimit) extent.height = std::max(extent.height, budget + 1);
    return extent;
}

} // namespace

TextExtent measureText(const QString &text, const QFont &font, int maxWidth, int maxHeight)
{
    TextExtent result;
    if (text.isEmpty() || maxWidth <= 0) return result;
    qreal width = 0;
    qreal height = 0;
    qsizetype start = 0;
    while (start <= text.size() && height <= maxHeight) {
        qsizetype end = text.indexOf(QLatin1Char('\n'), start);
        if (end < 0) end = text.size();
        const ParagraphExtent p =
            layoutParagraph(text.mid(start, end - start), font, maxWidth, maxHeight - height);
        width = std::max(width, p.width);
        height += p.height;
        start = end + 1;
    }
    result.overflows = height > maxHeight;
    result.size = QSize(int(std::ceil(width)), std::min(int(std::ceil(height)), maxHeight));
    return result;
}

} // namespace balloon
