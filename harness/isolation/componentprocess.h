// A component running in a host process of its own: the host program
// started on a socket pair, its standard error kept (its last lines go into a
// crash report) and passed on, and how it ended.
#pragma once

#include "platform/balloondriver/balloonaccess.h"
#include "platform/hosting/classregistry.h"
#include "platform/hosting/remote/channel.h"

#include <QProcess>
#include <QStringList>

#include <deque>
#include <memory>

class QSocketNotifier;

namespace harness
{

class ComponentProcess
{
  public:
    struct Settings {
        QString hostProgram; // the host executable
        QStringList wrapper; // a tool to run it under (valgrind, gdb --args), or empty
        bool waitForDebugger = false;
        int hangTimeoutMs = 5000; // a call without an answer this long is asked about; 0: never
    };
    // The installed layout, <bin>/../lib/balloon-harness/, which the build
    // tree keeps too; the wrapper from HARNESS_HOST_WRAPPER.
    static Settings defaultSettings();

    // Starts a host for the component file. Null with *error saying why
    // (and naming --in-process as the way out) when it cannot start.
    static std::unique_ptr<ComponentProcess> start(const QString &file, const Settings &settings,
                                                   QString *error);
    ~ComponentProcess();
    ComponentProcess(const ComponentProcess &) = delete;
    ComponentProcess &operator=(const ComponentProcess &) = delete;

    hosting::Created create(const QString &classId, const component::NamedValues &stored);
    // Asks for the instance now; the create() with the same class and
    // settings takes it, so that the host loads the component meanwhile.
    void createAhead(const QString &classId, const component::NamedValues &stored);
    // The balloon on the host's screen, read and answered inside the host;
    // null when the host cannot serve it.
    balloondriver::BalloonAccess *balloons();
    // Tells this process from any other the harness ever started.
    int serial() const { return serial_; }

    const QString &file() const { return file_; }
    hosting::Channel &channel() { return *channel_; }
    qint64 processId() const { return process_.processId(); }

    // After the channel broke: waits for the process's end and says how it
    // ended, "signal SIGSEGV" or "exit code 3".
    QString howEnded();
    QStringList lastErrorLines() const { return {lines_.begin(), lines_.end()}; }
    // Ends the process (a hang given up on).
    void kill();
    bool killedForHanging() const { return killed_; }

  private:
    ComponentProcess() = default;
    void drainErrors();

    QString file_;
    QProcess process_;
    std::shared_ptr<hosting::Channel> channel_;
    int errorFd_ = -1;
    std::unique_ptr<QSocketNotifier> errorNotifier_;
    QByteArray partialLine_;
    bool killed_ = false;
    std::deque<QString> lines_;
    std::unique_ptr<balloondriver::BalloonAccess> balloons_;
    struct Ahead {
        uint32_t seq;
        QString classId;
        component::NamedValues stored;
    };
    std::optional<Ahead> ahead_;
    int serial_ = 0;
};

} // namespace harness
