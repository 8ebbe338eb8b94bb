#include "balloonsettings.h"

#include "iconimage.h"
#include "valuecheck.h"

#include <component/colorref.h>

#include <array>

namespace balloon
{

using namespace component;

namespace
{

// A new instance starts from the defaults a host stores with it.
Value contractDefault(DispId id)
{
    for (const auto &[property, value] : defaultSettings)
        if (property == id) return value;
    return {};
}

// Every property once: the value a new instance holds before its stored
// settings are applied, and the integers it takes (none for the others).
struct Setting {
    DispId id;
    Value initial;
    std::optional<IntRange> range;
};

const std::array<Setting, BalloonSettings::count> settingTable{{
    {prop::Language, int32_t(Language::Russian), rangeOf(prop::Language)},
    {prop::LineSeparator, contractDefault(prop::LineSeparator), {}},
    {prop::ButtonCaptionColor, contractDefault(prop::ButtonCaptionColor), rangeOf(prop::ButtonCaptionColor)},
    {prop::ButtonColor, contractDefault(prop::ButtonColor), rangeOf(prop::ButtonColor)},
    {prop::FrameColor, contractDefault(prop::FrameColor), rangeOf(prop::FrameColor)},
    {prop::LineColor, contractDefault(prop::LineColor), rangeOf(prop::LineColor)},
    {prop::TextColor, contractDefault(prop::TextColor), rangeOf(prop::TextColor)},
    {prop::CaptionColor, contractDefault(prop::CaptionColor), rangeOf(prop::CaptionColor)},
    {prop::Character, ObjectRef(), {}},
    {prop::BalloonPlace, contractDefault(prop::BalloonPlace), rangeOf(prop::BalloonPlace)},
    {prop::HAlignmentText, contractDefault(prop::HAlignmentText), rangeOf(prop::HAlignmentText)},
    {prop::VAlignmentCaption, contractDefault(prop::VAlignmentCaption), rangeOf(prop::VAlignmentCaption)},
    {prop::BalloonColor, contractDefault(prop::BalloonColor), rangeOf(prop::BalloonColor)},
    {prop::CustomIcon, Picture(), {}},
}};

const Setting *findSetting(DispId id)
{
    for (const Setting &s : settingTable)
        if (s.id == id) return &s;
    return nullptr;
}

QString nameOf(const PropertyInfo &p)
{
    return QString::fromLatin1(p.name.data(), qsizetype(p.name.size()));
}

// The value as the property's own type, or nothing when it cannot be one.
std::optional<Value> coerce(ValueType wanted, const Value &v)
{
    if (typeOf(v) == wanted) return v;
    if (wanted == ValueType::Int32)
        if (const std::optional<int32_t> n = asLong(v)) return Value(*n);
    return std::nullopt;
}

} // namespace

BalloonSettings::BalloonSettings()
{
    for (size_t i = 0; i < settingTable.size(); ++i)
        values_[i] = settingTable[i].initial;
}

const Value *BalloonSettings::find(DispId id) const
{
    const Setting *setting = findSetting(id);
    return setting ? &values_[size_t(setting - settingTable.data())] : nullptr;
}

void BalloonSettings::load(const NamedValues &stored)
{
    for (const auto &[key, value] : stored) {
        const PropertyInfo *p = findStoredProperty(key);
        if (!p) continue;
        if (const Result r = put(p->id, value); !r.ok())
            qCWarning(lcBalloon).noquote()
                << QStringLiteral("Stored setting \"%1\" ignored, the default holds. %2")
                       .arg(key, r.error().description);
    }
}

Result BalloonSettings::get(DispId id) const
{
    const Value *value = find(id);
    if (!value) return unsupported(QStringLiteral("no property %1").arg(idText(id)));
    return *value;
}

Result BalloonSettings::put(DispId id, const Value &value)
{
    const PropertyInfo *info = findProperty(id);
    const Setting *setting = findSetting(id);
    if (!info || !setting) return unsupported(QStringLiteral("no property %1").arg(idText(id)));
    std::optional<Value> v = coerce(info->type, value);
    if (!v) return wrongType(nameOf(*info), typePhrase(info->type), typeOf(value));
    if (const int32_t *n = std::get_if<int32_t>(&*v); n && setting->range && !setting->range->contains(*n))
        return outOfRange(nameOf(*info), *setting->range, *n);
    if (const Picture *picture = std::get_if<Picture>(&*v)) icon_ = drawableIcon(picture->image);
    values_[size_t(setting - settingTable.data())] = std::move(*v);
    return Value();
}

ObjectRef BalloonSettings::character() const
{
    if (const ObjectRef *o = std::get_if<ObjectRef>(find(prop::Character))) return *o;
    return {};
}

int32_t BalloonSettings::integer(DispId id) const
{
    return std::get<int32_t>(*find(id));
}

BalloonStyle BalloonSettings::style() const
{
    BalloonStyle s;
    s.language = static_cast<Language>(integer(prop::Language));
    s.lineSeparator = std::get<Bool>(*find(prop::LineSeparator)).value();
    s.balloon = colorFromRef(integer(prop::BalloonColor));
    s.frame = colorFromRef(integer(prop::FrameColor));
    s.caption = colorFromRef(integer(prop::CaptionColor));
    s.text = colorFromRef(integer(prop::TextColor));
    s.line = colorFromRef(integer(prop::LineColor));
    s.button = colorFromRef(integer(prop::ButtonColor));
    s.buttonCaption = colorFromRef(integer(prop::ButtonCaptionColor));
    s.place = static_cast<Place>(integer(prop::BalloonPlace));
    s.textAlignment = static_cast<HAlign>(integer(prop::HAlignmentText));
    s.captionAlignment = static_cast<VAlign>(integer(prop::VAlignmentCaption));
    s.customIcon = icon_;
    return s;
}

} // namespace balloon
