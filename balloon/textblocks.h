// Shaping a message text into blocks that cost little to lay out, so that a
// huge text costs what the screen shows, not what the text holds.
//
// A text layout lays out a whole block at once, and looking for a word
// boundary in a block without one costs the square of its length; a text
// document with a million blocks costs seconds to build. So the text view
// gets blocks of at most blockLimit characters and blockLineLimit lines:
// in a text of more than sharedBlockLines lines, short paragraphs share a
// block, separated by line separators (U+2028; a text of fewer lines keeps
// its paragraphs, as screen readers read them), and a paragraph longer than
// pieceLimit is cut into pieces, at its last
// space before the limit where there is one near it (the space becomes the
// line break), else anywhere, though never inside a surrogate pair.
#pragma once

#include <QString>

namespace balloon
{

inline constexpr qsizetype pieceLimit = 2048;
inline constexpr qsizetype blockLimit = 4096;
inline constexpr int blockLineLimit = 256;
inline constexpr qsizetype sharedBlockLines = 1000;

// The text with '\n' between blocks and U+2028 between lines in a block.
// Line breaks in the text may be "\r\n", "\r" or "\n".
QString textBlocks(const QString &text);

// A heading or label as one line: line breaks and other control
// characters become spaces, and past limit characters it is cut with an
// ellipsis.
QString oneLine(const QString &text, qsizetype limit);

} // namespace balloon
