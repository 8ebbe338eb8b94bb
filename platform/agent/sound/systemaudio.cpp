// The system's audio device through Qt Multimedia, built as a module of its
// own: Qt Multimedia brings a sound server client and a dozen codec libraries,
// which the programs then only load when a character first plays a sound.
#include "audiooutput.h"

#include <QAudioDevice>
#include <QAudioFormat>
#include <QAudioSink>
#include <QBuffer>
#include <QMediaDevices>

namespace sound
{

namespace
{

QAudioFormat formatOf(const PcmSound &sound)
{
    QAudioFormat format;
    format.setChannelCount(sound.channels);
    format.setSampleRate(sound.sampleRate);
    format.setSampleFormat(sound.bitsPerSample == 8 ? QAudioFormat::UInt8 : QAudioFormat::Int16);
    return format;
}

// Plays from memory: the decoded samples sit in a buffer the sink reads.
class Voice
{
  public:
    ~Voice() { stop(); }

    bool play(const QAudioDevice &device, const PcmSound &sound)
    {
        stop();
        const QAudioFormat format = formatOf(sound);
        // A device that cannot take the format leaves the character silent
        // rather than playing noise.
        if (!device.isFormatSupported(format)) return false;
        samples_.setData(reinterpret_cast<const char *>(sound.data.data()), qsizetype(sound.data.size()));
        samples_.open(QIODevice::ReadOnly);
        sink_ = std::make_unique<QAudioSink>(device, format);
        sink_->start(&samples_);
        return true;
    }

    void stop()
    {
        if (sink_) sink_->stop();
        sink_.reset();
        samples_.close();
    }

    int64_t playedUs() const { return sink_ ? sink_->processedUSecs() : -1; }

  private:
    QBuffer samples_;
    std::unique_ptr<QAudioSink> sink_;
};

class SystemAudioOutput final : public AudioOutput
{
  public:
    explicit SystemAudioOutput(QAudioDevice device) : device_(std::move(device)) {}

    void play(const PcmSound &sound) override { sound_.play(device_, sound); }
    void stop() override { sound_.stop(); }
    void playSpeech(const PcmSound &sound) override { speech_.play(device_, sound); }
    void stopSpeech() override { speech_.stop(); }
    int64_t speechPlayedUs() const override { return speech_.playedUs(); }

  private:
    QAudioDevice device_;
    Voice sound_;
    Voice speech_;
};

// Qt's audio back end warns on the console when no sound server runs; for a
// character that only means "no device", so those lines are dropped while
// looking. Everything else goes on to the handler in place.
QtMessageHandler outerHandler = nullptr;

void dropSoundServerWarnings(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.startsWith(QLatin1StringView("PulseAudioService"))) return;
    if (outerHandler) outerHandler(type, context, message);
}

QAudioDevice quietDefaultOutput()
{
    outerHandler = qInstallMessageHandler(dropSoundServerWarnings);
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    qInstallMessageHandler(outerHandler);
    return device;
}

} // namespace

} // namespace sound

extern "C" Q_DECL_EXPORT sound::AudioOutput *createAgentAudioOutput()
{
    const QAudioDevice device = sound::quietDefaultOutput();
    if (device.isNull()) return nullptr;
    return new sound::SystemAudioOutput(device);
}
