#include "selection.h"

#include <algorithm>

#include <fnmatch.h>

namespace harness::verify
{

namespace
{

bool matches(const QByteArray &pattern, const QString &name)
{
    return fnmatch(pattern.constData(), name.toUtf8().constData(), 0) == 0;
}

} // namespace

QStringList selectChecks(const QStringList &names, const QStringList &patterns, QString *error)
{
    if (patterns.isEmpty()) return names;
    QList<QByteArray> globs;
    for (const QString &pattern : patterns) {
        const QByteArray glob = pattern.toUtf8();
        if (std::none_of(names.begin(), names.end(), [&](const QString &n) { return matches(glob, n); })) {
            *error = QStringLiteral("no check matches '%1'").arg(pattern);
            return {};
        }
        globs.append(glob);
    }
    QStringList selected;
    for (const QString &name : names)
        if (std::any_of(globs.begin(), globs.end(), [&](const QByteArray &g) { return matches(g, name); }))
            selected.append(name);
    return selected;
}

bool isPortableCheckName(const QString &name)
{
    if (name.isEmpty()) return false;
    return std::all_of(name.begin(), name.end(), [](QChar c) {
        const char16_t u = c.unicode();
        return (u >= u'a' && u <= u'z') || (u >= u'A' && u <= u'Z') || (u >= u'0' && u <= u'9') ||
               u == u'_' || u == u'.' || u == u'-';
    });
}

} // namespace harness::verify
