// The parent side of --verify: hands the checks to child processes of the
// program, a few at a time and in parallel, and turns whatever ends a child
// early (a signal, a sanitizer report, a time-out) into one failed check
// before going on with the rest. A modal call still out a second after its
// balloon closed or was answered, or with no balloon a while after it was
// made, is a hang
// found at once; a method that hung in a few checks is not called again.
#pragma once

#include "checks.h"
#include "childprotocol.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QHash>
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
    int startupMs = 20000;   // a child's start before its first check
    int checkMs = 6000;      // one check
    int noBalloonMs = 5000;  // a modal call with no balloon shown yet
    int afterCloseMs = 1000; // a modal call still out after its balloon was answered or closed
    int hangsPerMethod = 3;  // then the method's remaining checks fail at once
};

class Runner : public QObject
{
  public:
    using Printer = std::function<void(const CheckResult &)>;
    // Arguments a check's child needs besides the common ones; a child runs
    // only checks that need the same.
    using GroupArguments = std::function<QStringList(const QString &name)>;

    // `childArguments` start a child; the names to run are appended.
    Runner(const QStringList &names, QStringList childArguments, RunnerLimits limits, Printer printer,
           GroupArguments groupArguments = {});
    ~Runner() override;

    // Runs every check; returns when all have a result.
    const QList<CheckResult> &run();

  private:
    struct Child;

    void launch();
    void readOutput(Child &child);
    void childEnded(Child &child);
    void stepped(Child &child, const protocol::Event &event);
    void hung(Child &child);
    QStringList hungMethods() const;
    void record(int index, Outcome outcome);
    QString failureOf(const Child &child) const;
    void printReady();

    QList<CheckResult> results_;
    QStringList childArguments_;
    RunnerLimits limits_;
    Printer printer_;
    GroupArguments groupArguments_;
    QHash<QString, int> hangs_; // by method, over all children
    QList<int> pending_;
    int batchSize_ = 1;
    int printed_ = 0;
    std::vector<std::unique_ptr<Child>> children_; // kept to the end: they end inside their own signals
    QEventLoop *loop_ = nullptr;
};

} // namespace harness::verify
