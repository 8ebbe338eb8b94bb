// Says texts one after another. Synthesis runs on a worker thread of its
// own, never in the event loop; an utterance plays through the audio output's
// speech voice and the mouth follows the position the device has played.
// Without an output (no device, or sound off) the mouth follows a clock and
// nothing is heard. Texts given while one is said wait their turn; stop()
// ends all of it at once.
#pragma once

#include "sound/audiooutput.h"
#include "synthesizer.h"

#include <QObject>
#include <QThread>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>
#include <optional>

namespace speech
{

class Speaker : public QObject
{
    Q_OBJECT
  public:
    // The output to speak through at the moment, or null for silence.
    using OutputSource = std::function<sound::AudioOutput *()>;
    // Milliseconds on a steady clock.
    using Clock = std::function<int64_t()>;

    Speaker(std::shared_ptr<Synthesizer> synthesizer, OutputSource output, Clock clock = {},
            QObject *parent = nullptr);
    ~Speaker() override;

    void speak(const QString &text);
    void stop();
    // Sound off: what is being said goes on without sound, the mouth on the
    // clock from where the sound was.
    void silence();

    // Something is being said or waits to be.
    bool speaking() const { return speaking_; }
    // The shape now, none when nothing is being said.
    std::optional<acs::MouthShape> mouth() const { return mouth_; }
    // Reads the played position and moves the mouth; a timer calls it while
    // an utterance plays.
    void tick();

  signals:
    void speakingChanged(bool speaking);
    void mouthChanged(std::optional<acs::MouthShape> shape);

  private:
    void received(uint64_t generation, std::shared_ptr<Utterance> utterance);
    void startNext();
    void finishCurrent();
    int positionMs();
    void setMouth(std::optional<acs::MouthShape> shape);
    void setSpeaking(bool speaking);

    std::shared_ptr<Synthesizer> synthesizer_;
    OutputSource output_;
    Clock clock_;
    QThread thread_;
    QObject *worker_; // lives in thread_
    QTimer ticker_;

    uint64_t generation_ = 0; // results of an older generation were stopped
    int waiting_ = 0;         // texts given to the worker, not back yet
    std::deque<std::shared_ptr<Utterance>> ready_;
    std::shared_ptr<Utterance> current_;
    sound::AudioOutput *playingOn_ = nullptr;
    int64_t startedMs_ = 0;
    int endMs_ = 0;
    int64_t anchorPlayedUs_ = -1; // the device's last reported position
    int64_t anchorMs_ = 0;        // and when it changed to it
    bool speaking_ = false;
    std::optional<acs::MouthShape> mouth_;
};

} // namespace speech
