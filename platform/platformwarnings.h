// The offscreen platform cannot raise a window or cut it to a mask and says
// so on every request; the balloon asks for both (the mask still holds the
// outline, which the verify kit reads). Those two lines say nothing about the
// run, so they are dropped; everything else goes on to the handler in place.
// The programs and the component host both drop them.
#pragma once

#include <QString>

namespace platform
{

void dropUnsupportedFeatureWarnings();

// Whether a message is one of the two; uncategorised messages only.
bool isUnsupportedFeatureWarning(const char *category, const QString &message);

} // namespace platform
