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

Runner::Runner(const QStringList &names, QStringList childArguments, RunnerLimits limits, Printer printer)
    : childArguments_(std::move(childArguments)), limits_(limits), printer_(std::move(printer))
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
    c.batch = pending_.mid(0, batchSize_);
    pending_.remove(0, c.batch.size());
    QStringList names;
    for (int index : c.batch)
        names.append(results_[index].name);

    c.deadline.setSingleShot(true);
    connect(&c.deadline, &QTimer::timeout, this, [&c] {
        c.timedOut = true;
        c.process.kill();
    });
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
                    childArguments_ +
                        QStringList{QStringLiteral("--verify-checks"), names.join(QLatin1Char(','))});
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
        if (event->kind == protocol::Event::Begin) {
            c.current = *it;
            c.clock.restart();
            c.deadline.start(limits_.checkMs);
        } else {
            c.current = -1;
            record(*it, event->outcome);
            results_[*it].milliseconds = c.clock.elapsed();
        }
    }
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
    readOutput(c);
    c.errorOutput += c.process.readAllStandardError();
    QList<int> unfinished;
    for (int index : c.batch)
        if (!results_[index].done) unfinished.append(index);
    if (!unfinished.isEmpty()) {
        // The check that was running, or else the first one the child never began.
        const int culprit = c.current >= 0 ? c.current : unfinished.first();
        record(culprit, Outcome::fail(QStringLiteral("the check to finish"), failureOf(c)));
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
