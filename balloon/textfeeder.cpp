#include "textfeeder.h"

#include "textblocks.h"

#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTextCursor>

namespace balloon
{

namespace
{

// Where a chunk that starts at `from` ends: at the first line break past
// feedChunk characters, else at a space near there, else anywhere outside a
// surrogate pair. *skip: how many characters after the end the chunk break
// takes (the line break it replaces).
qsizetype chunkEnd(const QString &text, qsizetype from, qsizetype *skip)
{
    *skip = 0;
    const qsizetype wanted = from + feedChunk;
    if (text.size() <= wanted) return text.size();
    const qsizetype near = std::min(text.size(), wanted + pieceLimit);
    for (qsizetype i = wanted; i < near; ++i) {
        if (text[i] == QLatin1Char('\n')) {
            *skip = 1;
            return text[i - 1] == QLatin1Char('\r') ? i - 1 : i;
        }
        if (text[i] == QLatin1Char('\r')) {
            *skip = i + 1 < text.size() && text[i + 1] == QLatin1Char('\n') ? 2 : 1;
            return i;
        }
    }
    for (qsizetype i = wanted; i > wanted - pieceLimit / 4; --i)
        if (text[i] == QLatin1Char(' ')) {
            *skip = 1;
            return i;
        }
    return text[wanted - 1].isHighSurrogate() ? wanted - 1 : wanted;
}

} // namespace

TextFeeder::TextFeeder(QPlainTextEdit *view, const QString &text) : QObject(view), view_(view), text_(text)
{
    view_->document()->setUndoRedoEnabled(false); // appended chunks are no edits to undo
    shaped_ = nextChunk();
    view_->setPlainText(shaped_);
    if (!complete())
        connect(view_->verticalScrollBar(), &QScrollBar::valueChanged, this, &TextFeeder::feedIfNearEnd);
}

QString TextFeeder::nextChunk()
{
    qsizetype skip = 0;
    const qsizetype end = chunkEnd(text_, fed_, &skip);
    QString chunk = textBlocks(text_.mid(fed_, end - fed_));
    fed_ = end + skip;
    return chunk;
}

void TextFeeder::feedIfNearEnd()
{
    const QScrollBar *bar = view_->verticalScrollBar();
    if (complete() || bar->value() < bar->maximum() - bar->pageStep()) return;
    const QString chunk = QLatin1Char('\n') + nextChunk();
    QTextCursor cursor(view_->document());
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(chunk);
    if (complete()) disconnect(bar, nullptr, this, nullptr);
}

} // namespace balloon
