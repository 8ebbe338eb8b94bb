// Unattended verification of the program's component class: --verify runs
// every contract check, each in a child process of the program with a time
// limit, and prints one line per check, then "N passed, M failed".
#pragma once

#include "checks.h"

#include <QCommandLineOption>
#include <QCommandLineParser>

#include <optional>

namespace harness::verify
{

struct Request {
    bool verify = false;
    QString junit;             // JUnit XML report, when not empty
    SnapshotOptions snapshots; // --snapshots DIR, --update-snapshots
    bool list = false;         // --list: print the check names instead of running them
    QStringList only;          // --only: globs choosing the checks to run
    QStringList childChecks;   // set in a child process: the checks to run there
    QStringList hungMethods;   // set in a child process: methods not to call
    QString screensFile;       // --screens FILE: an author's own layout for the placement lab
    QString placementMap;      // --placement-map DIR: pictures of the placements
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
    QCommandLineOption list_;
    QCommandLineOption only_;
    QCommandLineOption child_;
    QCommandLineOption hung_;
    QCommandLineOption screens_;
    QCommandLineOption map_;
};

// What needs no display: a usage error (exit 2) or --list (exit 0), else
// nothing and the caller goes on to run().
std::optional<int> answerWithoutDisplay(const Request &request);

// Runs what the request asks for and returns the exit code: 0 when every
// check passed, 1 when one failed, 2 for a usage or output error. Needs a
// QApplication.
int run(const Target &target, const Request &request);

// The child side: runs the named checks in this process and reports each on
// standard output. Never returns.
[[noreturn]] void runChecksHere(const Target &target, const Request &request,
                                const QList<ScreenLayout> &layouts);

// The placement lab's layouts: the shipped ones and the author's, or nothing
// and why not.
std::optional<QList<ScreenLayout>> placementLayouts(const Request &request, QString *error);

} // namespace harness::verify
