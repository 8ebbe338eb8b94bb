#include "speaker.h"

#include "agentlog.h"
#include "speechtext.h"

#include <QElapsedTimer>

namespace speech
{

namespace
{

// The mouth is sampled this often; a phone lasts 50 ms or more.
constexpr int TickMs = 10;
// A device that stops taking samples must not keep the character talking
// for ever: the utterance ends this long after it should have.
constexpr int StallGraceMs = 2000;
// How far the clock carries a position the device has not updated.
constexpr int64_t MaxCarryMs = 500;

Speaker::Clock steadyClock()
{
    auto timer = std::make_shared<QElapsedTimer>();
    timer->start();
    return [timer] { return int64_t(timer->elapsed()); };
}

std::shared_ptr<Utterance> synthesize(Synthesizer &synthesizer, const QString &text)
{
    const SpeechText prepared = prepareSpeechText(text);
    if (prepared.cut)
        qCInfo(agent::lcAgent).noquote() << QStringLiteral("speech: text of %1 characters cut to %2")
                                                .arg(text.size())
                                                .arg(MaxSpokenCharacters);
    auto utterance = std::make_shared<Utterance>();
    if (prepared.speakable.empty()) {
        utterance->mouth = MouthTimeline::unspoken(prepared.unspokenMs);
        return utterance;
    }
    std::string error;
    std::optional<Utterance> made = synthesizer.synthesize(prepared.speakable, &error);
    if (!made) {
        qCWarning(agent::lcAgent).noquote() << "speech: cannot synthesise:" << error.c_str();
        return nullptr;
    }
    *utterance = std::move(*made);
    return utterance;
}

} // namespace

Speaker::Speaker(std::shared_ptr<Synthesizer> synthesizer, OutputSource output, Clock clock, QObject *parent)
    : QObject(parent), synthesizer_(std::move(synthesizer)), output_(std::move(output)),
      clock_(clock ? std::move(clock) : steadyClock()), worker_(new QObject)
{
    worker_->moveToThread(&thread_);
    connect(&thread_, &QThread::finished, worker_, &QObject::deleteLater);
    thread_.start();
    ticker_.setTimerType(Qt::PreciseTimer);
    ticker_.setInterval(TickMs);
    connect(&ticker_, &QTimer::timeout, this, &Speaker::tick);
}

Speaker::~Speaker()
{
    stop();
    thread_.quit();
    thread_.wait();
}

void Speaker::speak(const QString &text)
{
    if (text.trimmed().isEmpty()) return;
    ++waiting_;
    setSpeaking(true);
    QMetaObject::invokeMethod(worker_, [this, synthesizer = synthesizer_, text, generation = generation_] {
        std::shared_ptr<Utterance> utterance = synthesizer ? synthesize(*synthesizer, text) : nullptr;
        QMetaObject::invokeMethod(this, [this, generation, utterance] { received(generation, utterance); });
    });
}

void Speaker::stop()
{
    ++generation_;
    waiting_ = 0;
    ready_.clear();
    if (playingOn_) playingOn_->stopSpeech();
    playingOn_ = nullptr;
    current_.reset();
    ticker_.stop();
    setMouth(std::nullopt);
    setSpeaking(false);
}

void Speaker::silence()
{
    if (!playingOn_) return;
    const int at = std::max(0, positionMs());
    playingOn_->stopSpeech();
    playingOn_ = nullptr;
    startedMs_ = clock_() - at;
    endMs_ = current_ ? current_->mouth.durationMs() : 0;
}

void Speaker::received(uint64_t generation, std::shared_ptr<Utterance> utterance)
{
    if (generation != generation_) return;
    --waiting_;
    if (utterance) ready_.push_back(std::move(utterance));
    if (!current_) startNext();
}

void Speaker::startNext()
{
    if (ready_.empty()) {
        ticker_.stop();
        setMouth(std::nullopt);
        if (waiting_ == 0) setSpeaking(false);
        return;
    }
    current_ = std::move(ready_.front());
    ready_.pop_front();
    playingOn_ = current_->audio.data.empty() ? nullptr : output_ ? output_() : nullptr;
    if (playingOn_) playingOn_->playSpeech(current_->audio);
    startedMs_ = clock_();
    anchorPlayedUs_ = -1;
    // A device's count stops at the last sample, which may come before the
    // last phone ends.
    endMs_ = current_->mouth.durationMs();
    if (playingOn_) {
        const sound::PcmSound &audio = current_->audio;
        const size_t frameBytes =
            std::max<size_t>(1, size_t(std::max(1, audio.channels) * (audio.bitsPerSample / 8)));
        if (audio.sampleRate > 0)
            endMs_ =
                std::min<int64_t>(endMs_, int64_t(audio.data.size() / frameBytes) * 1000 / audio.sampleRate);
    }
    ticker_.start();
    tick();
}

void Speaker::tick()
{
    if (!current_) return;
    const int at = positionMs();
    const int wall = int(clock_() - startedMs_);
    if (at >= endMs_ || wall >= endMs_ + StallGraceMs) {
        finishCurrent();
        return;
    }
    setMouth(current_->mouth.at(at));
}

void Speaker::finishCurrent()
{
    if (playingOn_) playingOn_->stopSpeech();
    playingOn_ = nullptr;
    current_.reset();
    startNext();
}

int Speaker::positionMs()
{
    // The device's own count when it plays; a device that cannot take the
    // samples reports none, and then the clock stands in.
    const int64_t now = clock_();
    if (playingOn_) {
        const int64_t played = playingOn_->speechPlayedUs();
        if (played == 0) return -1; // not started: the mouth waits for the sound
        if (played > 0) {
            // A sound server reports the position now and then; in between
            // the clock carries it on.
            if (played != anchorPlayedUs_) {
                anchorPlayedUs_ = played;
                anchorMs_ = now;
            }
            return int(played / 1000 + std::min<int64_t>(now - anchorMs_, MaxCarryMs));
        }
    }
    return int(now - startedMs_);
}

void Speaker::setMouth(std::optional<acs::MouthShape> shape)
{
    if (mouth_ == shape) return;
    mouth_ = shape;
    emit mouthChanged(shape);
}

void Speaker::setSpeaking(bool speaking)
{
    if (speaking_ == speaking) return;
    speaking_ = speaking;
    emit speakingChanged(speaking);
}

} // namespace speech
