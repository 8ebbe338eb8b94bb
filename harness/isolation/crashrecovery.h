// What the harness does when a component's process ends under a call: one
// report (the component file, the call, how it ended, the last lines it
// wrote to standard error), one trace line, and the component started again
// with the stored settings and the options put since start-up. Three crashes
// within a minute stop the automatic restarts.
#pragma once

#include "componenthosts.h"
#include "harness/base/componentcrash.h"
#include "platform/dialogs/messagebox.h"

#include <QString>

#include <deque>
#include <functional>

namespace harness
{

class HostedControl;
class Trace;

// The name of a member of the component's contract, or its identifier.
QString memberName(const component::MethodIds &methods, component::DispId id);

// Counts crashes in a sliding minute.
class RestartLimit
{
  public:
    static constexpr int Crashes = 3;
    static constexpr qint64 WindowMs = 60000;
    // Notes a crash at nowMs; false when it is the third within the window.
    bool allow(qint64 nowMs);
    void reset() { times_.clear(); }

  private:
    std::deque<qint64> times_;
};

class CrashRecovery
{
  public:
    struct Platform {
        ComponentHosts &hosts;
        Trace &trace;
        dialogs::MessageBoxService &messages; // traced
        std::function<bool()> unattended;
        // A new instance of the control's class from the stored settings.
        std::function<hosting::Created()> create;
        std::function<qint64()> clockMs;
    };
    explicit CrashRecovery(Platform platform) : p_(std::move(platform)) {}

    // Reports the crash and starts the component again (or leaves it
    // stopped). False when the program is to end: nobody is there to read a
    // report.
    bool recover(HostedControl &control, const ComponentCrash &crash);

    static QString describeCall(const ComponentCrash &crash);

    // A call has not returned for waitedMs: true to wait on. Unattended,
    // a hang is given up at once, as a crash.
    bool waitOn(const QString &member, int waitedMs);

    // A new build of the component: a new host takes over with the
    // options put so far. One that fails to load is reported and the old
    // one keeps running.
    void reload(HostedControl &control);

  private:
    void restart(HostedControl &control);

    Platform p_;
    RestartLimit limit_;
    QString lastReport_;
};

} // namespace harness
