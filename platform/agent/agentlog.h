#pragma once

#include <QLoggingCategory>

namespace agent
{
Q_DECLARE_LOGGING_CATEGORY(lcAgent)
}
