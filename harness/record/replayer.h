// Replays a session recording unattended: performs its control events on the
// window one after another, answers dialogs and message boxes from it,
// answers each modal balloon through the accessibility interface, then
// compares the trace the replay wrote with the recorded one.
//
// Nothing waits on a person: a step that neither shows a balloon nor returns
// within the time limit fails the replay; a balloon the recording has no
// answer for is closed.
#pragma once

#include "platform/balloondriver/balloonaccess.h"
#include "platform/dialogs/dialogprovider.h"
#include "platform/dialogs/messagebox.h"
#include "recordingformat.h"

#include <QElapsedTimer>
#include <QObject>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

class QTextStream;
class QWidget;

namespace harness
{
struct Controls;
}

namespace harness::record
{

class Watchdog;

class Replayer : public QObject
{
  public:
    struct Limits {
        int stepMs = 10000; // a step's wait for a balloon or for the component to return
        // Also end the process when the component blocks without an event
        // loop (twice stepMs), which no timer can see.
        bool endHungProcess = false;
    };

    Replayer(Recording recording, Limits limits);
    ~Replayer() override;

    dialogs::DialogProvider &dialogs();
    dialogs::MessageBoxService &messages();

    // Checks the recording against the program and the window's controls.
    // False, with an error naming the line, when it cannot be replayed.
    bool check(const QString &program, const Controls &controls, QString *error) const;
    // Starts performing the control events, answering balloons through
    // balloons; whenDone runs after the last one.
    void start(const Controls &controls, balloondriver::BalloonAccess &balloons,
               std::function<void()> whenDone);
    void traceLine(const QString &line) { replayed_ << line; }

    bool failed() const { return !error_.isEmpty(); }
    QString error() const { return error_; }
    // After the run: 0 the traces are identical, 1 they differ (the first
    // difference written to out), 2 the replay failed (written to err).
    int finish(QTextStream &out, QTextStream &err) const;

  private:
    class Dialogs;
    class MessageBoxes;

    void step();
    void perform(const ControlEvent &event);
    void poll();
    void fail(const QString &why);
    void note(const QString &what);

    Recording recording_;
    Limits limits_;
    std::unique_ptr<Dialogs> dialogs_;
    std::unique_ptr<MessageBoxes> boxes_;
    std::unique_ptr<Watchdog> watchdog_;
    Answers pending_; // for the step under way
    const Controls *controls_ = nullptr;
    std::function<void()> whenDone_;
    size_t next_ = 0;
    int stepLine_ = 0;
    bool insideStep_ = false;
    QElapsedTimer stepClock_;
    QTimer poll_;
    balloondriver::BalloonAccess *balloons_ = nullptr;
    int answered_ = 0; // the last balloon answered
    QStringList replayed_;
    QString error_;
    QStringList notes_;
};

} // namespace harness::record
