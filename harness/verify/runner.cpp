#include "runner.h"

#include "childprotocol.h"

#include <QCoreApplication>
#include <QEventLoop>

#include <csignal>
#include <cstring>

namespace harness::verify
{

struct Runner::Child {
    QProcess process;
    QList<int> batch; // indices into results_
    int current = -1; // the check begun and not yet ended
    QTimer deadline;
    QTimer hangClock;      // runs while a modal call looks hung
    QString modalMethod;   // the modal call out, if any
    bool answered = false; // its balloon was answered and should close
    bool balloonClosed = false;
    std::optional<Outcome> hang;
    QElapsedTimer clock;
    QByteArray pendingOutput;
    QByteArray errorOutput;
    bool timedOut = false;
    bool ended = false;
};

namespace
{

QString signalName(int number)
{
    const char *abbrev = sigabbrev_np(number);
    const QString name =
        abbrev ? QStringLiteral("SIG") + QLatin1String(abbrev) : QStringLiteral("signal %1").arg(number);
    return QStringLiteral("%1 (%2)").arg(name, QString::fromLocal8Bit(strsignal(number)));
}

// The first line of a sanitizer's report, if the output holds one.
QString sanitizerReport(const QByteArray &errors)
{
    for (const QByteArray &line : errors.split('\n'))
        if (line.contains("ERROR: AddressSanitizer") || line.contains("ERROR: LeakSanitizer") ||
            line.contains("runtime error:") || line.contains("ThreadSanitizer"))
            return QString::fromLocal8Bit(line.trimmed());
    return {};
}

} // namespace

Runner::Runner(const QStringList &names, QStringList childArguments, RunnerLimits limits, Printer printer,
               GroupArguments groupArguments)
    : childArguments_(std::move(childArguments)), limits_(limits), printer_(std::move(printer)),
      groupArguments_(std::move(groupArguments))
{
    for (int i = 0; i < names.size(); ++i) {
        CheckResult result;
        result.name = names[i];
        results_.append(result);
        pending_.append(i);
    }
    // Several batches per worker keep the workers evenly busy to the end.
    batchSize_ = std::max<int>(1, int((names.size() + limits_.workers * 3 - 1) / (limits_.workers * 3)));
}

Runner::~Runner()
{
    // A child that has reported everything may still be on its way out; its
    // end must not reach a runner that is going away.
    for (const auto &child : children_) {
        child->process.disconnect(this);
        child->deadline.disconnect(this);
        child->hangClock.disconnect(this);
        if (child->process.state() == QProcess::NotRunning) continue;
        if (!child->process.waitForFinished(limits_.checkMs)) {
            child->process.kill();
            child->process.waitForFinished();
        }
    }
}

const QList<CheckResult> &Runner::run()
{
    QEventLoop loop;
    loop_ = &loop;
    for (int i = 0; i < limits_.workers && !pending_.isEmpty(); ++i)
        launch();
    if (printed_ < results_.size()) loop.exec();
    loop_ = nullptr;
    return results_;
}

void Runner::launch()
{
    auto child = std::make_unique<Child>();
    Child &c = *child;
    // A batch of checks that need the same child.
    const QStringList group =
        groupArguments_ ? groupArguments_(results_[pending_.first()].name) : QStringList();
    while (!pending_.isEmpty() && c.batch.size() < batchSize_ &&
           (!groupArguments_ || groupArguments_(results_[pending_.first()].name) == group))
        c.batch.append(pending_.takeFirst());
    QStringList names;
    for (int index : c.batch)
        names.append(results_[index].name);
    QStringList arguments = childArguments_ + group;
    const QStringList hungNow = hungMethods();
    if (!hungNow.isEmpty()) arguments << QStringLiteral("--verify-hung") << hungNow.join(QLatin1Char(','));

    c.deadline.setSingleShot(true);
    connect(&c.deadline, &QTimer::timeout, this, [&c] {
        c.timedOut = true;
        c.process.kill();
    });
    c.hangClock.setSingleShot(true);
    connect(&c.hangClock, &QTimer::timeout, this, [this, &c] { hung(c); });
    connect(&c.process, &QProcess::readyReadStandardOutput, this, [this, &c] { readOutput(c); });
    connect(&c.process, &QProcess::readyReadStandardError, this,
            [&c] { c.errorOutput += c.process.readAllStandardError(); });
    connect(&c.process, &QProcess::finished, this, [this, &c] { childEnded(c); });
    connect(&c.process, &QProcess::errorOccurred, this, [this, &c](QProcess::ProcessError e) {
        if (e == QProcess::FailedToStart) childEnded(c);
    });
    children_.push_back(std::move(child));
    c.clock.start();
    c.deadline.start(limits_.startupMs);
    c.process.start(QCoreApplication::applicationFilePath(),
                    arguments + QStringList{QStringLiteral("--verify-checks"), names.join(QLatin1Char(','))});
}

void Runner::readOutput(Child &c)
{
    c.pendingOutput += c.process.readAllStandardOutput();
    qsizetype end;
    while ((end = c.pendingOutput.indexOf('\n')) >= 0) {
        const QByteArray line = c.pendingOutput.left(end);
        c.pendingOutput.remove(0, end + 1);
        const std::optional<protocol::Event> event = protocol::parse(line);
        if (!event) continue;
        const auto it = std::find_if(c.batch.begin(), c.batch.end(),
                                     [&](int i) { return results_[i].name == event->name; });
        if (it == c.batch.end()) continue;
        if (event->kind == protocol::Event::Step) {
            stepped(c, *event);
        } else if (event->kind == protocol::Event::Begin) {
            c.current = *it;
            c.clock.restart();
            c.deadline.start(limits_.checkMs);
        } else {
            c.current = -1;
            c.modalMethod.clear();
            c.hangClock.stop();
            record(*it, event->outcome);
            results_[*it].milliseconds = c.clock.elapsed();
        }
    }
}

void Runner::stepped(Child &c, const protocol::Event &event)
{
    switch (event.step) {
    case protocol::Step::Call:
        c.modalMethod = event.method;
        c.answered = false;
        c.balloonClosed = false;
        c.hangClock.start(limits_.noBalloonMs);
        break;
    case protocol::Step::Shown:
        // Answering it is up to the check and its own time limit.
        c.hangClock.stop();
        break;
    case protocol::Step::Answered:
        // A balloon still up a while after its button was pressed keeps
        // the call out as surely as one that never returns.
        c.answered = true;
        c.hangClock.start(limits_.afterCloseMs);
        break;
    case protocol::Step::Closed:
        c.balloonClosed = true;
        c.hangClock.start(limits_.afterCloseMs);
        break;
    case protocol::Step::Returned:
        c.modalMethod.clear();
        c.hangClock.stop();
        break;
    }
}

void Runner::hung(Child &c)
{
    if (c.ended || c.modalMethod.isEmpty()) return;
    const QString &method = c.modalMethod;
    c.hang = c.balloonClosed
                 ? Outcome::fail(QStringLiteral("%1 to return once its balloon closed").arg(method),
                                 QStringLiteral("the balloon closed but %1 did not return").arg(method))
             : c.answered
                 ? Outcome::fail(QStringLiteral("the balloon of %1 to close once answered").arg(method),
                                 QStringLiteral("the balloon did not close %1 s after it was answered and %2 "
                                                "did not return")
                                     .arg(limits_.afterCloseMs / 1000.0)
                                     .arg(method))
                 : Outcome::fail(QStringLiteral("%1 to show a balloon or return").arg(method),
                                 QStringLiteral("no balloon and no return %1 s after the call")
                                     .arg(limits_.noBalloonMs / 1000.0));
    ++hangs_[method];
    c.deadline.stop();
    c.process.kill();
}

QStringList Runner::hungMethods() const
{
    QStringList methods;
    for (auto it = hangs_.begin(); it != hangs_.end(); ++it)
        if (it.value() >= limits_.hangsPerMethod) methods.append(it.key());
    methods.sort();
    return methods;
}

QString Runner::failureOf(const Child &c) const
{
    if (c.timedOut) return QStringLiteral("a time-out after %1 s").arg(limits_.checkMs / 1000.0);
    const QString sanitizer = sanitizerReport(c.errorOutput);
    if (!sanitizer.isEmpty()) return QStringLiteral("a sanitizer report: %1").arg(sanitizer);
    if (c.process.error() == QProcess::FailedToStart)
        return QStringLiteral("no child process (%1)").arg(c.process.errorString());
    if (c.process.exitStatus() == QProcess::CrashExit)
        return QStringLiteral("signal %1").arg(signalName(c.process.exitCode()));
    if (c.process.exitCode() != 0) return QStringLiteral("exit code %1").arg(c.process.exitCode());
    return QStringLiteral("the child process ending without a result");
}

void Runner::childEnded(Child &c)
{
    if (c.ended) return;
    c.ended = true;
    c.deadline.stop();
    c.hangClock.stop();
    readOutput(c);
    c.errorOutput += c.process.readAllStandardError();
    QList<int> unfinished;
    for (int index : c.batch)
        if (!results_[index].done) unfinished.append(index);
    if (!unfinished.isEmpty()) {
        // The check that was running, or else the first one the child never began.
        const int culprit = c.current >= 0 ? c.current : unfinished.first();
        record(culprit, c.hang && c.current >= 0
                            ? *c.hang
                            : Outcome::fail(QStringLiteral("the check to finish"), failureOf(c)));
        results_[culprit].milliseconds = c.clock.elapsed();
        unfinished.removeOne(culprit);
        pending_ = unfinished + pending_;
    }
    if (!pending_.isEmpty()) launch();
    printReady();
}

void Runner::record(int index, Outcome outcome)
{
    results_[index].done = true;
    results_[index].outcome = std::move(outcome);
    printReady();
}

void Runner::printReady()
{
    while (printed_ < results_.size() && results_[printed_].done)
        printer_(results_[printed_++]);
    if (printed_ == results_.size() && loop_) loop_->quit();
}

} // namespace harness::verify
