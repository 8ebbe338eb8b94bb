// Unattended verification of the program's component class: --verify runs
// every contract check, each in a child process of the program with a time
// limit, and prints one line per check, then "N passed, M failed".
#pragma once

#include "checks.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

namespace harness::verify
{

struct Request {
    bool verify = false;
    QString junit;             // JUnit XML report, when not empty
    SnapshotOptions snapshots; // --snapshots DIR, --update-snapshots
    QStringList childChecks;   // set in a child process: the checks to run there
    bool misplaced = false;    // an option of ours given without --verify

    bool wanted() const { return verify || !childChecks.isEmpty() || misplaced; }
};

// The verification options, added to a program's parser.
class CommandLine
{
  public:
    explicit CommandLine(QCommandLineParser &parser);
    Request read(const QCommandLineParser &parser) const;

  private:
    QCommandLineOption verify_;
    QCommandLineOption junit_;
    QCommandLineOption snapshots_;
    QCommandLineOption update_;
    QCommandLineOption child_;
};

// Runs what the request asks for and returns the exit code: 0 when every
// check passed, 1 when one failed, 2 for a usage or output error. Needs a
// QApplication.
int run(const Target &target, const Request &request);

// The child side: runs the named checks in this process and reports each on
// standard output. Never returns.
[[noreturn]] void runChecksHere(const Target &target, const Request &request);

} // namespace harness::verify
