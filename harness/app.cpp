#include "app.h"

#include "controltable.h"
#include "firstpaintexit.h"
#include "frmmain.h"
#include "platform/agent/agentcontrol.h"
#include "platform/dialogs/commondialog.h"
#include "platform/dialogs/dialogprovider.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFileInfo>
#include <QTimer>

#include <cstdio>

namespace harness
{

namespace
{

struct Options {
    std::optional<QString> character; // answer to the start-up file dialog
    QString trace;
    bool quitWhenReady = false;
};

Options parseCommandLine(const QApplication &app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("Interactive test harness for a balloon message component."));
    parser.addHelpOption();
    parser.addVersionOption();
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
        QStringLiteral("Quit as soon as start-up has finished (for timing and "
                       "smoke tests)."));
    parser.addOption(character);
    parser.addOption(trace);
    parser.addOption(quitWhenReady);
    parser.process(app);

    Options options;
    if (parser.isSet(character)) {
        const QString file = parser.value(character);
        // A real dialog answers with an absolute path.
        options.character = file.isEmpty() ? file : QFileInfo(file).absoluteFilePath();
    }
    options.trace = parser.value(trace);
    options.quitWhenReady = parser.isSet(quitWhenReady);
    return options;
}

} // namespace

int runHarness(int argc, char **argv, const ProgramDescription &program)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(program.programName);
    QApplication::setApplicationDisplayName(program.displayName);
    QApplication::setApplicationVersion(QStringLiteral(HARNESS_VERSION));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/harness/bulb.ico")));

    const Options options = parseCommandLine(app);
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

    dialogs::QtDialogProvider qtDialogs;
    std::unique_ptr<dialogs::DialogProvider> preset;
    if (options.character) preset = std::make_unique<dialogs::PresetFirstOpen>(qtDialogs, *options.character);
    dialogs::DialogProvider &dialogProvider =
        preset ? *preset : static_cast<dialogs::DialogProvider &>(qtDialogs);
    dialogs::QtMessageBox messageBoxes;

    hosting::ClassRegistry registry;
    registry.addBuiltin(QStringLiteral("MSComDlg.CommonDialog"),
                        [&](const component::NamedValues &, QString *) {
                            return std::make_shared<dialogs::CommonDialog>(dialogProvider);
                        });
    registry.addBuiltin(
        QStringLiteral("AgentObjectsCtl.Agent"),
        [](const component::NamedValues &, QString *) { return agent::createAgentControl(); });
    registry.setPluginFolders(hosting::ClassRegistry::overridingFoldersFromEnvironment(),
                              hosting::ClassRegistry::bundledFolders());

    FrmMain window(program, {registry, messageBoxes, trace, [](int code) { QCoreApplication::exit(code); }});
    if (!window.createControls() || !window.load()) return 1;
    window.move(toPixels(DesignLeftTwips), toPixels(DesignTopTwips));
    window.show();
    qtDialogs.setParent(&window);
    messageBoxes.setParent(&window);
    window.controls().button("cmbMsgShow").setFocus();
    QTimer::singleShot(0, &window, [&trace, quit = options.quitWhenReady] {
        trace.ready();
        if (quit) QCoreApplication::quit();
    });
    return app.exec();
}

} // namespace harness
