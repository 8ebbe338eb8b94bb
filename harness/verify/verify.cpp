#include "verify.h"

#include "placementmap.h"
#include "runner.h"
#include "selection.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHash>
#include <QScreen>
#include <QTemporaryDir>
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
    if (!request.screensFile.isEmpty()) arguments << QStringLiteral("--screens") << request.screensFile;
    if (!request.placementMap.isEmpty())
        arguments << QStringLiteral("--placement-map") << request.placementMap;
    return arguments;
}

// Each layout's file for the offscreen platform of its children: the
// author's own file, else a copy of the shipped one in `folder`.
std::optional<QHash<QString, QString>> layoutFiles(const QList<ScreenLayout> &layouts, const Request &request,
                                                   const QString &folder)
{
    QHash<QString, QString> files;
    for (const ScreenLayout &layout : layouts) {
        if (layout.json.isEmpty()) continue; // the display the program runs on
        if (!request.screensFile.isEmpty() &&
            layout.name == QFileInfo(request.screensFile).completeBaseName()) {
            files.insert(layout.name, request.screensFile);
            continue;
        }
        const QString path = folder + QLatin1Char('/') + layout.name + QStringLiteral(".json");
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(layout.json) != layout.json.size())
            return std::nullopt;
        files.insert(layout.name, path);
    }
    return files;
}

// A placement check's child runs on its layout; every other check's on the
// program's own platform.
QStringList platformFor(const QString &check, const QHash<QString, QString> &files)
{
    static const QString prefix = QStringLiteral("placement.");
    if (!check.startsWith(prefix)) return {};
    const QString layout = check.section(QLatin1Char('.'), 1, 1);
    if (!files.contains(layout)) return {};
    return {QStringLiteral("-platform"), QStringLiteral("offscreen:configfile=") + files.value(layout)};
}

} // namespace

std::optional<QList<ScreenLayout>> placementLayouts(const Request &request, QString *error)
{
    QList<ScreenLayout> layouts = shippedLayouts();
    // On a real display the lab also places balloons on its own screens, so
    // that what only a window system shows (its geometry, a window's mask)
    // is judged too.
    const auto *gui = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    const QString platform = gui ? QGuiApplication::platformName() : QString();
    if (gui && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal")) {
        ScreenLayout display{QStringLiteral("display"), {}, {}};
        for (const QScreen *s : QGuiApplication::screens())
            display.screens.append({s->name(), s->availableGeometry(), s->devicePixelRatio()});
        if (!display.screens.isEmpty()) layouts.append(display);
    }
    if (request.screensFile.isEmpty()) return layouts;
    const std::optional<ScreenLayout> own = readLayoutFile(request.screensFile, error);
    if (!own) return std::nullopt;
    if (std::any_of(layouts.begin(), layouts.end(),
                    [&own](const ScreenLayout &l) { return l.name == own->name; })) {
        *error = QStringLiteral("%1: a shipped layout has the name %2; rename the file")
                     .arg(request.screensFile, own->name);
        return std::nullopt;
    }
    layouts.append(*own);
    return layouts;
}

namespace
{

void usageError(const QString &message)
{
    std::fputs(qPrintable(message + QLatin1Char('\n')), stderr);
}

// The checks the request selects, or nothing after naming a pattern that
// matches none.
std::optional<QStringList> selectedChecks(const Request &request, const QList<ScreenLayout> &layouts)
{
    QStringList names;
    for (const Check &check : checkCatalog(request.snapshots, layouts))
        names.append(check.name);
    QString error;
    QStringList selected = selectChecks(names, request.only, &error);
    if (!error.isEmpty()) {
        usageError(QStringLiteral("--only: %1").arg(error));
        return std::nullopt;
    }
    return selected;
}

// The layouts, or nothing after saying why the author's is refused.
std::optional<QList<ScreenLayout>> layoutsOrError(const Request &request)
{
    QString error;
    std::optional<QList<ScreenLayout>> layouts = placementLayouts(request, &error);
    if (!layouts) usageError(QStringLiteral("--screens: %1").arg(error));
    return layouts;
}

} // namespace

std::optional<int> answerWithoutDisplay(const Request &request)
{
    if (!request.childChecks.isEmpty()) return std::nullopt;
    if (request.misplaced) {
        usageError(QStringLiteral("--junit, --snapshots, --update-snapshots, --list, --only, --screens and "
                                  "--placement-map go with --verify"));
        return 2;
    }
    if (request.snapshots.update && request.snapshots.folder.isEmpty()) {
        usageError(QStringLiteral("--update-snapshots needs --snapshots DIR"));
        return 2;
    }
    const std::optional<QList<ScreenLayout>> layouts = layoutsOrError(request);
    if (!layouts) return 2;
    // A run selects once the display is up: it may add the display's layout.
    if (!request.list) return std::nullopt;
    const std::optional<QStringList> names = selectedChecks(request, *layouts);
    if (!names) return 2;
    QByteArray out;
    for (const QString &name : *names)
        out += name.toUtf8() + '\n';
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    std::fflush(stdout);
    return 0;
}

int run(const Target &target, const Request &request)
{
    const std::optional<QList<ScreenLayout>> layouts = layoutsOrError(request);
    if (!layouts) return 2;
    if (!request.childChecks.isEmpty()) runChecksHere(target, request, *layouts);
    if (const std::optional<int> code = answerWithoutDisplay(request)) return *code;
    QElapsedTimer clock;
    clock.start();
    const std::optional<QStringList> selected = selectedChecks(request, *layouts);
    if (!selected) return 2;
    const QStringList &names = *selected;
    if (!request.placementMap.isEmpty() && !QDir().mkpath(request.placementMap)) {
        usageError(QStringLiteral("--placement-map: cannot make %1").arg(request.placementMap));
        return 2;
    }
    const QTemporaryDir folder;
    const std::optional<QHash<QString, QString>> files = layoutFiles(*layouts, request, folder.path());
    if (!folder.isValid() || !files) {
        std::fputs("Cannot write the screen layouts to a temporary folder\n", stderr);
        return 2;
    }
    RunnerLimits limits;
    limits.workers = std::clamp(QThread::idealThreadCount(), 1, maxWorkers);
    Runner runner(
        names, childArguments(request), limits, [](const CheckResult &r) { printLine(lineFor(r)); },
        [&files](const QString &check) { return platformFor(check, *files); });
    const QList<CheckResult> &results = runner.run();
    const auto failed = int(std::count_if(results.begin(), results.end(),
                                          [](const CheckResult &r) { return !r.outcome.passed; }));
    printLine(QStringLiteral("%1 passed, %2 failed").arg(results.size() - failed).arg(failed));
    QString mapError;
    if (!request.placementMap.isEmpty() && !placement::drawMaps(request.placementMap, *layouts, &mapError)) {
        std::fprintf(stderr, "--placement-map: %s\n", qPrintable(mapError));
        return 2;
    }
    if (!request.junit.isEmpty() && !writeJUnit(request.junit, results, clock.elapsed(), failed)) {
        std::fprintf(stderr, "Cannot write %s\n", qPrintable(QFileInfo(request.junit).absoluteFilePath()));
        return 2;
    }
    return failed == 0 ? 0 : 1;
}

} // namespace harness::verify
