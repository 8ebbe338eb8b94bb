// Writes a session recording while a person uses the harness: the control
// events from the window's event entry, the dialog and message box answers
// from decorators around those seams, and every trace line with the modal
// balloon answers read from the method results in it.
#pragma once

#include "platform/balloondriver/balloonaccess.h"
#include "platform/dialogs/dialogprovider.h"
#include "platform/dialogs/messagebox.h"
#include "recordingformat.h"

#include <QIODevice>

#include <memory>

class QObject;

namespace harness
{
struct Controls;
}

namespace harness::record
{

class Recorder
{
  public:
    // Writes the header at once. Nothing when the file cannot be written.
    static std::unique_ptr<Recorder> open(const QString &file, const QString &program, QString *error);
    explicit Recorder(std::unique_ptr<QIODevice> out, const QString &program);

    // From here on control events are recorded; the text boxes' texts now
    // are the ones a later change is measured against. balloons tells
    // whether a balloon is up at an event.
    void watch(const Controls &controls, balloondriver::BalloonAccess &balloons);
    // The control whose user event the window is about to handle.
    void controlEvent(QObject *control);
    void traceLine(const QString &line);
    void fileAnswer(const std::optional<QString> &file) { write(fileAnswerLine(file)); }
    void colourAnswer(const std::optional<QColor> &colour) { write(colourAnswerLine(colour)); }
    void messageBoxAnswer(int button) { write(messageBoxAnswerLine(button)); }
    void end() { write(endLine()); }

  private:
    void write(const QByteArray &line);
    void recordTypedText();
    std::optional<ControlEvent> describe(QObject *control) const;

    std::unique_ptr<QIODevice> out_;
    const Controls *controls_ = nullptr;
    balloondriver::BalloonAccess *balloons_ = nullptr;
    QString caption_, text_; // as last recorded
};

class RecordingDialogs final : public dialogs::DialogProvider
{
  public:
    RecordingDialogs(dialogs::DialogProvider &next, Recorder &recorder) : next_(next), recorder_(recorder) {}
    std::optional<QString> openFile(const QString &title, const QString &filter,
                                    const QString &initialFile) override;
    std::optional<QColor> pickColor(const QColor &initial) override;

  private:
    dialogs::DialogProvider &next_;
    Recorder &recorder_;
};

class RecordingMessageBoxes final : public dialogs::MessageBoxService
{
  public:
    RecordingMessageBoxes(dialogs::MessageBoxService &next, Recorder &recorder)
        : next_(next), recorder_(recorder)
    {
    }
    int show(const QString &text, int style, const std::optional<QString> &title) override;

  private:
    dialogs::MessageBoxService &next_;
    Recorder &recorder_;
};

} // namespace harness::record
