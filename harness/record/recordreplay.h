// What --record and --replay add to a run, in one place: the seams they
// decorate or replace, and the outcome of a replay.
#pragma once

#include "platform/dialogs/dialogprovider.h"
#include "platform/dialogs/messagebox.h"

#include <memory>

namespace harness
{
class FrmMain;
class Trace;
struct ProgramDescription;
} // namespace harness

namespace harness::record
{

class Recorder;
class Replayer;

class RecordReplay
{
  public:
    struct Files {
        QString record, replay; // empty: not asked for
    };

    // Nothing, with the error, when a file cannot be read or written or the
    // recording is bad. Without files the session passes everything through.
    static std::unique_ptr<RecordReplay> open(const Files &files, const ProgramDescription &program,
                                              Trace &trace, dialogs::DialogProvider &dialogs,
                                              dialogs::MessageBoxService &boxes, QString *error);
    ~RecordReplay();

    // The seams the window and the common dialog control are to use.
    dialogs::DialogProvider &dialogs() { return *dialogs_; }
    dialogs::MessageBoxService &messages() { return *messages_; }

    // After start-up: records the window's events, or checks the recording
    // against the window and replays it once the event loop runs. False,
    // with the error, when the recording does not fit the window.
    bool attach(FrmMain &window, QString *error);
    // The program's exit code: a replay's outcome, else the run's own.
    int finish(int exitCode);

  private:
    RecordReplay() = default;

    const ProgramDescription *program_ = nullptr;
    std::unique_ptr<Recorder> recorder_;
    std::unique_ptr<Replayer> replayer_;
    std::unique_ptr<dialogs::DialogProvider> recordingDialogs_;
    std::unique_ptr<dialogs::MessageBoxService> recordingBoxes_;
    dialogs::DialogProvider *dialogs_ = nullptr;
    dialogs::MessageBoxService *messages_ = nullptr;
};

} // namespace harness::record
