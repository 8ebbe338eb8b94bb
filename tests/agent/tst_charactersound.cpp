// Character sounds: decoding the stored WAVE files, which sound starts with
// which frame, muting, a system without an audio device, damaged sounds, and
// the character's right-click menu. Sounds go to a recording output, never to
// a real device.
#include "acscharacter.h"
#include "agentcharacter.h"
#include "agentcontrol.h"
#include "fixturecharacter.h"
#include "wavedecoder.h"

#include <QApplication>
#include <QRegularExpression>
#include <QtTest>

using namespace component;

namespace
{

using Bytes = std::vector<uint8_t>;

void append16(Bytes &out, uint16_t v)
{
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}

void append32(Bytes &out, uint32_t v)
{
    append16(out, uint16_t(v));
    append16(out, uint16_t(v >> 16));
}

Bytes chunk(const char *id, const Bytes &body)
{
    Bytes out(id, id + 4);
    append32(out, uint32_t(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
    return out;
}

Bytes riff(const std::vector<Bytes> &chunks)
{
    Bytes body{'W', 'A', 'V', 'E'};
    for (const Bytes &c : chunks)
        body.insert(body.end(), c.begin(), c.end());
    return chunk("RIFF", body);
}

Bytes format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t blockAlign, uint16_t bits,
             const Bytes &extra = {})
{
    Bytes f;
    append16(f, tag);
    append16(f, channels);
    append32(f, rate);
    append32(f, rate * blockAlign);
    append16(f, blockAlign);
    append16(f, bits);
    f.insert(f.end(), extra.begin(), extra.end());
    return chunk("fmt ", f);
}

// The ADPCM extension: size, samples per block and the standard seven predictors.
Bytes adpcmExtra(uint16_t coefficientCount = 7)
{
    static const int16_t pairs[7][2] = {{256, 0}, {512, -256}, {0, 0},     {192, 64},
                                        {240, 0}, {460, -208}, {392, -232}};
    Bytes e;
    append16(e, uint16_t(4 + 4 * coefficientCount));
    append16(e, 4);
    append16(e, coefficientCount);
    for (int i = 0; i < coefficientCount && i < 7; ++i) {
        append16(e, uint16_t(pairs[i][0]));
        append16(e, uint16_t(pairs[i][1]));
    }
    return e;
}

// One mono ADPCM block: predictor, delta 16, newest sample 100, older 50, codes.
Bytes adpcmBlock(uint8_t predictor, uint8_t codes)
{
    Bytes b{predictor};
    append16(b, 16);
    append16(b, 100);
    append16(b, 50);
    b.push_back(codes);
    return b;
}

Bytes samples16(std::initializer_list<int16_t> values)
{
    Bytes out;
    for (int16_t v : values)
        append16(out, uint16_t(v));
    return out;
}

QByteArray toBytes(const Bytes &b)
{
    return QByteArray(reinterpret_cast<const char *>(b.data()), qsizetype(b.size()));
}

// Records what would have been played, with the frame on screen at the time.
struct PlayLog {
    QList<int> rates;
    int outputsMade = 0;
};

class RecordingOutput final : public sound::AudioOutput
{
  public:
    explicit RecordingOutput(PlayLog &log) : log_(log) {}
    void play(const sound::PcmSound &sound) override { log_.rates << sound.sampleRate; }
    void stop() override {}

  private:
    PlayLog &log_;
};

sound::AudioOutputFactory recordingFactory(PlayLog &log)
{
    return [&log]() -> std::unique_ptr<sound::AudioOutput> {
        ++log.outputsMade;
        return std::make_unique<RecordingOutput>(log);
    };
}

std::unique_ptr<agent::AcsCharacter> soundCharacter()
{
    auto loaded = acs::Character::load(fixture::soundCharacterFile());
    return loaded ? std::make_unique<agent::AcsCharacter>(std::move(loaded.value())) : nullptr;
}

const QRegularExpression BrokenSoundLine(QStringLiteral("skipping sound 1 of Fixture : no format chunk"));

} // namespace

class TestCharacterSound : public QObject
{
    Q_OBJECT

  private slots:
    void decodesWave_data();
    void decodesWave();
    void refusesWave_data();
    void refusesWave();
    void soundStartsWithItsFrame();
    void mutedCharacterStaysSilent();
    void missingDeviceIsNoError();
    void damagedSoundIsReportedOnce();
    void systemDeviceLookupReportsNothing();
    void controlSwitchesSound();
    void menuOffersAnimationsSoundAndHide();
};

void TestCharacterSound::decodesWave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<int>("channels");
    QTest::addColumn<int>("bits");
    QTest::addColumn<QByteArray>("pcm");

    const Bytes pcm8{0x80, 0x90, 0x70};
    QTest::newRow("8-bit PCM") << toBytes(riff({format(1, 1, 11025, 1, 8), chunk("data", pcm8)})) << 1 << 8
                               << toBytes(pcm8);
    QTest::newRow("format after a fact chunk, odd chunk padded")
        << toBytes(riff({chunk("fact", {1, 2, 3}), format(1, 1, 11025, 1, 8), chunk("data", pcm8)})) << 1 << 8
        << toBytes(pcm8);
    const Bytes pcm16 = samples16({1000, -1000, 5, -5});
    QTest::newRow("16-bit stereo PCM")
        << toBytes(riff({format(1, 2, 22050, 4, 16), chunk("data", pcm16)})) << 2 << 16 << toBytes(pcm16);
    QTest::newRow("16-bit PCM with half a sample left over")
        << toBytes(riff({format(1, 1, 8000, 2, 16), chunk("data", {1, 0, 2})})) << 1 << 16
        << toBytes(samples16({1}));
    // Codes 1 and 2 after 100 and 50 with the first predictor: 100 + 16, then 116 + 32.
    QTest::newRow("ADPCM, stored samples then decoded ones")
        << toBytes(riff({format(2, 1, 8000, 8, 4, adpcmExtra()), chunk("data", adpcmBlock(0, 0x12))})) << 1
        << 16 << toBytes(samples16({50, 100, 116, 148}));
    // Code 8 is -8: 100 - 128, and the delta grows to 48, so code 15 (-1) gives -28 - 48.
    QTest::newRow("ADPCM, negative codes")
        << toBytes(riff({format(2, 1, 8000, 8, 4, adpcmExtra()), chunk("data", adpcmBlock(0, 0x8f))})) << 1
        << 16 << toBytes(samples16({50, 100, -28, -76}));
}

void TestCharacterSound::decodesWave()
{
    QFETCH(QByteArray, file);
    QFETCH(int, channels);
    QFETCH(int, bits);
    QFETCH(QByteArray, pcm);
    std::string why;
    const auto decoded =
        sound::decodeWave({reinterpret_cast<const uint8_t *>(file.constData()), size_t(file.size())}, &why);
    QVERIFY2(decoded, why.c_str());
    QCOMPARE(decoded->channels, channels);
    QCOMPARE(decoded->bitsPerSample, bits);
    QCOMPARE(toBytes(decoded->data), pcm);
}

void TestCharacterSound::refusesWave_data()
{
    QTest::addColumn<QByteArray>("file");
    QTest::addColumn<QString>("reason");
    const Bytes data = chunk("data", {1, 2});
    QTest::newRow("empty") << QByteArray() << "not a RIFF WAVE file";
    QTest::newRow("another RIFF kind") << QByteArray("RIFF\x04\0\0\0AVI ", 12) << "not a RIFF WAVE file";
    QTest::newRow("no format chunk") << toBytes(riff({data})) << "no format chunk";
    QTest::newRow("no data chunk") << toBytes(riff({format(1, 1, 8000, 1, 8)})) << "no data chunk";
    Bytes overlong = riff({format(1, 1, 8000, 1, 8), data});
    overlong[overlong.size() - 6] = 0x40; // the data chunk claims 64 bytes
    QTest::newRow("chunk past the end") << toBytes(overlong) << "runs past the end";
    QTest::newRow("short format chunk") << toBytes(riff({chunk("fmt ", {1, 0, 1, 0}), data})) << "too short";
    QTest::newRow("compressed format") << toBytes(riff({format(0x55, 1, 8000, 1, 0), data}))
                                       << "format 85 with 0 bits per sample is not supported";
    QTest::newRow("three channels") << toBytes(riff({format(1, 3, 8000, 3, 8), data})) << "3 channels";
    QTest::newRow("no sample rate") << toBytes(riff({format(1, 1, 0, 1, 8), data})) << "0 Hz";
    QTest::newRow("ADPCM without predictors")
        << toBytes(riff({format(2, 1, 8000, 8, 4), data})) << "lacks its coefficients";
    Bytes shortExtra = adpcmExtra(7);
    shortExtra.resize(shortExtra.size() - 4);
    QTest::newRow("ADPCM with fewer predictors than it claims")
        << toBytes(riff({format(2, 1, 8000, 8, 4, shortExtra), data})) << "7 coefficient pairs";
    QTest::newRow("ADPCM block naming a missing predictor")
        << toBytes(riff({format(2, 1, 8000, 8, 4, adpcmExtra()), chunk("data", adpcmBlock(7, 0))}))
        << "predictor 7 of 7";
    QTest::newRow("ADPCM blocks smaller than their header")
        << toBytes(riff({format(2, 1, 8000, 6, 4, adpcmExtra()), data})) << "block size 6 is too small";
}

void TestCharacterSound::refusesWave()
{
    QFETCH(QByteArray, file);
    QFETCH(QString, reason);
    std::string why;
    const auto decoded =
        sound::decodeWave({reinterpret_cast<const uint8_t *>(file.constData()), size_t(file.size())}, &why);
    QVERIFY(!decoded);
    QVERIFY2(QString::fromStdString(why).contains(reason), why.c_str());
}

void TestCharacterSound::soundStartsWithItsFrame()
{
    PlayLog log;
    agent::AgentCharacter character(soundCharacter(), recordingFactory(log));
    // Each frame as it comes up, with the sounds started so far.
    QList<QPair<int, int>> framesWithSounds;
    QObject::connect(&character.player(), &agent::AnimationPlayer::frameEntered, &character.window(),
                     [&](int animation, int frame) {
                         if (animation == 0) framesWithSounds.append({frame, int(log.rates.size())});
                     });
    QTest::ignoreMessage(QtWarningMsg, BrokenSoundLine);
    character.show(false);
    QTRY_VERIFY(character.player().currentFrame() && character.player().currentFrame()->animation == 1);
    // Showing: frame 0 is silent, frame 1 starts the sound as it comes up.
    const QList<QPair<int, int>> expected{{0, 0}, {1, 1}};
    QCOMPARE(framesWithSounds, expected);
    QCOMPARE(log.rates, QList<int>{int(fixture::SoundRate)});
    character.hide();
}

void TestCharacterSound::mutedCharacterStaysSilent()
{
    PlayLog log;
    const auto control = agent::createAgentControl({.soundOn = false, .audio = recordingFactory(log)});
    auto model = soundCharacter();
    agent::CharacterSound sound(*model, recordingFactory(log), false);
    sound.frameShown(0, 1);
    sound.setEnabled(true);
    sound.setEnabled(false);
    sound.frameShown(0, 1);
    QCOMPARE(log.rates.size(), 0);
    QCOMPARE(log.outputsMade, 0); // a muted character never opens the audio system
}

void TestCharacterSound::missingDeviceIsNoError()
{
    auto model = soundCharacter();
    int asked = 0;
    agent::CharacterSound sound(*model, [&asked]() -> std::unique_ptr<sound::AudioOutput> {
        ++asked;
        return nullptr;
    });
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    for (int i = 0; i < 3; ++i)
        sound.frameShown(0, 1);
    QCOMPARE(asked, 1); // looked for once, then silent
}

void TestCharacterSound::damagedSoundIsReportedOnce()
{
    PlayLog log;
    auto model = soundCharacter();
    agent::CharacterSound sound(*model, recordingFactory(log));
    QTest::ignoreMessage(QtWarningMsg, BrokenSoundLine);
    for (int i = 0; i < 3; ++i)
        sound.frameShown(1, 0);
    sound.frameShown(0, 1); // the good sound still plays
    QCOMPARE(log.rates, QList<int>{int(fixture::SoundRate)});
}

void TestCharacterSound::systemDeviceLookupReportsNothing()
{
    // Test machines usually have no audio device: looking is no error either way.
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".")));
    const std::unique_ptr<sound::AudioOutput> output = sound::createSystemAudioOutput();
    if (output) output->stop();
}

void TestCharacterSound::controlSwitchesSound()
{
    PlayLog log;
    const auto control = agent::createAgentControl({.soundOn = false, .audio = recordingFactory(log)});
    Args none;
    Result got = safeInvoke(*control, agent::member::SoundEffectsOn, CallKind::PropertyGet, none);
    QCOMPARE(std::get<Bool>(got.value()).value(), false);
    Args on{Value(Bool::of(true))};
    QVERIFY(safeInvoke(*control, agent::member::SoundEffectsOn, CallKind::PropertyPut, on).ok());
    got = safeInvoke(*control, agent::member::SoundEffectsOn, CallKind::PropertyGet, none);
    QCOMPARE(std::get<Bool>(got.value()).value(), true);
    Args word{Value(QStringLiteral("on"))};
    QCOMPARE(safeInvoke(*control, agent::member::SoundEffectsOn, CallKind::PropertyPut, word).error().number,
             error::TypeMismatch);
    QCOMPARE(safeInvoke(*control, agent::member::SoundEffectsOn, CallKind::Method, none).error().number,
             error::NotSupported);
}

void TestCharacterSound::menuOffersAnimationsSoundAndHide()
{
    PlayLog log;
    agent::AgentCharacter character(soundCharacter(), recordingFactory(log));
    QTest::ignoreMessage(QtWarningMsg, BrokenSoundLine);
    character.show(true);
    const std::unique_ptr<QMenu> menu = character.makeMenu();
    const QList<QAction *> items = menu->actions();
    QCOMPARE(items.size(), 3);
    QMenu *play = items[0]->menu();
    QVERIFY(play);
    QStringList names;
    for (const QAction *a : play->actions())
        names << a->text();
    QCOMPARE(names,
             QStringList({QStringLiteral("Branchy"), QStringLiteral("Goes"), QStringLiteral("GoesReturn"),
                          QStringLiteral("RestPose"), QStringLiteral("Showing"), QStringLiteral("Wave")}));

    play->actions()[5]->trigger();
    QCOMPARE(character.player().currentFrame()->animation, 2);

    QVERIFY(items[1]->isCheckable() && items[1]->isChecked());
    items[1]->trigger();
    QVERIFY(!character.soundOn());
    items[2]->trigger();
    QVERIFY(!character.window().isVisible());
    QVERIFY(!character.player().playing());
}

QTEST_MAIN(TestCharacterSound)
#include "tst_charactersound.moc"
