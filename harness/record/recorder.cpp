#include "recorder.h"

#include "harness/controls/controlregistry.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>

namespace harness::record
{

namespace
{

constexpr int maxGroupSize = 64;

template <typename Map> QString nameIn(const Map &controls, const QObject *control)
{
    for (const auto &[name, c] : controls)
        if (c == control) return name;
    return {};
}

// The answer a modal balloon gave, read from its method's trace line.
std::optional<BalloonAnswer> modalAnswer(const QString &line)
{
    if (!line.startsWith(QLatin1String("{\"event\":\"dispatch\",\"control\":\"Vellix1\"")))
        return std::nullopt;
    const QJsonObject o = QJsonDocument::fromJson(line.toUtf8()).object();
    const QJsonArray args = o.value(QLatin1String("args")).toArray();
    const QJsonObject result = o.value(QLatin1String("result")).toObject();
    const bool modal = args.size() > 5 && args[5].toBool();
    if (o.value(QLatin1String("kind")).toString() != QLatin1String("method") || !modal ||
        !result.contains(QLatin1String("Button")) || result.value(QLatin1String("Status")).toInt() != 0)
        return std::nullopt;
    return BalloonAnswer{result.value(QLatin1String("Button")).toInt(),
                         result.value(QLatin1String("Text")).toString(),
                         result.value(QLatin1String("Label")).toInt(-1)};
}

} // namespace

std::unique_ptr<Recorder> Recorder::open(const QString &file, const QString &program, QString *error)
{
    auto out = std::make_unique<QFile>(file);
    // Unbuffered: a session that ends in a crash keeps every line so far.
    if (!out->open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        *error = QStringLiteral("Cannot write the recording to %1: %2").arg(file, out->errorString());
        return nullptr;
    }
    return std::make_unique<Recorder>(std::move(out), program);
}

Recorder::Recorder(std::unique_ptr<QIODevice> out, const QString &program) : out_(std::move(out))
{
    write(headerLine(program));
}

void Recorder::watch(const Controls &controls, balloondriver::BalloonAccess &balloons)
{
    controls_ = &controls;
    balloons_ = &balloons;
    caption_ = controls.txtCaption->text();
    text_ = controls.txtText->text();
}

void Recorder::controlEvent(QObject *control)
{
    if (!controls_) return;
    std::optional<ControlEvent> event = describe(control);
    if (!event) return;
    recordTypedText();
    event->balloonShown = balloons_->balloonOnScreen() != 0;
    write(eventLine(*event));
}

void Recorder::recordTypedText()
{
    const auto record = [this](const QString &name, const QString &now, QString &last) {
        if (now == last) return;
        last = now;
        ControlEvent typed;
        typed.kind = ControlEvent::Kind::Type;
        typed.control = name;
        typed.text = now;
        write(eventLine(typed));
    };
    record(QStringLiteral("txtCaption"), controls_->txtCaption->text(), caption_);
    record(QStringLiteral("txtText"), controls_->txtText->text(), text_);
}

std::optional<ControlEvent> Recorder::describe(QObject *control) const
{
    using Kind = ControlEvent::Kind;
    ControlEvent event;
    if (QString name = nameIn(controls_->buttons, control); !name.isEmpty()) {
        event.kind = Kind::Click;
        event.control = name;
    } else if (QString group = nameIn(controls_->groups, control); !group.isEmpty()) {
        event.kind = Kind::Select;
        event.control = group;
        const OptionGroup &g = *controls_->groups.at(group);
        event.number = -1;
        for (int i = 0; i < maxGroupSize; ++i)
            if (g.isSelected(i)) event.number = i;
    } else if (QString check = nameIn(controls_->checks, control); !check.isEmpty()) {
        event.kind = Kind::Check;
        event.control = check;
        event.number = controls_->checks.at(check)->value();
    } else if (control == controls_->cdLanguage) {
        event.kind = Kind::Pick;
        event.control = controls_->cdLanguage->objectName();
        event.number = controls_->cdLanguage->selectedIndex();
    } else {
        return std::nullopt;
    }
    return event;
}

void Recorder::traceLine(const QString &line)
{
    if (const std::optional<BalloonAnswer> answer = modalAnswer(line)) write(balloonAnswerLine(*answer));
    write(record::traceLine(line));
}

void Recorder::write(const QByteArray &line)
{
    out_->write(line);
}

std::optional<QString> RecordingDialogs::openFile(const QString &title, const QString &filter,
                                                  const QString &initialFile)
{
    std::optional<QString> answer = next_.openFile(title, filter, initialFile);
    recorder_.fileAnswer(answer);
    return answer;
}

std::optional<QColor> RecordingDialogs::pickColor(const QColor &initial)
{
    std::optional<QColor> answer = next_.pickColor(initial);
    recorder_.colourAnswer(answer);
    return answer;
}

int RecordingMessageBoxes::show(const QString &text, int style, const std::optional<QString> &title)
{
    const int answer = next_.show(text, style, title);
    recorder_.messageBoxAnswer(answer);
    return answer;
}

} // namespace harness::record
