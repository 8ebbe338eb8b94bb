#include "verify.h"

#include <QDir>

namespace harness::verify
{

namespace
{

QCommandLineOption hidden(QCommandLineOption option)
{
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

} // namespace

CommandLine::CommandLine(QCommandLineParser &parser)
    : verify_(QStringLiteral("verify"),
              QStringLiteral("Check unattended that the component keeps the contract; one line per check.")),
      junit_(QStringLiteral("junit"),
             QStringLiteral("With --verify: also write the results as JUnit XML to <file>."),
             QStringLiteral("file")),
      snapshots_(QStringLiteral("snapshots"),
                 QStringLiteral("With --verify: compare pictures of balloons with the PNG files in <dir>."),
                 QStringLiteral("dir")),
      update_(QStringLiteral("update-snapshots"),
              QStringLiteral("With --verify --snapshots: write the pictures instead of comparing them.")),
      list_(QStringLiteral("list"),
            QStringLiteral("With --verify: print the names of the checks, one a line, and quit.")),
      only_(QStringLiteral("only"),
            QStringLiteral("With --verify: run only the checks whose names match one of the comma-separated "
                           "shell-style <patterns>."),
            QStringLiteral("patterns")),
      child_(hidden(QCommandLineOption(QStringLiteral("verify-checks"),
                                       QStringLiteral("Run these checks here."), QStringLiteral("names")))),
      hung_(hidden(QCommandLineOption(QStringLiteral("verify-hung"),
                                      QStringLiteral("Fail the modal calls of these methods at once."),
                                      QStringLiteral("methods")))),
      screens_(
          QStringLiteral("screens"),
          QStringLiteral("With --verify: also place balloons on the monitor layout in <file> (JSON as Qt's "
                         "offscreen platform takes it)."),
          QStringLiteral("file")),
      map_(QStringLiteral("placement-map"),
           QStringLiteral("With --verify: draw each layout's placements into <dir>/<layout>.png."),
           QStringLiteral("dir"))
{
    parser.addOption(verify_);
    parser.addOption(junit_);
    parser.addOption(snapshots_);
    parser.addOption(update_);
    parser.addOption(list_);
    parser.addOption(only_);
    parser.addOption(child_);
    parser.addOption(hung_);
    parser.addOption(screens_);
    parser.addOption(map_);
}

Request CommandLine::read(const QCommandLineParser &parser) const
{
    Request request;
    request.verify = parser.isSet(verify_);
    request.junit = parser.value(junit_);
    if (parser.isSet(snapshots_)) request.snapshots.folder = QDir(parser.value(snapshots_)).absolutePath();
    request.snapshots.update = parser.isSet(update_);
    request.list = parser.isSet(list_);
    if (parser.isSet(only_)) request.only = parser.value(only_).split(QLatin1Char(','));
    if (parser.isSet(child_))
        request.childChecks = parser.value(child_).split(QLatin1Char(','), Qt::SkipEmptyParts);
    request.hungMethods = parser.value(hung_).split(QLatin1Char(','), Qt::SkipEmptyParts);
    if (parser.isSet(screens_)) request.screensFile = QDir(parser.value(screens_)).absolutePath();
    if (parser.isSet(map_)) request.placementMap = QDir(parser.value(map_)).absolutePath();
    const bool ours = parser.isSet(junit_) || parser.isSet(snapshots_) || request.snapshots.update ||
                      request.list || parser.isSet(only_) || parser.isSet(screens_) || parser.isSet(map_);
    request.misplaced = !request.verify && request.childChecks.isEmpty() && ours;
    return request;
}

} // namespace harness::verify
