#include "platformwarnings.h"

#include <QtGlobal>

#include <cstring>
#include <utility>

namespace platform
{

namespace
{

QtMessageHandler outerHandler = nullptr;

void dropWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type == QtWarningMsg && isUnsupportedFeatureWarning(context.category, message)) return;
    if (outerHandler) outerHandler(type, context, message);
}

} // namespace

bool isUnsupportedFeatureWarning(const char *category, const QString &message)
{
    if (category && std::strcmp(category, "default") != 0) return false;
    return message == QLatin1String("This plugin does not support raise()") ||
           message == QLatin1String("This plugin does not support setting window masks");
}

void dropUnsupportedFeatureWarnings()
{
    static bool installed = false;
    if (std::exchange(installed, true)) return;
    outerHandler = qInstallMessageHandler(dropWarnings);
}

} // namespace platform
