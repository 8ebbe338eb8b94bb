// Speech without a sound device: which mouth each phone gets, the mouth
// timeline of a sentence from the real synthesiser, what of a text is said,
// and the speaker's queue, stop and clocks with a scripted synthesiser.
#include "speech/mouthtimeline.h"
#include "speech/phonemouth.h"
#include "speech/speaker.h"
#include "speech/speechtext.h"

#include <QtTest>

#include <atomic>

using acs::MouthShape;
using speech::MouthCue;
using speech::PhoneEnd;

Q_DECLARE_METATYPE(acs::MouthShape)

namespace
{

// Says every text as "m aa" (100 ms each) with 300 ms of samples at 1 kHz;
// "fail" fails.
class ScriptedSynthesizer final : public speech::Synthesizer
{
  public:
    std::optional<speech::Utterance> synthesize(const std::string &text, std::string *error) override
    {
        ++calls;
        if (text == "fail") {
            *error = "scripted failure";
            return std::nullopt;
        }
        const std::vector<PhoneEnd> phones{{"m", 100}, {"aa", 200}, {"uw", 300}};
        speech::Utterance u;
        u.mouth = speech::MouthTimeline::fromPhones(phones);
        u.audio.sampleRate = 1000;
        u.audio.data.assign(600, 0);
        u.audio.data[0] = uint8_t(text.size()); // tells the utterances apart
        return u;
    }
    std::atomic<int> calls = 0;
};

// Plays nothing; the test says how far the device has got.
class FakeOutput final : public sound::AudioOutput
{
  public:
    void play(const sound::PcmSound &) override {}
    void stop() override {}
    void playSpeech(const sound::PcmSound &sound) override
    {
        started << int(sound.data.at(0));
        playedUs = 0;
    }
    void stopSpeech() override
    {
        ++stops;
        playedUs = -1;
    }
    int64_t speechPlayedUs() const override { return playedUs; }

    QList<int> started;
    int stops = 0;
    int64_t playedUs = -1;
};

struct Rig {
    std::shared_ptr<ScriptedSynthesizer> synthesizer = std::make_shared<ScriptedSynthesizer>();
    int64_t now = 1000;
    FakeOutput output;
    bool withOutput = false;
    speech::Speaker speaker{synthesizer, [this] { return withOutput ? &output : nullptr; },
                            [this] { return now; }};

    // Waits for the worker to hand back what it was given.
    bool waitForMouth()
    {
        return QTest::qWaitFor([this] { return speaker.mouth().has_value(); }, 5000);
    }
};

} // namespace

class TestSpeech : public QObject
{
    Q_OBJECT
  private slots:
    void phoneMouth_data()
    {
        QTest::addColumn<QString>("phone");
        QTest::addColumn<MouthShape>("shape");
        for (const char *closed : {"pau", "m", "b", "p"})
            QTest::newRow(closed) << QString::fromLatin1(closed) << MouthShape::Closed;
        QTest::newRow("aa (widest)") << QStringLiteral("aa") << MouthShape::Wide4;
        QTest::newRow("ay") << QStringLiteral("ay") << MouthShape::Wide3;
        QTest::newRow("eh") << QStringLiteral("eh") << MouthShape::Wide2;
        QTest::newRow("iy (least open)") << QStringLiteral("iy") << MouthShape::Wide1;
        for (const char *narrow : {"ow", "uw", "w", "oy"})
            QTest::newRow(narrow) << QString::fromLatin1(narrow) << MouthShape::Narrow;
        for (const char *medium : {"t", "s", "k", "l", "n"})
            QTest::newRow(medium) << QString::fromLatin1(medium) << MouthShape::Medium;
        QTest::newRow("unknown phone") << QStringLiteral("zz") << MouthShape::Medium;
        QTest::newRow("empty") << QString() << MouthShape::Medium;
    }
    void phoneMouth()
    {
        QFETCH(QString, phone);
        QFETCH(MouthShape, shape);
        QCOMPARE(speech::mouthForPhone(phone.toStdString()), shape);
    }

    void timelineFromPhones()
    {
        // Neighbours of one shape merge; a phone without time leaves no cue,
        // one ending before its predecessor takes none either.
        const std::vector<PhoneEnd> phones{{"hh", 50},  {"t", 90},  {"ow", 90},  {"aa", 80},
                                           {"uw", 200}, {"w", 260}, {"pau", 400}};
        const auto timeline = speech::MouthTimeline::fromPhones(phones);
        const std::vector<MouthCue> expected{
            {0, MouthShape::Medium}, {90, MouthShape::Narrow}, {260, MouthShape::Closed}};
        QCOMPARE(timeline.cues(), expected);
        QCOMPARE(timeline.durationMs(), 400);
        QCOMPARE(timeline.at(-1), MouthShape::Closed);
        QCOMPARE(timeline.at(0), MouthShape::Medium);
        QCOMPARE(timeline.at(89), MouthShape::Medium);
        QCOMPARE(timeline.at(90), MouthShape::Narrow);
        QCOMPARE(timeline.at(400), MouthShape::Closed);
        QVERIFY(speech::MouthTimeline::fromPhones({}).cues().empty());
    }

    void unspokenTimelineMovesForItsTime()
    {
        const auto timeline = speech::MouthTimeline::unspoken(1000);
        QCOMPARE(timeline.durationMs(), 1000);
        QVERIFY(timeline.cues().size() >= 5);
        QVERIFY(timeline.at(10) != MouthShape::Closed);
        QVERIFY(speech::MouthTimeline::unspoken(-5).cues().empty());
    }

    void fliteSentence()
    {
        // "Hello world" from the built-in voice: hh ax l ow w er l d pau, the
        // opening pause cut off. Times from the voice, within 40 ms.
        const auto synthesizer = speech::createFliteSynthesizer();
        std::string error;
        const std::optional<speech::Utterance> u = synthesizer->synthesize("Hello world.", &error);
        QVERIFY2(u, error.c_str());
        const std::vector<MouthCue> &cues = u->mouth.cues();
        const std::vector<MouthShape> shapes{MouthShape::Medium, MouthShape::Wide2,  MouthShape::Medium,
                                             MouthShape::Narrow, MouthShape::Medium, MouthShape::Closed};
        QCOMPARE(cues.size(), shapes.size());
        const std::array<int, 6> times{0, 75, 120, 205, 580, 755};
        for (size_t i = 0; i < cues.size(); ++i) {
            QCOMPARE(cues[i].shape, shapes[i]);
            QVERIFY2(std::abs(cues[i].atMs - times[i]) <= 40, qPrintable(QString::number(cues[i].atMs)));
        }
        // The samples last as long as the mouth moves.
        QCOMPARE(u->audio.bitsPerSample, 16);
        const int audioMs = int(u->audio.data.size() / 2 * 1000 / size_t(u->audio.sampleRate));
        QVERIFY2(std::abs(audioMs - u->mouth.durationMs()) < 60,
                 qPrintable(QStringLiteral("%1 %2").arg(audioMs).arg(u->mouth.durationMs())));
    }

    void speechText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("speakable");
        QTest::addColumn<int>("unspokenMs");
        QTest::newRow("plain") << QStringLiteral("Hello, world!") << QStringLiteral("Hello, world!") << 0;
        QTest::newRow("accents dropped") << QStringLiteral("Café naïve") << QStringLiteral("Cafe naive") << 0;
        QTest::newRow("line breaks and tabs") << QStringLiteral("a\nb\tc") << QStringLiteral("a b c") << 0;
        QTest::newRow("Cyrillic") << QStringLiteral("Привет мир") << QString() << 9 * 70;
        QTest::newRow("Hebrew, right to left") << QStringLiteral("שלום") << QString() << 4 * 70;
        QTest::newRow("emoji") << QStringLiteral("😀😀") << QString() << 2 * 70;
        QTest::newRow("mostly Latin")
            << QStringLiteral("Open the файл now") << QStringLiteral("Open the      now") << 0;
        QTest::newRow("mostly Cyrillic") << QStringLiteral("Открыть file") << QString() << 11 * 70;
    }
    void speechText()
    {
        QFETCH(QString, text);
        QFETCH(QString, speakable);
        QFETCH(int, unspokenMs);
        const speech::SpeechText prepared = speech::prepareSpeechText(text);
        QCOMPARE(QString::fromStdString(prepared.speakable), speakable);
        QCOMPARE(prepared.unspokenMs, unspokenMs);
        QVERIFY(!prepared.cut);
    }

    void hugeTextIsCut()
    {
        const speech::SpeechText prepared = speech::prepareSpeechText(QString(1 << 20, QLatin1Char('a')));
        QVERIFY(prepared.cut);
        QCOMPARE(qsizetype(prepared.speakable.size()), speech::MaxSpokenCharacters);
        // A character outside the basic plane is never cut in half.
        QString emoji = QString(speech::MaxSpokenCharacters - 1, QLatin1Char('a')) + QStringLiteral("😀");
        QVERIFY(speech::prepareSpeechText(emoji).cut);
    }

    void mouthFollowsClockWithoutDevice()
    {
        Rig rig;
        QSignalSpy speaking(&rig.speaker, &speech::Speaker::speakingChanged);
        rig.speaker.speak(QStringLiteral("hello"));
        QVERIFY(rig.speaker.speaking());
        QVERIFY(rig.waitForMouth());
        QCOMPARE(rig.speaker.mouth(), MouthShape::Closed); // "m"
        rig.now += 150;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), MouthShape::Wide4); // "aa"
        rig.now += 100;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), MouthShape::Narrow);
        rig.now += 100;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), std::nullopt);
        QVERIFY(!rig.speaker.speaking());
        QCOMPARE(speaking.size(), 2);
    }

    void mouthFollowsPlayedPosition()
    {
        Rig rig;
        rig.withOutput = true;
        rig.speaker.speak(QStringLiteral("hi"));
        QVERIFY(rig.waitForMouth());
        QCOMPARE(rig.output.started, QList<int>{2});
        // Until the device has played something the mouth stays closed,
        // whatever the clock says.
        rig.now += 150;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), MouthShape::Closed);
        // The wall clock runs ahead; the device has played 120 ms.
        rig.now += 250;
        rig.output.playedUs = 120'000;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), MouthShape::Wide4);
        // Between the device's reports the clock carries the position on.
        rig.now += 90;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), MouthShape::Narrow);
        rig.output.playedUs = 300'000;
        rig.speaker.tick();
        QVERIFY(!rig.speaker.speaking());
        QCOMPARE(rig.output.stops, 1);
    }

    void silenceGoesOnWithoutSound()
    {
        Rig rig;
        rig.withOutput = true;
        rig.speaker.speak(QStringLiteral("hi"));
        QVERIFY(rig.waitForMouth());
        rig.output.playedUs = 150'000;
        rig.speaker.tick();
        rig.speaker.silence();
        QCOMPARE(rig.output.stops, 1);
        // The mouth carries on from 150 ms on the clock.
        rig.now += 60;
        rig.speaker.tick();
        QCOMPARE(rig.speaker.mouth(), MouthShape::Narrow);
        rig.now += 100;
        rig.speaker.tick();
        QVERIFY(!rig.speaker.speaking());
    }

    void stalledDeviceEndsSpeech()
    {
        Rig rig;
        rig.withOutput = true;
        rig.speaker.speak(QStringLiteral("hi"));
        QVERIFY(rig.waitForMouth());
        rig.now += 5000; // the device never took a sample
        rig.speaker.tick();
        QVERIFY(!rig.speaker.speaking());
    }

    void queuePlaysInTurn()
    {
        Rig rig;
        rig.withOutput = true;
        rig.speaker.speak(QStringLiteral("one"));
        rig.speaker.speak(QStringLiteral("three"));
        QVERIFY(rig.waitForMouth());
        QVERIFY(QTest::qWaitFor([&] { return rig.synthesizer->calls == 2; }, 5000));
        QTest::qWait(0); // the second result is back
        QCOMPARE(rig.output.started, QList<int>{3});
        rig.output.playedUs = 300'000;
        rig.speaker.tick();
        QVERIFY(rig.speaker.speaking());
        QCOMPARE(rig.output.started, (QList<int>{3, 5}));
        rig.output.playedUs = 300'000;
        rig.speaker.tick();
        QVERIFY(!rig.speaker.speaking());
    }

    void stopMidSentence()
    {
        Rig rig;
        rig.withOutput = true;
        rig.speaker.speak(QStringLiteral("one"));
        QVERIFY(rig.waitForMouth());
        rig.speaker.speak(QStringLiteral("later"));
        rig.output.playedUs = 150'000;
        rig.speaker.tick();
        rig.speaker.stop();
        QCOMPARE(rig.speaker.mouth(), std::nullopt);
        QVERIFY(!rig.speaker.speaking());
        QCOMPARE(rig.output.stops, 1);
        // What the worker finishes after the stop is never said.
        QVERIFY(QTest::qWaitFor([&] { return rig.synthesizer->calls == 2; }, 5000));
        QTest::qWait(0);
        QCOMPARE(rig.output.started, QList<int>{3});
        QVERIFY(!rig.speaker.speaking());
    }

    void emptyTextDoesNothing()
    {
        Rig rig;
        rig.speaker.speak(QString());
        rig.speaker.speak(QStringLiteral(" \n\t"));
        QVERIFY(!rig.speaker.speaking());
        QCOMPARE(rig.synthesizer->calls, 0);
    }

    void failureIsOneLogLine()
    {
        Rig rig;
        QSignalSpy speaking(&rig.speaker, &speech::Speaker::speakingChanged);
        QTest::ignoreMessage(QtWarningMsg, "speech: cannot synthesise: scripted failure");
        rig.speaker.speak(QStringLiteral("fail"));
        QVERIFY(QTest::qWaitFor([&] { return !rig.speaker.speaking(); }, 5000));
        QCOMPARE(speaking.size(), 2);
    }
};

QTEST_GUILESS_MAIN(TestSpeech)
#include "tst_speech.moc"
