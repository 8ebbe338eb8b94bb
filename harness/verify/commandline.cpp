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
      child_(hidden(QCommandLineOption(QStringLiteral("verify-checks"),
                                       QStringLiteral("Run these checks here."), QStringLiteral("names"))))
{
    parser.addOption(verify_);
    parser.addOption(junit_);
    parser.addOption(snapshots_);
    parser.addOption(update_);
    parser.addOption(child_);
}

Request CommandLine::read(const QCommandLineParser &parser) const
{
    Request request;
    request.verify = parser.isSet(verify_);
    request.junit = parser.value(junit_);
    if (parser.isSet(snapshots_)) request.snapshots.folder = QDir(parser.value(snapshots_)).absolutePath();
    request.snapshots.update = parser.isSet(update_);
    if (parser.isSet(child_))
        request.childChecks = parser.value(child_).split(QLatin1Char(','), Qt::SkipEmptyParts);
    const bool ours = parser.isSet(junit_) || parser.isSet(snapshots_) || request.snapshots.update;
    request.misplaced = !request.verify && request.childChecks.isEmpty() && ours;
    return request;
}

} // namespace harness::verify
