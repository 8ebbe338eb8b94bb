// How much room a message text needs when wrapped at a given width.
#pragma once

#include <QFont>
#include <QSize>
#include <QString>

namespace balloon
{

struct TextExtent {
    QSize size;             // widest line and total height, height capped
    bool overflows = false; // the text is taller than the cap
};

// Wraps at word boundaries, or anywhere inside a word longer than a line,
// the way the balloon's text view does. Stops as soon as the height passes
// maxHeight, so a huge text costs no more than a screenful.
TextExtent measureText(const QString &text, const QFont &font, int maxWidth, int maxHeight);

} // namespace balloon
