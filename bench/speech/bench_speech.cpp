// Speech on a real sound server: how long from speak() to the first sample
// coming out of the server and to the first mouth change, and how far the
// mouth is from the sound at the end of a long text. The server's output is
// recorded with parec from its monitor; each recorded chunk is stamped as it
// arrives, which places every recorded sample on the same clock as the mouth.
//
//   bench_speech SINK RUNS
//
// Each run speaks a ten-word sentence and, interleaved with it, plays the
// same samples straight through the audio output (the floor: what the sound
// path costs without synthesis). Then one text of about a minute is spoken
// and the drift between mouth and sound is taken at its last mouth change.
#include "sound/audiooutput.h"
#include "speech/speaker.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QProcess>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace
{

constexpr int Rate = 16000;
constexpr int Loud = 300; // above the server's dither, far below speech

const QString TenWords = QStringLiteral("Please read the message in the balloon beside me now.");
const QString Paragraph = QStringLiteral(
    "The balloon shows a heading, a text and the buttons the program asked for. "
    "It points at the character and stays on its screen, whatever the size of the text. "
    "When the user answers, the harness reports which button was pressed and what was typed. ");

QElapsedTimer wall;

double nowMs()
{
    return double(wall.nsecsElapsed()) / 1e6;
}

// The monitor's samples with the time each arrived.
class Recorder
{
  public:
    explicit Recorder(const QString &sink)
    {
        parec_.setProgram(QStringLiteral("parec"));
        parec_.setArguments({QStringLiteral("-d"), sink + QStringLiteral(".monitor"), QStringLiteral("--raw"),
                             QStringLiteral("--format=s16le"), QStringLiteral("--rate=16000"),
                             QStringLiteral("--channels=1"), QStringLiteral("--latency-msec=5")});
        QObject::connect(&parec_, &QProcess::readyReadStandardOutput, [this] { read(); });
        parec_.start();
    }
    ~Recorder()
    {
        parec_.kill();
        parec_.waitForFinished(1000);
    }
    bool running() { return parec_.waitForStarted(3000); }

    // Index of the first loud sample from `from` on, or -1.
    qsizetype firstLoud(qsizetype from) const
    {
        for (qsizetype i = from; i < qsizetype(samples_.size()); ++i)
            if (std::abs(samples_[size_t(i)]) > Loud) return i;
        return -1;
    }
    // When the sample came out of the server, in ms of `wall`.
    double timeOf(qsizetype index) const
    {
        auto chunk = std::lower_bound(ends_.begin(), ends_.end(), index + 1,
                                      [](const Chunk &c, qsizetype i) { return c.end < i; });
        if (chunk == ends_.end()) return NAN;
        return chunk->arrivedMs - double(chunk->end - 1 - index) * 1000.0 / Rate;
    }
    qsizetype size() const { return qsizetype(samples_.size()); }

  private:
    struct Chunk {
        qsizetype end;
        double arrivedMs;
    };
    void read()
    {
        const double at = nowMs();
        pending_ += parec_.readAllStandardOutput();
        const qsizetype whole = pending_.size() / 2;
        for (qsizetype i = 0; i < whole; ++i)
            samples_.push_back(int16_t(uint8_t(pending_[2 * i]) | uint8_t(pending_[2 * i + 1]) << 8));
        pending_.remove(0, whole * 2);
        if (whole > 0) ends_.push_back({qsizetype(samples_.size()), at});
    }

    QProcess parec_;
    QByteArray pending_;
    std::vector<int16_t> samples_;
    std::vector<Chunk> ends_;
};

void spin(double ms)
{
    const double until = nowMs() + ms;
    while (nowMs() < until)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

struct Times {
    double sound = NAN;
    double mouth = NAN;
};

// speak() to the first loud sample out and to the first mouth shape.
Times speakOnce(Recorder &recorder, sound::AudioOutput &output, const QString &text, int waitMs)
{
    speech::Speaker speaker(speech::createFliteSynthesizer(), [&output] { return &output; });
    Times times;
    QObject::connect(&speaker, &speech::Speaker::mouthChanged, [&](std::optional<acs::MouthShape> shape) {
        // The mouth waits closed for the sound; the first open shape is the first move.
        if (shape && shape != acs::MouthShape::Closed && std::isnan(times.mouth)) times.mouth = nowMs();
    });
    const qsizetype from = recorder.size();
    const double start = nowMs();
    speaker.speak(text);
    spin(waitMs);
    speaker.stop();
    const qsizetype loud = recorder.firstLoud(from);
    if (loud >= 0) times.sound = recorder.timeOf(loud) - start;
    times.mouth -= start;
    spin(150);
    return times;
}

// The floor: the same path without synthesis, play() to the first loud sample.
double playOnce(Recorder &recorder, sound::AudioOutput &output, const sound::PcmSound &samples)
{
    const qsizetype from = recorder.size();
    const double start = nowMs();
    output.playSpeech(samples);
    spin(600);
    output.stopSpeech();
    const qsizetype loud = recorder.firstLoud(from);
    spin(150);
    return loud >= 0 ? recorder.timeOf(loud) - start : NAN;
}

double median(std::vector<double> v)
{
    std::erase_if(v, [](double x) { return std::isnan(x); });
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

double quantile(std::vector<double> v, double q)
{
    std::erase_if(v, [](double x) { return std::isnan(x); });
    if (v.empty()) return NAN;
    std::sort(v.begin(), v.end());
    return v[size_t(std::lround(q * double(v.size() - 1)))];
}

void row(const char *figure, const std::vector<double> &ours, const std::vector<double> &base,
         const char *goal)
{
    std::vector<double> ratios;
    for (size_t i = 0; i < ours.size() && i < base.size(); ++i)
        ratios.push_back(ours[i] / base[i]);
    std::printf("%-46s %9.1f %9.1f %6.2f %5.2f..%-5.2f   %s\n", figure, median(ours), median(base),
                median(ratios), quantile(ratios, 0.25), quantile(ratios, 0.75), goal);
}

// The drift at the last mouth change of a long text: when the mouth changed
// against when the sound reached that point.
double driftOnce(Recorder &recorder, sound::AudioOutput &output, const QString &text, double *lengthMs)
{
    auto synthesizer = std::shared_ptr<speech::Synthesizer>(speech::createFliteSynthesizer());
    std::string error;
    const std::optional<speech::Utterance> utterance = synthesizer->synthesize(text.toStdString(), &error);
    if (!utterance || utterance->mouth.cues().size() < 2) return NAN;
    *lengthMs = utterance->mouth.durationMs();

    speech::Speaker speaker(synthesizer, [&output] { return &output; });
    struct Change {
        double at;
        acs::MouthShape shape;
    };
    std::vector<Change> changes;
    QObject::connect(&speaker, &speech::Speaker::mouthChanged, [&](std::optional<acs::MouthShape> shape) {
        if (shape) changes.push_back({nowMs(), *shape});
    });
    const qsizetype from = recorder.size();
    speaker.speak(text);
    spin(*lengthMs + 1500);
    const qsizetype loud = recorder.firstLoud(from);
    if (loud < 0 || changes.size() < 22) return NAN;
    // Speech starts at its first phone, not a pause, so the first loud
    // sample marks its start within a few milliseconds. For each of the
    // last twenty changes: where the sound was then, against the time of
    // the nearest cue of that shape.
    const double soundStart = recorder.timeOf(loud);
    std::vector<double> drifts;
    for (size_t i = changes.size() - 21; i + 1 < changes.size(); ++i) {
        const double heard = changes[i].at - soundStart;
        double best = NAN;
        for (const speech::MouthCue &cue : utterance->mouth.cues())
            if (cue.shape == changes[i].shape &&
                (std::isnan(best) || std::abs(heard - cue.atMs) < std::abs(best)))
                best = heard - cue.atMs;
        drifts.push_back(best);
    }
    return median(drifts);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: bench_speech SINK RUNS\n");
        return 2;
    }
    const QString sink = QString::fromLocal8Bit(argv[1]);
    const int runs = std::max(1, std::atoi(argv[2]));
    wall.start();
    const std::unique_ptr<sound::AudioOutput> output = sound::createSystemAudioOutput();
    if (!output) {
        std::fprintf(stderr, "no audio device: is the sound server running?\n");
        return 1;
    }
    Recorder recorder(sink);
    if (!recorder.running()) {
        std::fprintf(stderr, "parec does not start\n");
        return 1;
    }
    spin(500); // the recording is flowing

    std::string error;
    const std::optional<speech::Utterance> floorSamples =
        speech::createFliteSynthesizer()->synthesize(TenWords.toStdString(), &error);
    if (!floorSamples) return 1;

    std::vector<double> sound, mouth, floor;
    speakOnce(recorder, *output, TenWords, 600); // warm-up: the voice loads
    for (int i = 0; i < runs; ++i) {
        const Times t = speakOnce(recorder, *output, TenWords, 600);
        sound.push_back(t.sound);
        mouth.push_back(t.mouth);
        floor.push_back(playOnce(recorder, *output, floorSamples->audio));
    }
    std::printf("%-46s %9s %9s %6s %-11s   %s\n", "figure (ms)", "speech", "floor", "ratio", "spread",
                "goal");
    row("speak() to first sample out, ten words", sound, floor, "< 150 ms");
    row("speak() to mouth first opening, ten words", mouth, floor, "< 150 ms");

    QString minute;
    while (minute.size() < 900)
        minute += Paragraph;
    std::vector<double> drifts;
    double lengthMs = 0;
    for (int i = 0; i < std::max(3, runs / 4); ++i)
        drifts.push_back(driftOnce(recorder, *output, minute, &lengthMs));
    std::printf("%-46s %9.1f  (text of %.1f s; %zu runs, %.1f..%.1f)   goal |drift| < 40 ms\n",
                "mouth minus sound at the end of the text", median(drifts), lengthMs / 1000.0, drifts.size(),
                quantile(drifts, 0.25), quantile(drifts, 0.75));
    return 0;
}
