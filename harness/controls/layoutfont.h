// The one font of the whole program. The fixed layout was drawn for a small,
// narrow UI font: a condensed face at the layout's size keeps every caption
// inside its control (DejaVu Sans Condensed, from fonts-dejavu-extra).
#pragma once

#include <QFont>

namespace harness
{

QFont layoutFont();

} // namespace harness
