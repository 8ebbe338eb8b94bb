// The parent side of --verify: hands the checks to child processes of the
// program, a few at a time and in parallel, and turns whatever ends a child
// early (a signal, a sanitizer report, a time-out) into one failed check
// before going on with the rest.
#pragma once

#include "checks.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QObject>
#include <QProcess>
#include <QTimer>

#include <functional>
#include <memory>
#include <vector>

namespace harness::verify
{

struct CheckResult {
    QString name;
    bool done = false;
    Outcome outcome;
    qint64 milliseconds = 0;
};

struct RunnerLimits {
    int workers = 2;
    int startupMs = 20000; // a child's start before its first check
    int checkMs = 6000;    // one check
};

class Runner : public QObject
{
  public:
    using Printer = std::function<void(const CheckResult &)>;

    // `childArguments` start a child; the names to run are appended.
    Runner(const QStringList &names, QStringList childArguments, RunnerLimits limits, Printer printer);
    ~Runner() override;

    // Runs every check; returns when all have a result.
    const QList<CheckResult> &run();

  private:
    struct Child;

    void launch();
    void readOutput(Child &child);
    void childEnded(Child &child);
    void record(int index, Outcome outcome);
    QString failureOf(const Child &child) const;
    void printReady();

    QList<CheckResult> results_;
    QStringList childArguments_;
    RunnerLimits limits_;
    Printer printer_;
    QList<int> pending_;
    int batchSize_ = 1;
    int printed_ = 0;
    std::vector<std::unique_ptr<Child>> children_; // kept to the end: they end inside their own signals
    QEventLoop *loop_ = nullptr;
};

} // namespace harness::verify
