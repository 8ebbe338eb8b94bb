#include "layoutfont.h"

#include "controltable.h"

namespace harness
{

QFont layoutFont()
{
    QFont font(QStringLiteral("DejaVu Sans Condensed"));
    font.setPointSizeF(LayoutFontPointSize);
    return font;
}

} // namespace harness
