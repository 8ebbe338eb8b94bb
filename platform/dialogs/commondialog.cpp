#include "commondialog.h"

#include "component/colorref.h"

namespace dialogs
{

using namespace component;

namespace
{

// A description that already ends with its patterns in parentheses shows
// them once. Runs of '*' match what one does, so "(**.ico)" counts as "*.ico".
bool endsWithPatterns(const QString &description, const QString &patterns)
{
    if (!description.endsWith(QLatin1Char(')'))) return false;
    const qsizetype open = description.lastIndexOf(QLatin1Char('('));
    if (open < 0) return false;
    auto collapsed = [](QString s) {
        while (s.contains(QLatin1String("**")))
            s.replace(QLatin1String("**"), QLatin1String("*"));
        return s;
    };
    return collapsed(description.mid(open + 1, description.size() - open - 2)) == collapsed(patterns);
}

} // namespace

QString CommonDialog::toQtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // Qt reads the patterns from the last parentheses of the description.
        const QString suffix = QLatin1String(" (") + patterns + QLatin1Char(')');
        entries << (endsWithPatterns(parts[i], patterns) ? parts[i] : parts[i] + suffix);
    }
    return entries.join(QStringLiteral(";;"));
}

namespace
{

// A plain property: get returns the field, put replaces it.
template <typename T> Result property(T &field, CallKind kind, Args &args)
{
    if (kind == CallKind::PropertyGet)
        return args.empty() ? Result(Value(field)) : Result(error::wrongArgCount());
    if (kind != CallKind::PropertyPut) return error::notSupported();
    if (args.size() != 1) return error::wrongArgCount();
    const auto value = as<T>(args[0]);
    if (!value) return error::typeMismatch();
    field = *value;
    return {};
}

} // namespace

Result CommonDialog::invoke(DispId id, CallKind kind, Args &args)
{
    switch (id) {
    case member::DialogTitle:
        return property(title_, kind, args);
    case member::Filter:
        return property(filter_, kind, args);
    case member::FileName:
        return property(fileName_, kind, args);
    case member::Color:
        return property(color_, kind, args);
    case member::ShowOpen: {
        if (kind != CallKind::Method) return error::notSupported();
        const auto file = provider_.openFile(title_, toQtFilter(filter_), fileName_);
        fileName_ = file.value_or(QString());
        return {};
    }
    case member::ShowColor: {
        if (kind != CallKind::Method) return error::notSupported();
        if (const auto picked = provider_.pickColor(colorFromRef(color_))) color_ = colorRefFrom(*picked);
        return {};
    }
    default:
        return error::notSupported();
    }
}

} // namespace dialogs
