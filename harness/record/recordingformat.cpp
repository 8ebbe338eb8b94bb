#include "recordingformat.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <array>

namespace harness::record
{

namespace
{

const QString Signature = QStringLiteral("balloon harness session");

using Kind = ControlEvent::Kind;
constexpr std::array<std::pair<Kind, const char *>, 5> kindNames{{
    {Kind::Type, "type"},
    {Kind::Click, "click"},
    {Kind::Select, "select"},
    {Kind::Check, "check"},
    {Kind::Pick, "pick"},
}};

QByteArray compact(const QJsonObject &o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact) + '\n';
}

// Thrown inside the parser only, caught in parseRecording().
struct LineError {
    QString message;
};

class LineReader
{
  public:
    LineReader(int line, QJsonObject o) : line_(line), o_(std::move(o)) {}

    [[noreturn]] void fail(const QString &why) const
    {
        throw LineError{QStringLiteral("line %1: %2").arg(line_).arg(why)};
    }
    QJsonValue need(const char *key) const
    {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (v.isUndefined()) fail(QStringLiteral("\"%1\" is missing").arg(QLatin1String(key)));
        return v;
    }
    QString string(const char *key) const
    {
        const QJsonValue v = need(key);
        if (!v.isString()) fail(QStringLiteral("\"%1\" must be a string").arg(QLatin1String(key)));
        return v.toString();
    }
    std::optional<QString> stringOrNull(const char *key) const
    {
        if (need(key).isNull()) return std::nullopt;
        return string(key);
    }
    int integer(const char *key) const
    {
        const QJsonValue v = need(key);
        const double d = v.toDouble();
        if (!v.isDouble() || d != double(int(d)))
            fail(QStringLiteral("\"%1\" must be a whole number").arg(QLatin1String(key)));
        return int(d);
    }
    bool flag(const char *key) const
    {
        const QJsonValue v = o_.value(QLatin1String(key));
        if (v.isUndefined()) return false;
        if (!v.isBool()) fail(QStringLiteral("\"%1\" must be true or false").arg(QLatin1String(key)));
        return v.toBool();
    }
    int line() const { return line_; }
    const QJsonObject &object() const { return o_; }

  private:
    int line_;
    QJsonObject o_;
};

void readHeader(const LineReader &r, Recording &recording)
{
    if (r.object().value(QLatin1String("recording")).toString() != Signature)
        r.fail(QStringLiteral("not a session recording (the first line must name \"%1\")").arg(Signature));
    const int version = r.integer("version");
    if (version != FormatVersion)
        r.fail(QStringLiteral("recording version %1 is not supported; this program reads version %2")
                   .arg(version)
                   .arg(FormatVersion));
    recording.program = r.string("program");
}

ControlEvent readEvent(const LineReader &r)
{
    ControlEvent event;
    event.line = r.line();
    const QString name = r.string("do");
    const auto *found = std::find_if(kindNames.begin(), kindNames.end(),
                                     [&](const auto &k) { return name == QLatin1String(k.second); });
    if (found == kindNames.end()) r.fail(QStringLiteral("unknown action \"%1\"").arg(name));
    event.kind = found->first;
    event.control = r.string("control");
    event.balloonShown = r.flag("balloon");
    switch (event.kind) {
    case Kind::Type:
        event.text = r.string("text");
        break;
    case Kind::Select:
    case Kind::Pick:
        event.number = r.integer("index");
        break;
    case Kind::Check:
        event.number = r.integer("value");
        if (event.number != 0 && event.number != 1) r.fail(QStringLiteral("\"value\" must be 0 or 1"));
        break;
    case Kind::Click:
        break;
    }
    return event;
}

void readAnswer(const LineReader &r, Answers &answers)
{
    const QString what = r.string("answer");
    if (what == QLatin1String("file")) {
        answers.files.push_back(r.stringOrNull("file"));
    } else if (what == QLatin1String("colour")) {
        const std::optional<QString> name = r.stringOrNull("colour");
        if (name && !QColor::isValidColorName(*name))
            r.fail(QStringLiteral("\"%1\" is not a colour").arg(*name));
        answers.colours.push_back(name ? std::optional<QColor>(QColor::fromString(*name)) : std::nullopt);
    } else if (what == QLatin1String("balloon")) {
        answers.balloons.push_back({r.integer("button"), r.string("text"), r.integer("label")});
    } else if (what == QLatin1String("messagebox")) {
        answers.messageBoxes.push_back(r.integer("button"));
    } else {
        r.fail(QStringLiteral("unknown answer \"%1\"").arg(what));
    }
}

Recording parse(const QByteArray &data)
{
    Recording recording;
    const QList<QByteArray> lines = data.split('\n');
    // A file ending in a newline splits into one empty last piece.
    const qsizetype count = lines.size() - (data.endsWith('\n') ? 1 : 0);
    bool ended = false;
    int lastWhole = 0;
    for (qsizetype i = 0; i < count; ++i) {
        const int number = int(i) + 1;
        if (ended) throw LineError{QStringLiteral("line %1: lines after the end of the session").arg(number)};
        QJsonParseError error;
        const QJsonDocument doc = QJsonDocument::fromJson(lines[i], &error);
        if (!doc.isObject()) {
            // A harness ended in the middle of writing leaves half a line.
            const bool lastUnfinished = i == count - 1 && !data.endsWith('\n');
            if (lastUnfinished && number > 1) break;
            throw LineError{
                lastUnfinished
                    ? QStringLiteral("line %1: the recording is cut short (truncated)").arg(number)
                    : QStringLiteral("line %1: not a JSON object (%2)")
                          .arg(number)
                          .arg(doc.isNull() ? error.errorString() : QStringLiteral("a JSON array"))};
        }
        lastWhole = number;
        const LineReader r(number, doc.object());
        const QJsonObject &o = r.object();
        if (number == 1) {
            readHeader(r, recording);
        } else if (o.contains(QLatin1String("do"))) {
            recording.events.push_back(readEvent(r));
        } else if (o.contains(QLatin1String("answer"))) {
            readAnswer(r, recording.events.empty() ? recording.startup : recording.events.back().answers);
        } else if (o.contains(QLatin1String("trace"))) {
            if (!o.value(QLatin1String("trace")).isObject())
                r.fail(QStringLiteral("\"trace\" must be an object"));
            recording.trace.push_back({number, o.value(QLatin1String("trace")).toObject()});
        } else if (o.contains(QLatin1String("end"))) {
            ended = true;
        } else {
            r.fail(QStringLiteral("unknown entry: none of \"do\", \"answer\", \"trace\", \"end\""));
        }
    }
    if (!ended) recording.cutAfterLine = lastWhole;
    return recording;
}

} // namespace

std::optional<Recording> parseRecording(const QByteArray &data, QString *error)
{
    try {
        return parse(data);
    } catch (const LineError &e) {
        *error = e.message;
        return std::nullopt;
    }
}

const char *kindName(ControlEvent::Kind kind)
{
    for (const auto &[k, name] : kindNames)
        if (k == kind) return name;
    return "?";
}

QByteArray headerLine(const QString &program)
{
    return compact({{QStringLiteral("recording"), Signature},
                    {QStringLiteral("version"), FormatVersion},
                    {QStringLiteral("program"), program}});
}

QByteArray eventLine(const ControlEvent &event)
{
    QJsonObject o{{QStringLiteral("do"), QLatin1String(kindName(event.kind))},
                  {QStringLiteral("control"), event.control}};
    switch (event.kind) {
    case Kind::Type:
        o.insert(QStringLiteral("text"), event.text);
        break;
    case Kind::Select:
    case Kind::Pick:
        o.insert(QStringLiteral("index"), event.number);
        break;
    case Kind::Check:
        o.insert(QStringLiteral("value"), event.number);
        break;
    case Kind::Click:
        break;
    }
    if (event.balloonShown) o.insert(QStringLiteral("balloon"), true);
    return compact(o);
}

QByteArray fileAnswerLine(const std::optional<QString> &file)
{
    return compact({{QStringLiteral("answer"), QStringLiteral("file")},
                    {QStringLiteral("file"), file ? QJsonValue(*file) : QJsonValue()}});
}

QByteArray colourAnswerLine(const std::optional<QColor> &colour)
{
    return compact({{QStringLiteral("answer"), QStringLiteral("colour")},
                    {QStringLiteral("colour"), colour ? QJsonValue(colour->name()) : QJsonValue()}});
}

QByteArray balloonAnswerLine(const BalloonAnswer &answer)
{
    return compact({{QStringLiteral("answer"), QStringLiteral("balloon")},
                    {QStringLiteral("button"), answer.button},
                    {QStringLiteral("text"), answer.text},
                    {QStringLiteral("label"), answer.label}});
}

QByteArray messageBoxAnswerLine(int button)
{
    return compact(
        {{QStringLiteral("answer"), QStringLiteral("messagebox")}, {QStringLiteral("button"), button}});
}

QByteArray traceLine(const QString &traceJson)
{
    // The trace line is already JSON: kept as written, keys in their order.
    return "{\"trace\":" + traceJson.toUtf8() + "}\n";
}

QByteArray endLine()
{
    return compact({{QStringLiteral("end"), QStringLiteral("session")}});
}

} // namespace harness::record
