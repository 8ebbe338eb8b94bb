// Properties written and read back across their documented range, and
// out-of-range message arguments refused with error 380.
#include "checks.h"

namespace harness::verify
{

using namespace component;

namespace
{

struct PropertyRange {
    DispId id;
    QList<Value> values; // each written, then read back
};

QList<Value> longs(std::initializer_list<int32_t> values)
{
    QList<Value> list;
    for (int32_t v : values)
        list.append(Value(v));
    return list;
}

QList<PropertyRange> propertyRanges()
{
    const QList<Value> colours = longs({0x000000, 0xFFFFFF, 0x0080FF, 0x123456});
    return {
        {prop::BalloonColor, colours},
        {prop::FrameColor, colours},
        {prop::LineColor, colours},
        {prop::TextColor, colours},
        {prop::CaptionColor, colours},
        {prop::ButtonColor, colours},
        {prop::ButtonCaptionColor, colours},
        {prop::HAlignmentText, longs({0, 1, 2})},
        {prop::VAlignmentCaption, longs({0, 1, 2})},
        {prop::BalloonPlace, longs({0, 1, 2, 3, 4})},
        {prop::Language, longs({100, 200})},
        {prop::LineSeparator, {Value(Bool::of(false)), Value(Bool::of(true))}},
        {prop::CustomIcon, {Value(verifyPicture())}},
    };
}

bool sameValue(const Value &written, const Value &read)
{
    // A picture may come back as a copy from elsewhere: the pixels count.
    const auto *a = std::get_if<Picture>(&written);
    const auto *b = std::get_if<Picture>(&read);
    if (a || b)
        return a && b &&
               a->image.convertToFormat(QImage::Format_ARGB32) ==
                   b->image.convertToFormat(QImage::Format_ARGB32);
    return written == read;
}

Outcome roundTrip(CheckedInstance &session, const PropertyRange &range)
{
    const PropertyInfo *info = findProperty(range.id);
    const QString name = QString::fromLatin1(info->name.data(), qsizetype(info->name.size()));
    Verdict verdict;
    for (const Value &value : range.values) {
        const bool byRef = info->type == ValueType::Picture || info->type == ValueType::Object;
        const Result put = byRef ? session.putRef(range.id, value) : session.put(range.id, value);
        const QString shown = describe(Result(value));
        if (!verdict.expect(put.ok(), QStringLiteral("%1 = %2 accepted").arg(name, shown), describe(put)))
            break;
        const Result read = session.get(range.id);
        if (!verdict.expect(read.ok() && sameValue(value, read.value()),
                            QStringLiteral("%1 read back as %2").arg(name, shown), describe(read)))
            break;
    }
    return verdict.outcome();
}

struct OutOfRange {
    QString argument;
    int32_t Message::*field;
    QList<int32_t> values;
};

// Refused with error 380 and nothing shown. A balloon that shows anyway is
// dismissed so the check ends.
Outcome refused(CheckedInstance &session, Method method, const OutOfRange &range)
{
    Verdict verdict;
    for (int32_t value : range.values) {
        Message message;
        message.method = method;
        message.*range.field = value;
        const Shown shown = session.showModal(message, &BalloonDriver::dismiss);
        const QString what = QStringLiteral("%1 %2").arg(range.argument).arg(value);
        const bool error380 =
            !shown.result.ok() && shown.result.error().number == error::InvalidPropertyValue;
        if (!verdict.expect(error380, QStringLiteral("error 380 for %1").arg(what), describe(shown.result)))
            break;
        if (!verdict.expect(!shown.appeared, QStringLiteral("nothing shown for %1").arg(what),
                            QStringLiteral("a window")))
            break;
    }
    return verdict.outcome();
}

} // namespace

void addPropertyChecks(QList<Check> &checks)
{
    for (const PropertyRange &range : propertyRanges()) {
        const std::string_view name = findProperty(range.id)->name;
        checks.append({QStringLiteral("property.") + QLatin1String(name.data(), qsizetype(name.size())),
                       [range](CheckedInstance &s) { return roundTrip(s, range); }});
    }
    const QList<OutOfRange> ranges{
        {QStringLiteral("IconType"), &Message::iconType, {-1, 7}},
        {QStringLiteral("MsgType"), &Message::msgType, {-1, 2}},
        {QStringLiteral("ButtonsType"), &Message::buttonsType, {-1, 15}},
    };
    for (Method method : allMethods)
        for (const OutOfRange &range : ranges)
            checks.append({QStringLiteral("range.%1.%2").arg(methodName(method), range.argument),
                           [method, range](CheckedInstance &s) { return refused(s, method, range); }});
}

} // namespace harness::verify
