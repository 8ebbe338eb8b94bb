#include "textblocks.h"

#include <algorithm>

namespace balloon
{

namespace
{

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

bool isSpace(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Control characters (U+0000..001F, U+007F..009F) and the Unicode line and
// paragraph separators.
bool breaksLine(QChar c)
{
    const char16_t u = c.unicode();
    return u < 0x20 || (u >= 0x7F && u < 0xA0) || u == 0x2028 || u == 0x2029;
}

// Writes blocks straight into a buffer sized for the worst case: every cut
// of a long paragraph adds at most one character.
class BlockWriter
{
  public:
    BlockWriter(qsizetype textSize, bool shareBlocks) : shareBlocks_(shareBlocks)
    {
        out_.resize(textSize + textSize / (pieceLimit / 2) + 2);
    }

    void addLine(const QChar *line, qsizetype size)
    {
        if (lines_ > 0) {
            const bool newBlock = !shareBlocks_ || chars_ + size > blockLimit || lines_ >= blockLineLimit;
            out_[at_++] = newBlock ? QChar(u'\n') : QChar::LineSeparator;
            if (newBlock) {
                chars_ = 0;
                lines_ = 0;
            }
        }
        std::copy_n(line, size, out_.data() + at_);
        at_ += size;
        chars_ += size + 1;
        ++lines_;
    }
    QString take()
    {
        out_.truncate(at_);
        return std::move(out_);
    }

  private:
    bool shareBlocks_;
    QString out_;
    qsizetype at_ = 0;
    qsizetype chars_ = 0;
    int lines_ = 0;
};

// Where the piece of a paragraph that starts at start ends, and whether a
// space there becomes the line break.
qsizetype pieceEnd(const QChar *text, qsizetype start, qsizetype paragraphEnd, bool *onSpace)
{
    *onSpace = false;
    const qsizetype limit = start + pieceLimit;
    if (paragraphEnd <= limit) return paragraphEnd;
    for (qsizetype i = limit; i > limit - pieceLimit / 4; --i)
        if (isSpace(text[i])) {
            *onSpace = true;
            return i;
        }
    return text[limit - 1].isHighSurrogate() ? limit - 1 : limit;
}

} // namespace

QString textBlocks(const QString &text)
{
    const auto lineBreaks = std::count_if(text.cbegin(), text.cend(), isLineBreak);
    BlockWriter writer(text.size(), lineBreaks > sharedBlockLines);
    const QChar *data = text.constData();
    const qsizetype size = text.size();
    qsizetype start = 0;
    while (true) {
        qsizetype end = start;
        while (end < size && !isLineBreak(data[end]))
            ++end;
        for (qsizetype pos = start;;) {
            bool onSpace = false;
            const qsizetype cut = pieceEnd(data, pos, end, &onSpace);
            writer.addLine(data + pos, cut - pos);
            pos = cut + (onSpace ? 1 : 0);
            if (pos >= end) break;
        }
        if (end >= size) break;
        const bool crlf =
            data[end] == QLatin1Char('\r') && end + 1 < size && data[end + 1] == QLatin1Char('\n');
        start = end + (crlf ? 2 : 1);
    }
    return writer.take();
}

QString oneLine(const QString &text, qsizetype limit)
{
    const QStringView kept = QStringView(text).left(limit);
    if (text.size() <= limit && std::none_of(kept.begin(), kept.end(), breaksLine)) return text;
    QString line = kept.toString();
    std::replace_if(line.begin(), line.end(), breaksLine, QChar(u' '));
    if (text.size() <= limit) return line;
    if (line.back().isHighSurrogate()) line.chop(1);
    return line + QChar(0x2026);
}

} // namespace balloon
