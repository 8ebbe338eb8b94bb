// The harness window. It hosts the balloon component Vellix1, the common
// dialog control cmd and the agent control msa, keeps the harness state and
// hands every event, the user's and those raised by changes made in code, to
// its handler through one entry, runEvent(), the only place where errors are
// caught.
#pragma once

#include "harness/handlers/colourhandlers.h"
#include "harness/handlers/harnesscontext.h"
#include "harness/handlers/messageactions.h"
#include "harness/handlers/optionhandlers.h"
#include "harness/handlers/startup.h"
#include "platform/hosting/classregistry.h"

#include "harness/isolation/componentballoons.h"
#include "harness/isolation/componentwatcher.h"
#include "harness/isolation/crashrecovery.h"

#include <QWidget>

#include <functional>
#include <memory>

namespace harness
{

// The run-time error report shown in a message box, which wraps between
// words: a word too long for a line (a path) is shortened in its middle.
QString elideLongWords(const QString &text);

class FrmMain : public QWidget
{
    Q_OBJECT
  public:
    struct Platform {
        hosting::ClassRegistry &registry;
        dialogs::MessageBoxService &messages;
        Trace &trace;
        std::function<void(int exitCode)> terminate; // ends the program
        // True while nobody is there to answer a box: the run-time error
        // report then goes to standard error instead.
        std::function<bool()> unattended;
        MessageSpeech *speech = nullptr;
        // The host processes when components run out of process, else null.
        ComponentHosts *hosts = nullptr;
    };

    FrmMain(const ProgramDescription &program, Platform platform);
    ~FrmMain() override;

    // Creates the three hosted controls. False when one could not be created
    // (the run-time error report has been shown).
    bool createControls();
    // Runs the load handler. False when it failed (reported likewise).
    bool load();

    bool terminated() const { return terminated_; }
    // Out of process: a new build of the component takes over.
    void reloadComponent();
    Controls &controls() { return controls_; }
    HarnessState &state() { return state_; }
    HostedControl *hosted(const QString &name) const;
    // The balloon of Vellix1, wherever its component runs.
    balloondriver::BalloonAccess &balloons();

    // Runs a handler for an event. An error that escapes it is shown in the
    // run-time error report and ends the program; an event raised in code
    // inside another passes its error on to the handler that raised it.
    void runEvent(const std::function<void()> &handler);
    // Told of the control behind each user event before its handler runs.
    // The control is the sender of the signal that raised runEvent().
    void setEventObserver(std::function<void(QObject *control)> observer) { observer_ = std::move(observer); }

  private:
    void connectEvents();
    void fail(int32_t number, const QString &description);
    void recover(const ComponentCrash &crash);

    const ProgramDescription &program_;
    Platform platform_;
    TracedMessageBox messages_;
    Controls controls_;
    HarnessState state_;
    std::unique_ptr<HostedControl> vellix1_, cmd_, msa_;
    std::unique_ptr<VellixFacade> vellix_;
    std::unique_ptr<CommonDialogFacade> cmdFacade_;
    std::unique_ptr<AgentFacade> msaFacade_;
    std::unique_ptr<HarnessContext> context_;
    std::unique_ptr<OptionHandlers> options_;
    std::unique_ptr<ColourHandlers> colours_;
    std::unique_ptr<MessageActions> messageActions_;
    std::unique_ptr<CrashRecovery> crashRecovery_;
    std::unique_ptr<ComponentBalloons> balloons_;
    int runningLoopLevel_ = -1; // event loop level of the running event; -1: none
    std::function<void(QObject *control)> observer_;
    bool terminated_ = false;
};

} // namespace harness
