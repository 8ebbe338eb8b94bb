#include "trace.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

#include <unistd.h>

namespace harness
{

using namespace component;

std::optional<Trace> Trace::open(const QString &target, QString *error)
{
    auto file = std::make_unique<QFile>();
    bool opened = false;
    if (target == QLatin1String("-")) {
        opened = file->open(STDOUT_FILENO, QIODevice::WriteOnly | QIODevice::Unbuffered);
    } else {
        file->setFileName(target);
        opened = file->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered);
    }
    if (!opened) {
        *error = QStringLiteral("Cannot write the trace to %1: %2").arg(target, file->errorString());
        return std::nullopt;
    }
    return Trace(std::move(file));
}

namespace
{

// Qt's JSON writer escapes the string; the lines themselves are composed here
// because QJsonObject would sort the keys out of their documented order.
QString jsonString(const QString &s)
{
    const QByteArray array = QJsonDocument(QJsonArray{s}).toJson(QJsonDocument::Compact);
    return QString::fromUtf8(array.mid(1, array.size() - 2)); // without the brackets
}

QString hexId(DispId id)
{
    return QLatin1String("\"0x") +
           QString::number(uint32_t(id), 16).toUpper().rightJustified(8, QLatin1Char('0')) + QLatin1Char('"');
}

QString number(int64_t n)
{
    return QString::number(n);
}

QString errorFields(int32_t n, const QString &description, QLatin1String prefix)
{
    return prefix + QLatin1String("\"number\":") + number(n) + QLatin1String(",\"description\":") +
           jsonString(description);
}

} // namespace

QString Trace::toJson(const Value &value)
{
    struct Visitor {
        QString operator()(std::monostate) const { return QStringLiteral("null"); }
        QString operator()(int16_t v) const { return QString::number(v); }
        QString operator()(int32_t v) const { return QString::number(v); }
        QString operator()(Bool b) const
        {
            return b.value() ? QStringLiteral("true") : QStringLiteral("false");
        }
        QString operator()(const QString &s) const { return jsonString(s); }
        QString operator()(const QStringList &list) const
        {
            QStringList items;
            for (const QString &s : list)
                items << jsonString(s);
            return QLatin1Char('[') + items.join(QLatin1Char(',')) + QLatin1Char(']');
        }
        QString operator()(const ObjectRef &o) const
        {
            return o ? jsonString(QStringLiteral("<object>")) : QStringLiteral("null");
        }
        QString operator()(const Picture &p) const
        {
            return jsonString(QLatin1String("<picture ") + p.source + QLatin1Char(' ') +
                              number(p.image.width()) + QLatin1Char('x') + number(p.image.height()) +
                              QLatin1Char('>'));
        }
        QString operator()(const MsgResult &r) const
        {
            return QLatin1String("{\"Button\":") + number(r.Button) + QLatin1String(",\"Label\":") +
                   number(r.Label) + QLatin1String(",\"Text\":") + jsonString(r.Text) +
                   QLatin1String(",\"Status\":") + number(r.Status) + QLatin1Char('}');
        }
    };
    return std::visit(Visitor{}, value);
}

void Trace::dispatch(const Call &call, const Result &result)
{
    if (!enabled()) return;
    QStringList args;
    for (const Value &v : call.argsBefore)
        args << toJson(v);
    QString line = QLatin1String("{\"event\":\"dispatch\",\"control\":") + jsonString(call.control) +
                   QLatin1String(",\"id\":") + hexId(call.id) + QLatin1String(",\"member\":") +
                   jsonString(QString(call.member)) + QLatin1String(",\"kind\":\"") +
                   QLatin1String(kindName(call.kind)) + QLatin1String("\",\"args\":[") +
                   args.join(QLatin1Char(',')) + QLatin1Char(']');
    QStringList changed;
    for (size_t i = 0; i < call.argsAfter.size() && i < call.argsBefore.size(); ++i)
        if (call.argsAfter[i].isRef() && call.argsAfter[i].get() != call.argsBefore[i])
            changed << QLatin1Char('"') + number(int64_t(i) + 1) + QLatin1String("\":") +
                           toJson(call.argsAfter[i].get());
    if (!changed.isEmpty())
        line += QLatin1String(",\"changed\":{") + changed.join(QLatin1Char(',')) + QLatin1Char('}');
    if (result.ok())
        line += QLatin1String(",\"result\":") + toJson(result.value()) + QLatin1Char('}');
    else
        line +=
            errorFields(result.error().number, result.error().description, QLatin1String(",\"error\":{")) +
            QLatin1String("}}");
    write(line);
}

void Trace::componentCrashed(const Crash &crash)
{
    if (!enabled()) return;
    QStringList args;
    for (const Value &v : crash.args)
        args << toJson(v);
    QStringList lines;
    for (const QString &l : crash.stderrLines)
        lines << jsonString(l);
    write(QLatin1String("{\"event\":\"component-crashed\",\"control\":") + jsonString(crash.control) +
          QLatin1String(",\"file\":") + jsonString(crash.file) + QLatin1String(",\"member\":") +
          jsonString(QString(crash.member)) + QLatin1String(",\"kind\":\"") +
          QLatin1String(kindName(crash.kind)) + QLatin1String("\",\"args\":[") + args.join(QLatin1Char(',')) +
          QLatin1String("],\"end\":") + jsonString(crash.end) + QLatin1String(",\"stderr\":[") +
          lines.join(QLatin1Char(',')) + QLatin1String("]}"));
}

void Trace::componentReloaded(const QString &control, const QString &file)
{
    if (enabled())
        write(QLatin1String("{\"event\":\"component-reloaded\",\"control\":") + jsonString(control) +
              QLatin1String(",\"file\":") + jsonString(file) + QLatin1Char('}'));
}

void Trace::messageBox(const std::optional<QString> &title, int style, const QString &text)
{
    if (!enabled()) return;
    write(QLatin1String("{\"event\":\"messagebox\",\"title\":") +
          (title ? jsonString(*title) : QStringLiteral("null")) + QLatin1String(",\"style\":") +
          number(style) + QLatin1String(",\"text\":") + jsonString(text) + QLatin1Char('}'));
}

void Trace::ready()
{
    if (enabled()) write(QStringLiteral("{\"event\":\"ready\"}"));
}

void Trace::error(int32_t errorNumber, const QString &description)
{
    if (enabled())
        write(errorFields(errorNumber, description, QLatin1String("{\"event\":\"error\",")) +
              QLatin1Char('}'));
}

void Trace::write(const QString &line)
{
    if (out_) out_->write(line.toUtf8() + '\n');
    if (tap_) tap_(line);
}

} // namespace harness
