#include "storedsettings.h"

namespace harness
{

using namespace component;

NamedValues storedSettings(const ProgramDescription &program)
{
    const auto key = [](DispId property) {
        const std::string_view k = findProperty(property)->storedKey;
        return QString::fromLatin1(k.data(), qsizetype(k.size()));
    };
    // 847 hundredths of a millimetre: 480 twips.
    NamedValues stored{{QStringLiteral("_extentx"), int32_t(847)},
                       {QStringLiteral("_extenty"), int32_t(847)}};
    for (const auto &[property, value] : defaultSettings)
        stored.emplace_back(key(property), value);
    stored.emplace_back(key(prop::Language), program.storedLanguage);
    return stored;
}

} // namespace harness
