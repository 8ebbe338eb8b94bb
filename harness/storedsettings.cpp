#include "storedsettings.h"

namespace harness
{

component::NamedValues storedSettings(const ProgramDescription &program)
{
    using component::Bool;
    auto key = [](const char *k) { return QString::fromLatin1(k); };
    return {
        {key("_extentx"), int32_t(847)},
        {key("_extenty"), int32_t(847)},
        {key("ballooncolor"), int32_t(0x00E1FFFF)},
        {key("valignmentcaption"), int32_t(2)},
        {key("halignmenttext"), int32_t(0)},
        {key("balloonplace"), int32_t(0)},
        {key("captioncolor"), int32_t(0x00000000)},
        {key("textcolor"), int32_t(0x00000000)},
        {key("framecolor"), int32_t(0x004B4B4B)},
        {key("linecolor"), int32_t(0x00E0E0E0)},
        {key("lineseparator"), Bool::of(true)},
        {key("buttoncolor"), int32_t(0x00E1FFFF)},
        {key("buttoncaptioncolor"), int32_t(0x00000000)},
        {key("language"), program.storedLanguage},
    };
}

} // namespace harness
