#include "programdescription.h"

namespace harness
{

const ProgramDescription &fennick()
{
    static const ProgramDescription d{
        QStringLiteral("fennick"),
        QString::fromUtf8(component::VellixClass.data(), qsizetype(component::VellixClass.size())),
        component::VellixMethods,
        QStringLiteral("Icons (*.ico)|*.ico"),
        QPoint(1260, 180),
        100,
    };
    return d;
}

const ProgramDescription &morrowby()
{
    static const ProgramDescription d{
        QStringLiteral("morrowby"),
        QString::fromUtf8(component::QuorvaneClass.data(), qsizetype(component::QuorvaneClass.size())),
        component::QuorvaneMethods,
        QStringLiteral("Файлы значков (**.ico)|*.ico"),
        QPoint(480, 540),
        200,
    };
    return d;
}

} // namespace harness
