// The character viewer.
//
//   acsview [options] [file.acs]       (--help lists the options)
//
// With a file: a window that lists and plays every animation of the
// character and exports its frames. Without one: the built-in character,
// shown the way the harness shows it (loaded under "Default", placed at
// (400, 300)). --measure shows the character the harness's way, prints how
// long it took from loading to the first frame on the screen, then quits.
// --mute keeps the sounds off; the mouth still moves when speaking. Both
// ways have a text field and a Speak button; --speak TEXT says TEXT at once.
// --list, the exports and --thumbnail work without a window or a display.
#include "agentcharacter.h"
#include "agentcontrol.h"
#include "batchcommands.h"
#include "commandline.h"
#include "component/contract.h"
#include "speakbar.h"
#include "viewerwindow.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QFileDialog>
#include <QRandomGenerator>
#include <QTextStream>

#include <cstdio>

namespace
{

using namespace component;

constexpr const char *ProgramName = "acsview";
// Qt's applications keep references to these.
int argc_ = 0;
char **argv_ = nullptr;

// Quits the application on the first paint of the watched window.
class FirstPaintWatch : public QObject
{
  public:
    explicit FirstPaintWatch(const QElapsedTimer &clock) : clock_(clock) {}

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint && !seen_) {
            seen_ = true;
            const qint64 ns = clock_.nsecsElapsed();
            std::printf("first frame painted %.2f ms after the file was chosen\n", double(ns) / 1e6);
            QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    const QElapsedTimer &clock_;
    bool seen_ = false;
};

bool report(const Result &result, const char *what)
{
    if (result.ok()) return true;
    QTextStream(stderr) << what << ": " << result.error().description << '\n';
    return false;
}

int showThroughControl(const QString &file, bool measure, bool soundOn, const QString &speak)
{
    std::shared_ptr<DispatchObject> control = agent::createAgentControl({.soundOn = soundOn});
    QElapsedTimer clock;
    clock.start();

    Args load{Value(QStringLiteral("Default"))};
    if (!file.isEmpty()) load.emplace_back(Value(file));
    if (!report(control->invoke(agent::member::CharactersLoad, CallKind::Method, load), "CharactersLoad"))
        return 1;
    Args id{Value(QStringLiteral("Default"))};
    const Result got = control->invoke(agent::member::CharactersCharacter, CallKind::Method, id);
    if (!report(got, "CharactersCharacter")) return 1;
    const ObjectRef character = std::get<ObjectRef>(got.value());

    FirstPaintWatch watch(clock);
    if (measure) static_cast<agent::AgentCharacter &>(*character).window().installEventFilter(&watch);

    Args top{Value(int16_t(300))};
    Args left{Value(int16_t(400))};
    Args none;
    character->invoke(character::Top, CallKind::PropertyPut, top);
    character->invoke(character::Left, CallKind::PropertyPut, left);
    if (!report(character->invoke(character::Show, CallKind::Method, none), "Show")) return 1;
    if (measure) return qApp->exec();

    auto &engineCharacter = static_cast<agent::AgentCharacter &>(*character);
    acsview::SpeakBar bar([&engineCharacter](const QString &text) { engineCharacter.speak(text); });
    bar.setWindowTitle(QStringLiteral("Speak - %1").arg(engineCharacter.model().name()));
    bar.resize(420, bar.sizeHint().height());
    bar.move(400, 300 + engineCharacter.window().height() + 40);
    bar.show();
    if (!speak.isNull()) engineCharacter.speak(speak);
    return qApp->exec();
}

int showViewer(const QString &file, bool soundOn, const QString &speak)
{
    QString why;
    std::unique_ptr<agent::AcsCharacter> character = agent::AcsCharacter::load(file, &why);
    if (!character) {
        std::fprintf(stderr, "%s: Cannot load the character \"%s\": %s\n", ProgramName, qPrintable(file),
                     qPrintable(why));
        return 1;
    }
    acsview::ViewerServices services{
        soundOn, sound::createSystemAudioOutput,
        [](QWidget *parent) {
            return QFileDialog::getExistingDirectory(parent, QStringLiteral("Export to folder"));
        },
        [](int bound) { return int(QRandomGenerator::global()->bounded(std::max(1, bound))); }};
    acsview::ViewerWindow window(std::move(character), std::move(services));
    window.show();
    if (!speak.isNull()) window.speak(speak);
    return qApp->exec();
}

// The commands that need no window: a character file in, files or lines out.
constexpr const char *BatchCommands[] = {"list", "export-frames", "export-sheet", "export-all", "thumbnail"};

int refuse(const QString &message)
{
    std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", ProgramName, qPrintable(message), ProgramName);
    return 2;
}

// Runs one batch command; errors go to standard error as "program: message".
int runBatch(const acsview::CommandLine &line, const char *command)
{
    const bool thumbnail = qstrcmp(command, "thumbnail") == 0;
    const QStringList values = line.values(command);
    if (thumbnail ? !line.files.isEmpty() : line.files.size() != 1)
        return refuse(line.files.isEmpty()
                          ? QStringLiteral("--%1 needs a character file.").arg(QLatin1String(command))
                          : QStringLiteral("Unexpected argument '%1'.").arg(line.files.last()));
    QCoreApplication app(argc_, argv_);
    QString errors;
    int code = 1;
    {
        QTextStream err(&errors);
        const QString file = thumbnail ? values.value(1) : line.files.first();
        QString why;
        const std::unique_ptr<agent::AcsCharacter> character = agent::AcsCharacter::load(file, &why);
        if (!character) {
            err << QStringLiteral("Cannot load the character \"%1\": %2").arg(file, why) << '\n';
        } else if (thumbnail) {
            code = acsview::writeThumbnail(*character, values.value(0), values.value(2), err);
        } else if (qstrcmp(command, "list") == 0) {
            QTextStream out(stdout);
            code = acsview::listAnimations(*character, out);
        } else if (qstrcmp(command, "export-all") == 0) {
            code = acsview::exportAllTo(*character, values.value(0), err);
        } else if (qstrcmp(command, "export-frames") == 0) {
            code = acsview::exportFramesTo(*character, values.value(0), values.value(1), err);
        } else {
            code = acsview::exportSheetTo(*character, values.value(0), values.value(1), err);
        }
    }
    for (const QString &message : errors.split(QLatin1Char('\n'), Qt::SkipEmptyParts))
        std::fprintf(stderr, "%s: %s\n", ProgramName, qPrintable(message));
    return code;
}

} // namespace

int main(int argc, char **argv)
{
    argc_ = argc;
    argv_ = argv;
    QStringList arguments;
    for (int i = 1; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    QString error;
    const std::optional<acsview::CommandLine> line = acsview::parseCommandLine(arguments, &error);
    if (!line) return refuse(error);
    if (line->isSet("help")) {
        std::fputs(qPrintable(acsview::helpText(QLatin1String(ProgramName))), stdout);
        return 0;
    }
    if (line->isSet("version")) {
        std::printf("%s %s\n", ProgramName, HARNESS_VERSION);
        return 0;
    }
    const char *command = nullptr;
    for (const char *batch : BatchCommands) {
        if (!line->isSet(batch)) continue;
        if (command)
            return refuse(QStringLiteral("--%1 and --%2 cannot be combined.")
                              .arg(QLatin1String(command), QLatin1String(batch)));
        command = batch;
    }
    if (command) return runBatch(*line, command);
    if (line->files.size() > 1)
        return refuse(QStringLiteral("Unexpected argument '%1'.").arg(line->files.last()));

    QApplication app(argc, argv);
    const bool measure = line->isSet("measure");
    const bool mute = line->isSet("mute");
    // Null when not asked to speak; an empty text is said as nothing.
    QString speak;
    if (line->isSet("speak")) speak = line->values("speak").value(0, QStringLiteral(""));
    if (line->isSet("speak") && speak.isNull()) speak = QStringLiteral("");
    const QString file = line->files.value(0);
    if (file.isEmpty() || measure) return showThroughControl(file, measure, !mute, speak);
    return showViewer(file, !mute, speak);
}
