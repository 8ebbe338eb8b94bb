#include "verify.h"

#include "runner.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QXmlStreamWriter>

#include <algorithm>

#include <cstdio>

namespace harness::verify
{

namespace
{

constexpr int maxWorkers = 4;

QString lineFor(const CheckResult &r)
{
    if (r.outcome.passed) return r.name + QStringLiteral(" PASS");
    return QStringLiteral("%1 FAIL: expected %2, got %3").arg(r.name, r.outcome.expected, r.outcome.got);
}

void printLine(const QString &line)
{
    std::fputs(qPrintable(line + QLatin1Char('\n')), stdout);
    std::fflush(stdout);
}

bool writeJUnit(const QString &file, const QList<CheckResult> &results, qint64 totalMs, int failed)
{
    QFile out(file);
    if (!out.open(QIODevice::WriteOnly | QIODevice::Truncate)) return false;
    const QString suite = QCoreApplication::applicationName() + QStringLiteral(" --verify");
    QXmlStreamWriter xml(&out);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    xml.writeStartElement(QStringLiteral("testsuite"));
    xml.writeAttribute(QStringLiteral("name"), suite);
    xml.writeAttribute(QStringLiteral("tests"), QString::number(results.size()));
    xml.writeAttribute(QStringLiteral("failures"), QString::number(failed));
    xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("time"), QString::number(double(totalMs) / 1000.0, 'f', 3));
    for (const CheckResult &r : results) {
        xml.writeStartElement(QStringLiteral("testcase"));
        xml.writeAttribute(QStringLiteral("classname"), suite);
        xml.writeAttribute(QStringLiteral("name"), r.name);
        xml.writeAttribute(QStringLiteral("time"), QString::number(double(r.milliseconds) / 1000.0, 'f', 3));
        if (!r.outcome.passed) {
            xml.writeStartElement(QStringLiteral("failure"));
            xml.writeAttribute(QStringLiteral("message"),
                               QStringLiteral("expected %1, got %2").arg(r.outcome.expected, r.outcome.got));
            xml.writeEndElement();
        }
        xml.writeEndElement();
    }
    xml.writeEndElement();
    xml.writeEndElement();
    xml.writeEndDocument();
    return out.flush() && !xml.hasError();
}

QStringList childArguments(const Request &request)
{
    QStringList arguments;
    if (!request.snapshots.folder.isEmpty())
        arguments << QStringLiteral("--snapshots") << request.snapshots.folder;
    if (request.snapshots.update) arguments << QStringLiteral("--update-snapshots");
    return arguments;
}

} // namespace

int run(const Target &target, const Request &request)
{
    if (!request.childChecks.isEmpty()) runChecksHere(target, request);
    if (request.misplaced) {
        std::fputs("--junit, --snapshots and --update-snapshots go with --verify\n", stderr);
        return 2;
    }
    if (request.snapshots.update && request.snapshots.folder.isEmpty()) {
        std::fputs("--update-snapshots needs --snapshots DIR\n", stderr);
        return 2;
    }
    QElapsedTimer clock;
    clock.start();
    QStringList names;
    for (const Check &check : checkCatalog(request.snapshots))
        names.append(check.name);
    RunnerLimits limits;
    limits.workers = std::clamp(QThread::idealThreadCount(), 1, maxWorkers);
    Runner runner(names, childArguments(request), limits,
                  [](const CheckResult &r) { printLine(lineFor(r)); });
    const QList<CheckResult> &results = runner.run();
    const auto failed = int(std::count_if(results.begin(), results.end(),
                                          [](const CheckResult &r) { return !r.outcome.passed; }));
    printLine(QStringLiteral("%1 passed, %2 failed").arg(results.size() - failed).arg(failed));
    if (!request.junit.isEmpty() && !writeJUnit(request.junit, results, clock.elapsed(), failed)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(QFileInfo(request.junit).absoluteFilePath()));
        return 2;
    }
    return failed == 0 ? 0 : 1;
}

} // namespace harness::verify
