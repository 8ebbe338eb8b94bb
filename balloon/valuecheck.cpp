#include "valuecheck.h"

Q_LOGGING_CATEGORY(lcBalloon, "balloon.component")

namespace balloon
{

using namespace component;

namespace
{

QString hexText(uint32_t v, int digits)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(v, digits, 16, QLatin1Char('0')).toUpper();
}

QString shown(const IntRange &range, int32_t v)
{
    if (range.hex && v >= 0) return hexText(uint32_t(v), 6);
    return QString::number(v);
}

QString allowed(const IntRange &range)
{
    if (range.high - range.low == range.step)
        return QStringLiteral("%1 or %2").arg(shown(range, range.low), shown(range, range.high));
    return QStringLiteral("%1 to %2").arg(shown(range, range.low), shown(range, range.high));
}

DispatchError detailed(DispatchError stock, const QString &detail)
{
    stock.description += QStringLiteral(": ") + detail;
    return stock;
}

} // namespace

DispatchError outOfRange(const QString &what, const IntRange &range, int32_t value)
{
    return detailed(
        error::invalidValue(),
        QStringLiteral("%1 must be %2 and was %3").arg(what, allowed(range), shown(range, value)));
}

DispatchError wrongType(const QString &what, const QString &wanted, ValueType came)
{
    return detailed(error::typeMismatch(),
                    QStringLiteral("%1 must be %2 and was %3").arg(what, wanted, typePhrase(came)));
}

DispatchError wrongCount(const QString &what, const QString &wanted, size_t count)
{
    return detailed(error::wrongArgCount(),
                    QStringLiteral("%1 takes %2 and was given %3").arg(what, wanted).arg(count));
}

DispatchError unsupported(const QString &why)
{
    return detailed(error::notSupported(), why);
}

QString typePhrase(ValueType type)
{
    if (type == ValueType::Empty) return QStringLiteral("empty");
    const QString name = QString::fromLatin1(typeName(type));
    const bool vowel = QStringLiteral("AEIOU").contains(name.front());
    return (vowel ? QStringLiteral("an ") : QStringLiteral("a ")) + name;
}

QString idText(DispId id)
{
    return hexText(uint32_t(id), 8);
}

} // namespace balloon
