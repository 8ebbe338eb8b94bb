#include "screenlayout.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

#include <cmath>

namespace harness::verify
{

namespace
{

// Far beyond any desktop; keeps sums of coordinates clear of overflow.
constexpr int coordinateLimit = 1 << 20;
constexpr qsizetype maxScreens = 16;
constexpr qint64 maxFileBytes = 1 << 20;

const char *const shippedNames[] = {"small",        "fullhd",       "uhd-scale2",
                                    "side-by-side", "stacked",      "portrait-landscape",
                                    "mixed-scale",  "offset-origin"};

bool validName(const QString &name)
{
    if (name.isEmpty() || name.size() > 40) return false;
    for (QChar c : name)
        if (!(c.isLetterOrNumber() && c.unicode() < 128) && c != QLatin1Char('-') && c != QLatin1Char('_'))
            return false;
    return true;
}

std::optional<int> coordinate(const QJsonObject &o, const char *key, int minimum)
{
    const QJsonValue v = o.value(QLatin1String(key));
    if (!v.isDouble()) return std::nullopt;
    const double d = v.toDouble();
    if (d != std::floor(d) || d < minimum || d > coordinateLimit || d < -coordinateLimit) return std::nullopt;
    return int(d);
}

} // namespace

QList<QRect> ScreenLayout::geometries() const
{
    QList<QRect> rects;
    for (const LayoutScreen &s : screens)
        rects.append(s.geometry);
    return rects;
}

std::optional<ScreenLayout> parseLayout(const QString &name, const QByteArray &json, QString *error)
{
    auto fail = [error](const QString &why) {
        *error = why;
        return std::nullopt;
    };
    if (!validName(name))
        return fail(
            QStringLiteral("the layout name \"%1\" is not a word of letters, digits, - and _").arg(name));
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(json, &parseError);
    if (doc.isNull()) return fail(QStringLiteral("not JSON: %1").arg(parseError.errorString()));
    const QJsonValue screens = doc.object().value(QLatin1String("screens"));
    if (!screens.isArray() || screens.toArray().isEmpty())
        return fail(QStringLiteral("no \"screens\" array with at least one screen"));
    if (screens.toArray().size() > maxScreens)
        return fail(QStringLiteral("more than %1 screens").arg(maxScreens));
    ScreenLayout layout{name, json, {}};
    for (const QJsonValue &value : screens.toArray()) {
        const QJsonObject o = value.toObject();
        const qsizetype index = layout.screens.size();
        const auto x = coordinate(o, "x", -coordinateLimit), y = coordinate(o, "y", -coordinateLimit);
        const auto width = coordinate(o, "width", 1), height = coordinate(o, "height", 1);
        if (!x || !y || !width || !height)
            return fail(QStringLiteral("screen %1: x, y, width and height must be whole numbers, the size "
                                       "at least 1 and each within %2")
                            .arg(index)
                            .arg(coordinateLimit));
        const double dpr = o.value(QLatin1String("dpr")).toDouble(1);
        if (!(dpr >= 1 && dpr <= 4)) return fail(QStringLiteral("screen %1: dpr must be 1 to 4").arg(index));
        const QRect geometry(*x, *y, *width, *height);
        for (const LayoutScreen &other : std::as_const(layout.screens))
            if (other.geometry.intersects(geometry))
                return fail(QStringLiteral("screen %1 overlaps screen %2")
                                .arg(index)
                                .arg(&other - layout.screens.data()));
        layout.screens.append({o.value(QLatin1String("name")).toString(), geometry, dpr});
    }
    return layout;
}

QList<ScreenLayout> shippedLayouts()
{
    QList<ScreenLayout> layouts;
    for (const char *name : shippedNames) {
        QFile file(QStringLiteral(":/verify/layouts/%1.json").arg(QLatin1String(name)));
        QString error;
        if (!file.open(QIODevice::ReadOnly)) continue;
        if (auto layout = parseLayout(QLatin1String(name), file.readAll(), &error)) layouts.append(*layout);
    }
    return layouts;
}

std::optional<ScreenLayout> readLayoutFile(const QString &path, QString *error)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    if (file.size() > maxFileBytes) {
        *error = QStringLiteral("%1 is larger than %2 bytes").arg(path).arg(maxFileBytes);
        return std::nullopt;
    }
    const std::optional<ScreenLayout> layout =
        parseLayout(QFileInfo(path).completeBaseName(), file.readAll(), error);
    if (!layout) *error = QStringLiteral("%1: %2").arg(path, *error);
    return layout;
}

} // namespace harness::verify
