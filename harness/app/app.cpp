#include "app.h"

#include "endsignals.h"
#include "firstpaintexit.h"
#include "harness/base/storedsettings.h"
#include "harness/controls/controltable.h"
#include "harness/controls/layoutfont.h"
#include "harness/isolation/componenthosts.h"
#include "harness/look/indicatorcachestyle.h"
#include "harness/look/pngresource.h"
#include "harness/record/recordreplay.h"
#include "harness/verify/verify.h"
#include "harness/window/accessibleframes.h"
#include "harness/window/frmmain.h"
#include "harness/window/windowplacement.h"
#include "platform/dialogs/dialogprovider.h"
#include "platform/dialogs/unattendedanswers.h"
#include "platform/platformclasses.h"
#include "platform/platformwarnings.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace harness
{

namespace
{

// Where a component runs unless --in-process or --out-of-process says.
constexpr bool OutOfProcessByDefault = true;
constexpr int DefaultHangMs = 5000;
// A host run under a tool (valgrind, rr) is that much slower.
constexpr int WrappedHangFactor = 10;

struct Options {
    std::optional<QString> character; // answer to the start-up file dialog
    QString trace;
    bool quitWhenReady = false;
    bool mute = false;
    bool platformChosen = false; // -platform given
    QString componentFolder;     // --component, absolute
    bool outOfProcess = false;   // components run in a host process of their own
    bool waitForDebugger = false;
    std::optional<int> hangTimeoutMs; // default: DefaultHangMs
    bool reload = true;               // out of process, a new build of the component takes over
    verify::Request verify;
    record::RecordReplay::Files session;
};

// What parsing decided: run with these options, or end at once with a code.
struct CommandLine {
    Options options;
    std::optional<int> exitCode;
};

// Qt's own options with a value, which QApplication takes out of the command
// line; accepted here so that they are not refused before it sees them.
constexpr const char *QtValueOptions[] = {
    "platform",   "platformpluginpath", "platformtheme", "plugin",       "display",     "style",
    "stylesheet", "qwindowgeometry",    "geometry",      "qwindowtitle", "qwindowicon", "session"};

QCommandLineOption hidden(QCommandLineOption option)
{
    option.setFlags(QCommandLineOption::HiddenFromHelp);
    return option;
}

// Parses without a QCoreApplication, so that --help, --version and a refused
// command line need no display.
CommandLine parseCommandLine(int argc, char **argv, const ProgramDescription &program)
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);

    QCommandLineParser parser;
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Interactive test harness for a balloon message component.\n\n"
                       "Components are looked for in the folders of HARNESS_COMPONENT_PATH (absolute,\n"
                       "separated by ':') or in the folder --component names, then among the built-in\n"
                       "classes and in components/ beside the program."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help and quit."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     QStringLiteral("Show the version and quit."));
    const QCommandLineOption character(
        QStringLiteral("character"),
        QStringLiteral(
            "Answer the start-up character dialog with <file>; an empty value answers it as a cancel."),
        QStringLiteral("file"));
    const QCommandLineOption trace(
        QStringLiteral("trace"),
        QStringLiteral("Write every call and message box as JSON lines to <file> (- for "
                       "standard output)."),
        QStringLiteral("file"));
    const QCommandLineOption quitWhenReady(
        QStringLiteral("quit-when-ready"),
        QStringLiteral("Quit as soon as start-up has finished (for timing and smoke tests); an error before "
                       "then is written to standard error instead of a message box."));
    const QCommandLineOption recordTo(
        QStringLiteral("record"),
        QStringLiteral("Record what you do on the window, with the trace, as JSON lines to <file>."),
        QStringLiteral("file"));
    const QCommandLineOption replay(QStringLiteral("replay"),
                                    QStringLiteral("Replay the recording <file> unattended and compare "
                                                   "its trace: exit 0 identical, 1 different, 2 failed."),
                                    QStringLiteral("file"));
    const QCommandLineOption component(
        QStringLiteral("component"),
        QStringLiteral("Look for components in <dir> first, as HARNESS_COMPONENT_PATH=<dir> does; a relative "
                       "<dir> is taken from the current folder."),
        QStringLiteral("dir"));
    const QCommandLineOption mute(QStringLiteral("mute"), QStringLiteral("Keep the character's sounds off."));
    const QCommandLineOption inProcess(
        QStringLiteral("in-process"),
        QStringLiteral(
            "Load the component into the harness's own process (to debug both under one debugger)."));
    const QCommandLineOption outOfProcess(
        QStringLiteral("out-of-process"),
        QStringLiteral("Run the component in a host process of its own, which a crash of the component does "
                       "not take down (the default). HARNESS_HOST_WRAPPER runs the host under a tool, e.g. "
                       "\"valgrind --error-exitcode=1\"."));
    const QCommandLineOption waitForDebugger(
        QStringLiteral("wait-for-debugger"),
        QStringLiteral("Print the component host's process id and wait until a debugger attaches to it."));
    const QCommandLineOption hangTimeout(
        QStringLiteral("hang-timeout"),
        QStringLiteral("Out of process, ask whether to end the component when a call has not returned "
                       "after <seconds> (default 5)."),
        QStringLiteral("seconds"));
    const QCommandLineOption noReload(
        QStringLiteral("no-reload"),
        QStringLiteral("Out of process, keep the component loaded when its file is rebuilt."));
    parser.addOptions({help, version, character, trace, quitWhenReady, recordTo, replay, component, mute,
                       inProcess, outOfProcess, waitForDebugger, hangTimeout, noReload});
    const verify::CommandLine verifyOptions(parser);
    for (const char *name : QtValueOptions)
        parser.addOption(hidden(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value"))));
    parser.addOption(hidden(QCommandLineOption(QStringLiteral("reverse"))));

    CommandLine result;
    const QString programName = program.programName;
    auto refuse = [&](const QString &message) {
        std::fprintf(stderr, "%s: %s\nTry '%s --help'.\n", qPrintable(programName), qPrintable(message),
                     qPrintable(programName));
        result.exitCode = 2;
        return result;
    };
    if (!parser.parse(arguments)) return refuse(parser.errorText());
    if (!parser.positionalArguments().isEmpty())
        return refuse(QStringLiteral("Unexpected argument '%1'.").arg(parser.positionalArguments().first()));
    if (parser.isSet(help)) {
        QString text = parser.helpText();
        text.replace(QLatin1String("<executable_name>"), programName);
        std::fputs(qPrintable(text), stdout);
        result.exitCode = 0;
        return result;
    }
    if (parser.isSet(version)) {
        std::printf("%s %s\n", qPrintable(programName), HARNESS_VERSION);
        result.exitCode = 0;
        return result;
    }

    Options &options = result.options;
    if (parser.isSet(character)) {
        const QString file = parser.value(character);
        // A real dialog answers with an absolute path.
        options.character = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
    }
    if (parser.isSet(component)) {
        const QFileInfo folder(parser.value(component));
        if (!folder.isDir())
            return refuse(QStringLiteral("No folder '%1' for --component.").arg(folder.filePath()));
        options.componentFolder = folder.absoluteFilePath();
    }
    options.trace = parser.value(trace);
    options.quitWhenReady = parser.isSet(quitWhenReady);
    options.session = {parser.value(recordTo), parser.value(replay)};
    options.mute = parser.isSet(mute);
    if (parser.isSet(inProcess) && parser.isSet(outOfProcess))
        return refuse(QStringLiteral("--in-process and --out-of-process exclude each other."));
    options.waitForDebugger = parser.isSet(waitForDebugger);
    options.reload = !parser.isSet(noReload);
    if (parser.isSet(hangTimeout)) {
        bool ok = false;
        const double seconds = parser.value(hangTimeout).toDouble(&ok);
        if (!ok || seconds <= 0 || seconds > 86400)
            return refuse(QStringLiteral("--hang-timeout wants a number of seconds, not '%1'.")
                              .arg(parser.value(hangTimeout)));
        options.hangTimeoutMs = int(seconds * 1000);
    }
    options.outOfProcess = parser.isSet(outOfProcess) || options.waitForDebugger ||
                           (OutOfProcessByDefault && !parser.isSet(inProcess));
    options.platformChosen = parser.isSet(QStringLiteral("platform"));
    options.verify = verifyOptions.read(parser);
    return result;
}

// Characters and balloons are placed at absolute screen positions, which
// only X11 allows: on a Wayland session run through XWayland unless the user
// chose a platform.
void preferX11OnWayland(const Options &options)
{
    if (options.platformChosen || qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) return;
    if (qEnvironmentVariableIsSet("WAYLAND_DISPLAY") ||
        qEnvironmentVariable("XDG_SESSION_TYPE") == QLatin1String("wayland"))
        qputenv("QT_QPA_PLATFORM", "xcb");
}

} // namespace

int runHarness(int argc, char **argv, const ProgramDescription &program)
{
    const CommandLine commandLine = parseCommandLine(argc, argv, program);
    if (commandLine.exitCode) return *commandLine.exitCode;
    const Options &options = commandLine.options;
    // Child processes of --verify inherit it.
    if (!options.componentFolder.isEmpty())
        qputenv("HARNESS_COMPONENT_PATH", QFile::encodeName(options.componentFolder));
    if (options.verify.wanted())
        if (const std::optional<int> code = verify::answerWithoutDisplay(options.verify)) return *code;
    preferX11OnWayland(options);

    QApplication app(argc, argv);
    platform::dropUnsupportedFeatureWarnings();
    QApplication::setApplicationName(program.programName);
    QApplication::setApplicationVersion(QStringLiteral(HARNESS_VERSION));
    // PNG rather than an icon file, which needs Qt's icon plugin at start-up.
    QIcon bulb;
    bulb.addPixmap(QPixmap::fromImage(readPng(QStringLiteral(":/harness/bulb-32.png"))));
    bulb.addPixmap(QPixmap::fromImage(readPng(QStringLiteral(":/harness/bulb-16.png"))));
    QApplication::setWindowIcon(bulb);
    if (options.verify.wanted())
        return verify::run({program.componentClass, program.methods, storedSettings(program)},
                           options.verify);
    hosting::ClassRegistry registry;
    registry.setPluginFolders(hosting::ClassRegistry::overridingFoldersFromEnvironment(),
                              hosting::ClassRegistry::bundledFolders());
    ComponentProcess::Settings hostSettings = ComponentProcess::defaultSettings();
    hostSettings.waitForDebugger = options.waitForDebugger;
    // Under a debugger a call takes as long as the person at it.
    const int hangMs = options.hangTimeoutMs.value_or(
        hostSettings.wrapper.isEmpty() ? DefaultHangMs : DefaultHangMs * WrappedHangFactor);
    hostSettings.hangTimeoutMs = options.waitForDebugger ? 0 : hangMs;
    ComponentHosts hosts(hostSettings);

    QApplication::setFont(layoutFont());
    QApplication::setStyle(new IndicatorCacheStyle(QApplication::style()));
    announceWindowsAsFrames();

    exitAfterFirstPaintIfAsked();
    Trace trace;
    if (!options.trace.isEmpty()) {
        QString error;
        std::optional<Trace> opened = Trace::open(options.trace, &error);
        if (!opened) {
            std::fprintf(stderr, "%s\n", qPrintable(error));
            return 2;
        }
        trace = std::move(*opened);
    }

    // Until start-up is over an unattended run has nobody to answer a box.
    bool ready = false;
    auto unattended = [&ready, quit = options.quitWhenReady] { return quit && !ready; };
    dialogs::QtDialogProvider qtDialogs;
    dialogs::QtMessageBox qtBoxes;
    dialogs::UnattendedAnswers answers(qtDialogs, qtBoxes, unattended, [&program](const QString &line) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(program.programName), qPrintable(line));
    });
    // Unattended, the start-up character dialog is answered as a cancel, as
    // --character "" does; a replay answers it from its recording.
    std::optional<QString> character = options.character;
    if (!character && options.quitWhenReady && options.session.replay.isEmpty()) character = QString();
    std::unique_ptr<dialogs::DialogProvider> preset;
    if (character) preset = std::make_unique<dialogs::PresetFirstOpen>(answers, *character);
    dialogs::DialogProvider &dialogProvider =
        preset ? *preset : static_cast<dialogs::DialogProvider &>(answers);
    QString sessionError;
    const std::unique_ptr<record::RecordReplay> session =
        record::RecordReplay::open(options.session, program, trace, dialogProvider, answers, &sessionError);
    if (!session) {
        std::fprintf(stderr, "%s\n", qPrintable(sessionError));
        return 2;
    }

    // As early as the command line is known to be good: the host starts up
    // while the window is built.
    if (options.outOfProcess)
        if (const QString file = registry.pluginFileFor(program.componentClass); !file.isEmpty())
            hosts.prestart(file, program.componentClass, storedSettings(program));
    platform::registerPlatformClasses(registry, session->dialogs(), platform::agentEngine(!options.mute));
    QWidget *mainWindow = nullptr;
    if (options.outOfProcess) {
        hosts.setModalPolicy(modalPolicy(program.methods, [&mainWindow](bool entering) {
            // The window takes no input while a modal balloon is up; the
            // character goes on moving, since the event loop runs.
            if (mainWindow) mainWindow->setEnabled(!entering);
        }));
        registry.setPluginCreator(
            [&hosts](const QString &file, const QString &classId, const component::NamedValues &stored) {
                return hosts.create(file, classId, stored);
            });
    }

    // An unattended run neither speaks nor touches the stored choice.
    const bool unattendedRun = options.quitWhenReady || !options.session.replay.isEmpty();
    MessageSpeech speech(
        unattendedRun ? nullptr
                      : std::make_unique<QSettings>(QStringLiteral("balloon-harness"), program.programName),
        unattendedRun);

    FrmMain window(program,
                   {registry, session->messages(), trace, [](int code) { QCoreApplication::exit(code); },
                    unattended, &speech, options.outOfProcess ? &hosts : nullptr});
    mainWindow = &window;
    if (!window.createControls() || !window.load()) return 1;
    speech.attach(window.state().AgentCharacter);
    window.move(startPosition(window));
    window.show();
    qtDialogs.setParent(&window);
    qtBoxes.setParent(&window);
    window.controls().button("cmbMsgShow").setFocus();
    QTimer::singleShot(0, &window, [&trace, &ready, quit = options.quitWhenReady] {
        ready = true;
        trace.ready();
        if (quit) QCoreApplication::quit();
    });
    // Ended from outside as by closing the window: every loop, a modal
    // balloon's too, ends and the session writes its last lines.
    std::optional<ComponentWatcher> watcher;
    if (options.outOfProcess && options.reload)
        if (const QString file = registry.pluginFileFor(program.componentClass); !file.isEmpty())
            watcher.emplace(file, [&window] { window.reloadComponent(); });
    const EndSignals endSignals([&window](int) {
        window.close();
        QCoreApplication::exit(0);
    });
    if (!session->attach(window, &sessionError)) {
        std::fprintf(stderr, "%s\n", qPrintable(sessionError));
        return 2;
    }
    return session->finish(app.exec());
}

} // namespace harness
