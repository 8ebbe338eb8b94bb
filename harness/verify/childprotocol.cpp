#include "childprotocol.h"

#include <algorithm>
#include <array>

namespace harness::verify::protocol
{

namespace
{

const QByteArray prefix = QByteArrayLiteral("@verify ");

QString flat(QString text)
{
    return text.replace(QLatin1Char('\t'), QLatin1Char(' '))
        .replace(QLatin1Char('\n'), QLatin1Char(' '))
        .replace(QLatin1Char('\r'), QLatin1Char(' '));
}

constexpr std::array<const char *, 5> stepWords{"call", "shown", "answered", "closed", "returned"};

} // namespace

QByteArray beginLine(const QString &name)
{
    return prefix + "begin " + name.toUtf8() + '\n';
}

QByteArray resultLine(const QString &name, const Outcome &outcome)
{
    if (outcome.passed) return prefix + "pass " + name.toUtf8() + '\n';
    return prefix + "fail " + name.toUtf8() + '\t' + flat(outcome.expected).toUtf8() + '\t' +
           flat(outcome.got).toUtf8() + '\n';
}

QByteArray stepLine(const QString &name, Step step, const QString &method)
{
    QByteArray line = prefix + stepWords[size_t(step)] + ' ' + name.toUtf8();
    if (step == Step::Call) line += '\t' + flat(method).toUtf8();
    return line + '\n';
}

Outcome hungBefore(const QString &method)
{
    return Outcome::fail(QStringLiteral("%1 to return").arg(method),
                         QStringLiteral("it hung in earlier checks, so it is not called again"));
}

std::optional<Event> parse(const QByteArray &line)
{
    if (!line.startsWith(prefix)) return std::nullopt;
    const QByteArray rest = line.mid(prefix.size()).trimmed();
    const qsizetype space = rest.indexOf(' ');
    if (space < 0) return std::nullopt;
    const QByteArray word = rest.left(space);
    const QList<QByteArray> fields = rest.mid(space + 1).split('\t');
    Event event;
    event.name = QString::fromUtf8(fields.first());
    if (word == "begin") return event;
    const auto step = std::find(stepWords.begin(), stepWords.end(), word);
    if (step != stepWords.end()) {
        event.kind = Event::Step;
        event.step = Step(step - stepWords.begin());
        if (event.step == Step::Call) {
            if (fields.size() != 2) return std::nullopt;
            event.method = QString::fromUtf8(fields[1]);
        }
        return event;
    }
    event.kind = Event::Result;
    if (word == "pass") return event;
    if (word != "fail" || fields.size() != 3) return std::nullopt;
    event.outcome = Outcome::fail(QString::fromUtf8(fields[1]), QString::fromUtf8(fields[2]));
    return event;
}

} // namespace harness::verify::protocol
