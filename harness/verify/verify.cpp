#include "verify.h"

#include "runner.h"
#include "selection.h"

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

namespace
{

void usageError(const QString &message)
{
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

// The checks the request selects, or nothing after naming a pattern that
// matches none.
std::optional<QStringList> selectedChecks(const Request &request)
{
    QStringList names;
    for (const Check &check : checkCatalog(request.snapshots))
        names.append(check.name);
    QString error;
    QStringList selected = selectChecks(names, request.only, &error);
    if (!error.isEmpty()) {
        usageError(QStringLiteral("--only: %1").arg(error));
        return std::nullopt;
    }
    return selected;
}

} // namespace

std::optional<int> answerWithoutDisplay(const Request &request)
{
    if (!request.childChecks.isEmpty()) return std::nullopt;
    if (request.misplaced) {
        usageError(
            QStringLiteral("--junit, --snapshots, --update-snapshots, --list and --only go with --verify"));
        return 2;
    }
    if (request.snapshots.update && request.snapshots.folder.isEmpty()) {
        usageError(QStringLiteral("--update-snapshots needs --snapshots DIR"));
        return 2;
    }
    const std::optional<QStringList> names = selectedChecks(request);
    if (!names) return 2;
    if (!request.list) return std::nullopt;
    QByteArray out;
    for (const QString &name : *names)
        out += name.toUtf8() + '\n';
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fflush(stdout);
    return 0;
}

int run(const Target &target, const Request &request)
{
    if (!request.childChecks.isEmpty()) runChecksHere(target, request);
    if (const std::optional<int> code = answerWithoutDisplay(request)) return *code;
    QElapsedTimer clock;
    clock.start();
    const QStringList names = selectedChecks(request).value_or(QStringList());
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
