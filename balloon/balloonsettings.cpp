#include "balloonsettings.h"

#include <component/colorref.h>

#include <array>

namespace balloon
{

using namespace component;

namespace
{

// Values a new instance holds before its stored settings are applied; the
// same as the settings a hosting window stores by default.
const std::array<std::pair<DispId, Value>, 14> defaults{{
    {prop::Language, int32_t(100)},
    {prop::LineSeparator, Bool::of(true)},
    {prop::ButtonCaptionColor, int32_t(0x000000)},
    {prop::ButtonColor, int32_t(0xE1FFFF)},
    {prop::FrameColor, int32_t(0x4B4B4B)},
    {prop::LineColor, int32_t(0xE0E0E0)},
    {prop::TextColor, int32_t(0x000000)},
    {prop::CaptionColor, int32_t(0x000000)},
    {prop::Character, ObjectRef()},
    {prop::BalloonPlace, int32_t(0)},
    {prop::HAlignmentText, int32_t(0)},
    {prop::VAlignmentCaption, int32_t(2)},
    {prop::BalloonColor, int32_t(0xE1FFFF)},
    {prop::CustomIcon, Picture()},
}};

struct Range {
    DispId id;
    int32_t low;
    int32_t high;
};

constexpr int32_t maxColor = 0xFFFFFF;

const std::array<Range, 11> ranges{{
    {prop::ButtonCaptionColor, 0, maxColor},
    {prop::ButtonColor, 0, maxColor},
    {prop::FrameColor, 0, maxColor},
    {prop::LineColor, 0, maxColor},
    {prop::TextColor, 0, maxColor},
    {prop::CaptionColor, 0, maxColor},
    {prop::BalloonColor, 0, maxColor},
    {prop::BalloonPlace, 0, 4},
    {prop::HAlignmentText, 0, 2},
    {prop::VAlignmentCaption, 0, 2},
    {prop::Language, 100, 200},
}};

bool inRange(DispId id, int32_t v)
{
    if (id == prop::Language) return v == int32_t(Language::Russian) || v == int32_t(Language::English);
    for (const Range &r : ranges)
        if (r.id == id) return v >= r.low && v <= r.high;
    return true;
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
    for (const auto &[id, value] : defaults)
        values_.insert(id, value);
}

void BalloonSettings::load(const NamedValues &stored)
{
    for (const auto &[key, value] : stored) {
        const PropertyInfo *p = findStoredProperty(key);
        if (!p) continue;
        if (std::optional<Value> v = coerce(p->type, value)) values_.insert(p->id, *v);
    }
}

Result BalloonSettings::get(DispId id) const
{
    const auto it = values_.constFind(id);
    if (it == values_.constEnd()) return error::notSupported();
    return *it;
}

Result BalloonSettings::put(DispId id, const Value &value)
{
    const PropertyInfo *info = findProperty(id);
    if (!info) return error::notSupported();
    std::optional<Value> v = coerce(info->type, value);
    if (!v) return error::typeMismatch();
    if (const int32_t *n = std::get_if<int32_t>(&*v); n && !inRange(id, *n)) return error::invalidValue();
    values_.insert(id, *v);
    return Value();
}

ObjectRef BalloonSettings::character() const
{
    const Value v = values_.value(prop::Character);
    if (const ObjectRef *o = std::get_if<ObjectRef>(&v)) return *o;
    return {};
}

int32_t BalloonSettings::integer(DispId id) const
{
    const Value v = values_.value(id);
    if (const int32_t *n = std::get_if<int32_t>(&v); n && inRange(id, *n)) return *n;
    for (const auto &[defaultId, defaultValue] : defaults)
        if (defaultId == id) return std::get<int32_t>(defaultValue);
    return 0;
}

BalloonStyle BalloonSettings::style() const
{
    BalloonStyle s;
    s.language = static_cast<Language>(integer(prop::Language));
    const Value separator = values_.value(prop::LineSeparator);
    if (const Bool *b = std::get_if<Bool>(&separator)) s.lineSeparator = b->value();
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
    const Value icon = values_.value(prop::CustomIcon);
    if (const Picture *p = std::get_if<Picture>(&icon)) s.customIcon = p->image;
    return s;
}

} // namespace balloon
