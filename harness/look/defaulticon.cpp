#include "defaulticon.h"

#include "pngresource.h"

namespace harness
{

component::Picture defaultCustomIcon()
{
    // PNG rather than an icon file, which needs Qt's icon plugin at start-up;
    // premultiplied, as the icon file was read.
    return {readPng(QStringLiteral(":/harness/customicon.png"))
                .convertToFormat(QImage::Format_ARGB32_Premultiplied),
            QStringLiteral("default")};
}

} // namespace harness
