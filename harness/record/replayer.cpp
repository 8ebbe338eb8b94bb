#include "replayer.h"

#include "harness/controls/controlregistry.h"
#include "watchdog.h"

#include <QCoreApplication>
#include <QJsonDocument>
#include <QRadioButton>
#include <QTextStream>

namespace harness::record
{

namespace
{

template <typename T> std::optional<T> takeFirst(std::deque<T> &queue)
{
    if (queue.empty()) return std::nullopt;
    T first = std::move(queue.front());
    queue.pop_front();
    return first;
}

QString compact(const QJsonObject &o)
{
    return QString::fromUtf8(QJsonDocument(o).toJson(QJsonDocument::Compact));
}

} // namespace

// Answers from the step under way; a dialog the recording did not answer is
// cancelled, a message box it did not answer gets OK.
class Replayer::Dialogs final : public dialogs::DialogProvider
{
  public:
    explicit Dialogs(Answers &answers) : answers_(answers) {}
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override
    {
        return takeFirst(answers_.files).value_or(std::nullopt);
    }
    std::optional<QColor> pickColor(const QColor &) override
    {
        return takeFirst(answers_.colours).value_or(std::nullopt);
    }

  private:
    Answers &answers_;
};

class Replayer::MessageBoxes final : public dialogs::MessageBoxService
{
  public:
    explicit MessageBoxes(Answers &answers) : answers_(answers) {}
    int show(const QString &, int, const std::optional<QString> &) override
    {
        return takeFirst(answers_.messageBoxes).value_or(1);
    }

  private:
    Answers &answers_;
};

Replayer::Replayer(Recording recording, Limits limits)
    : recording_(std::move(recording)), limits_(limits), dialogs_(std::make_unique<Dialogs>(pending_)),
      boxes_(std::make_unique<MessageBoxes>(pending_)), pending_(recording_.startup)
{
    poll_.setInterval(10);
    connect(&poll_, &QTimer::timeout, this, &Replayer::poll);
    if (recording_.cutAfterLine)
        note(QStringLiteral("the recording ends without its end line (the harness was ended or crashed); "
                            "replayed up to its last whole line, line %1")
                 .arg(*recording_.cutAfterLine));
}

Replayer::~Replayer() = default;

dialogs::DialogProvider &Replayer::dialogs()
{
    return *dialogs_;
}

dialogs::MessageBoxService &Replayer::messages()
{
    return *boxes_;
}

bool Replayer::check(const QString &program, const Controls &controls, QString *error) const
{
    using Kind = ControlEvent::Kind;
    if (recording_.program != program) {
        *error = QStringLiteral("line 1: recorded with %1, not %2").arg(recording_.program, program);
        return false;
    }
    for (const ControlEvent &e : recording_.events) {
        const auto group = controls.groups.find(e.control);
        const bool known = (e.kind == Kind::Click && controls.buttons.count(e.control)) ||
                           (e.kind == Kind::Check && controls.checks.count(e.control)) ||
                           (e.kind == Kind::Select && group != controls.groups.end()) ||
                           (e.kind == Kind::Pick && e.control == controls.cdLanguage->objectName()) ||
                           (e.kind == Kind::Type && (e.control == controls.txtCaption->objectName() ||
                                                     e.control == controls.txtText->objectName()));
        if (!known) {
            *error = QStringLiteral("line %1: unknown control \"%2\" for \"%3\"")
                         .arg(e.line)
                         .arg(e.control, QLatin1String(kindName(e.kind)));
            return false;
        }
        if (e.kind == Kind::Select && !group->second->button(e.number)) {
            *error = QStringLiteral("line %1: %2 has no button %3").arg(e.line).arg(e.control).arg(e.number);
            return false;
        }
    }
    return true;
}

void Replayer::start(const Controls &controls, balloondriver::BalloonAccess &balloons,
                     std::function<void()> whenDone)
{
    controls_ = &controls;
    balloons_ = &balloons;
    whenDone_ = std::move(whenDone);
    if (limits_.endHungProcess) watchdog_ = std::make_unique<Watchdog>(2 * limits_.stepMs);
    poll_.start();
    QTimer::singleShot(0, this, &Replayer::step);
}

void Replayer::step()
{
    if (failed()) return;
    if (next_ >= recording_.events.size()) {
        poll_.stop();
        watchdog_.reset();
        if (whenDone_) whenDone_();
        return;
    }
    const ControlEvent &event = recording_.events[next_++];
    pending_ = event.answers;
    stepLine_ = event.line;
    stepClock_.start();
    if (watchdog_) watchdog_->enter(stepLine_);
    insideStep_ = true;
    perform(event);
    insideStep_ = false;
    if (watchdog_) watchdog_->leave();
    QTimer::singleShot(0, this, &Replayer::step);
}

void Replayer::perform(const ControlEvent &event)
{
    using Kind = ControlEvent::Kind;
    const Controls &c = *controls_;
    if (event.kind != Kind::Type && !event.balloonShown) {
        // The person had closed a modeless balloon by then.
        if (const int left = balloons_->balloonOnScreen()) balloons_->close(left);
    }
    switch (event.kind) {
    case Kind::Type:
        if (event.control == c.txtCaption->objectName())
            c.txtCaption->setText(event.text);
        else
            c.txtText->setText(event.text);
        break;
    case Kind::Click:
        c.buttons.at(event.control)->click();
        break;
    case Kind::Select:
        c.groups.at(event.control)->button(event.number)->click();
        break;
    case Kind::Check:
        c.checks.at(event.control)->click();
        break;
    case Kind::Pick: {
        LanguageList &list = *c.cdLanguage;
        if (event.number < 0 || event.number >= list.count()) {
            fail(QStringLiteral("line %1: %2 has no item %3")
                     .arg(event.line)
                     .arg(event.control)
                     .arg(event.number));
            return;
        }
        {
            const QSignalBlocker blocker(list);
            list.setCurrentIndex(event.number);
        }
        emit list.activated(event.number);
        break;
    }
    }
}

void Replayer::poll()
{
    if (!insideStep_ || failed()) return;
    const int balloon = balloons_->balloonOnScreen();
    if (balloon && balloon != answered_) {
        answered_ = balloon;
        stepClock_.restart();
        if (const std::optional<BalloonAnswer> answer = takeFirst(pending_.balloons)) {
            const QString why = balloons_->answer(balloon, *answer);
            if (!why.isEmpty())
                note(QStringLiteral("line %1: the balloon could not be answered as recorded: %2; closed it")
                         .arg(stepLine_)
                         .arg(why));
        } else {
            note(QStringLiteral("line %1: a balloon the recording has no answer for; closed it")
                     .arg(stepLine_));
            balloons_->close(balloon);
        }
        return;
    }
    if (stepClock_.elapsed() > limits_.stepMs)
        fail(QStringLiteral("line %1: the step did not finish within %2 ms: no balloon to answer appeared, "
                            "or the component did not return")
                 .arg(stepLine_)
                 .arg(limits_.stepMs));
}

void Replayer::fail(const QString &why)
{
    if (failed()) return;
    error_ = why;
    poll_.stop();
    // Leaves every event loop, the component's own included.
    QCoreApplication::exit(2);
}

void Replayer::note(const QString &what)
{
    notes_ << what;
}

int Replayer::finish(QTextStream &out, QTextStream &err) const
{
    for (const QString &n : notes_)
        err << "replay: " << n << '\n';
    if (failed()) {
        err << "replay: " << error_ << '\n';
        return 2;
    }
    const std::vector<TraceLine> &recorded = recording_.trace;
    // A cut recording says nothing of what followed its last line.
    const size_t lines =
        recording_.cutAfterLine ? recorded.size() : std::max(recorded.size(), size_t(replayed_.size()));
    for (size_t i = 0; i < lines; ++i) {
        const QJsonObject now = i < size_t(replayed_.size())
                                    ? QJsonDocument::fromJson(replayed_[qsizetype(i)].toUtf8()).object()
                                    : QJsonObject();
        if (i < recorded.size() && i < size_t(replayed_.size()) && recorded[i].entry == now) continue;
        out << "Replay differs from the recording at trace line " << i + 1;
        if (i < recorded.size()) out << " (recording line " << recorded[i].line << ")";
        out << ":\n  recorded: "
            << (i < recorded.size() ? compact(recorded[i].entry) : QStringLiteral("(nothing)"))
            << "\n  replayed: " << (i < size_t(replayed_.size()) ? compact(now) : QStringLiteral("(nothing)"))
            << '\n';
        if (now.value(QLatin1String("event")).toString() == QLatin1String("component-crashed"))
            out << "  The component crashed there, in " << now.value(QLatin1String("member")).toString()
                << ": " << now.value(QLatin1String("end")).toString() << ".\n";
        return 1;
    }
    out << "Replay matches the recording: " << lines << " trace lines.\n";
    return 0;
}

} // namespace harness::record
