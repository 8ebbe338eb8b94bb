#include "textblocks.h"

#include <algorithm>

namespace balloon
{

namespace
{

// Where a piece of a long paragraph ends, and whether the character there
// is a space that the line break replaces.
struct Cut {
    qsizetype end;
    bool onSpace;
};

Cut cutPiece(const QString &text, qsizetype start, qsizetype paragraphEnd)
{
    const qsizetype limit = start + pieceLimit;
    if (paragraphEnd <= limit) return {paragraphEnd, false};
    for (qsizetype i = limit; i > limit - pieceLimit / 4; --i)
        if (text[i] == QLatin1Char(' ') || text[i] == QLatin1Char('\t')) return {i, true};
    qsizetype end = limit;
    if (text[end - 1].isHighSurrogate()) --end;
    return {end, false};
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\n') || c == QLatin1Char('\r');
}

class BlockWriter
{
  public:
    explicit BlockWriter(qsizetype reserve) { out_.reserve(reserve); }

    void addLine(QStringView line)
    {
        if (lines_ > 0 && (chars_ + line.size() > blockLimit || lines_ >= blockLineLimit)) {
            out_ += QLatin1Char('\n');
            chars_ = 0;
            lines_ = 0;
        } else if (lines_ > 0) {
            out_ += QChar::LineSeparator;
        }
        out_ += line;
        chars_ += line.size() + 1;
        ++lines_;
    }
    QString take() { return std::move(out_); }

  private:
    QString out_;
    qsizetype chars_ = 0;
    int lines_ = 0;
};

} // namespace

QString textBlocks(const QString &text)
{
    BlockWriter writer(text.size() + text.size() / pieceLimit + 1);
    qsizetype start = 0;
    while (true) {
        qsizetype end = start;
        while (end < text.size() && !isLineBreak(text[end]))
            ++end;
        for (qsizetype pos = start;;) {
            const Cut cut = cutPiece(text, pos, end);
            writer.addLine(QStringView(text).mid(pos, cut.end - pos));
            pos = cut.end + (cut.onSpace ? 1 : 0);
            if (pos >= end) break;
        }
        if (end >= text.size()) break;
        start = end + (text[end] == QLatin1Char('\r') && end + 1 < text.size() && text[end + 1] == QLatin1Char('\n') ? 2 : 1);
    }
    return writer.take();
}

QString oneLine(const QString &text, qsizetype limit)
{
    QString line = text.left(limit + 1);
    for (QChar &c : line)
        if (c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator)
            c = QLatin1Char(' ');
    if (line.size() <= limit) return line;
    line.truncate(limit);
    if (line.back().isHighSurrogate()) line.chop(1);
    return line + QChar(0x2026);
}

} // namespace balloon
