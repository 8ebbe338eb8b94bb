#include "recordreplay.h"

#include "harness/window/frmmain.h"
#include "recorder.h"
#include "replayer.h"

#include <QCoreApplication>
#include <QFile>
#include <QTextStream>

#include <cstdio>

namespace harness::record
{

namespace
{

std::unique_ptr<Replayer> openReplay(const QString &file, QString *error)
{
    QFile in(file);
    if (!in.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("Cannot read the recording %1: %2").arg(file, in.errorString());
        return nullptr;
    }
    QString why;
    std::optional<Recording> recording = parseRecording(in.readAll(), &why);
    if (!recording) {
        *error = QStringLiteral("Bad recording %1: %2").arg(file, why);
        return nullptr;
    }
    return std::make_unique<Replayer>(std::move(*recording), Replayer::Limits{10000, true});
}

} // namespace

std::unique_ptr<RecordReplay> RecordReplay::open(const Files &files, const ProgramDescription &program,
                                                 Trace &trace, dialogs::DialogProvider &dialogs,
                                                 dialogs::MessageBoxService &boxes, QString *error)
{
    std::unique_ptr<RecordReplay> s(new RecordReplay);
    s->program_ = &program;
    s->dialogs_ = &dialogs;
    s->messages_ = &boxes;
    if (!files.record.isEmpty() && !files.replay.isEmpty()) {
        *error = QStringLiteral("--record and --replay cannot be used together");
        return nullptr;
    }
    if (!files.record.isEmpty()) {
        s->recorder_ = Recorder::open(files.record, program.programName, error);
        if (!s->recorder_) return nullptr;
        s->recordingDialogs_ = std::make_unique<RecordingDialogs>(dialogs, *s->recorder_);
        s->recordingBoxes_ = std::make_unique<RecordingMessageBoxes>(boxes, *s->recorder_);
        s->dialogs_ = s->recordingDialogs_.get();
        s->messages_ = s->recordingBoxes_.get();
        trace.setTap([r = s->recorder_.get()](const QString &line) { r->traceLine(line); });
    }
    if (!files.replay.isEmpty()) {
        s->replayer_ = openReplay(files.replay, error);
        if (!s->replayer_) return nullptr;
        s->dialogs_ = &s->replayer_->dialogs();
        s->messages_ = &s->replayer_->messages();
        trace.setTap([r = s->replayer_.get()](const QString &line) { r->traceLine(line); });
    }
    return s;
}

RecordReplay::~RecordReplay() = default;

bool RecordReplay::attach(FrmMain &window, QString *error)
{
    if (recorder_) {
        recorder_->watch(window.controls(), window.balloons());
        window.setEventObserver([r = recorder_.get()](QObject *control) { r->controlEvent(control); });
    }
    if (replayer_) {
        if (!replayer_->check(program_->programName, window.controls(), error)) return false;
        replayer_->start(window.controls(), window.balloons(), [] { QCoreApplication::quit(); });
    }
    return true;
}

int RecordReplay::finish(int exitCode)
{
    if (recorder_) recorder_->end();
    if (!replayer_) return exitCode;
    QTextStream out(stdout), err(stderr);
    return replayer_->finish(out, err);
}

} // namespace harness::record
