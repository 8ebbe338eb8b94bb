#include "acsfixtures.h"

#include <QtTest>

#include <algorithm>
#include <fstream>

using namespace acsfixtures;

Q_DECLARE_METATYPE(std::vector<uint8_t>)
Q_DECLARE_METATYPE(std::u16string)

namespace
{

QString qs(std::u16string_view text)
{
    return QString::fromStdU16String(std::u16string(text));
}

// Independent of the decoder's painter: per canvas pixel, the first listed
// image with an opaque pixel there wins.
std::vector<uint32_t> expectedFrame(const acswriter::CharacterSpec &spec, std::vector<acs::ImageRef> refs)
{
    std::vector<uint32_t> canvas(size_t(spec.width) * spec.height, 0);
    for (int y = 0; y < spec.height; ++y) {
        for (int x = 0; x < spec.width; ++x) {
            for (const auto &ref : refs) {
                const auto &image = spec.images[ref.image];
                const int i = x - ref.x, j = y - ref.y;
                if (i < 0 || j < 0 || i >= image.width || j >= image.height) continue;
                const uint8_t index = image.pixels[size_t(j) * image.width + size_t(i)];
                if (index == spec.transparentIndex) continue;
                canvas[size_t(y) * spec.width + size_t(x)] = spec.palette[index].argb();
                break;
            }
        }
    }
    return canvas;
}

bool contains(const std::vector<uint8_t> &bytes, std::vector<uint8_t> needle)
{
    return std::search(bytes.begin(), bytes.end(), needle.begin(), needle.end()) != bytes.end();
}

} // namespace

class TestAcsCharacter : public QObject
{
    Q_OBJECT

    acswriter::CharacterSpec spec_ = smallCharacter();
    acswriter::Written file_ = acswriter::write(spec_);
    std::optional<acs::Character> character_;

    const acs::Character &character() const { return *character_; }
    const acs::Animation &animation(const char *name) const { return *character().animation(name); }

  private slots:
    void initTestCase()
    {
        auto loaded = acs::Character::load(file_.bytes);
        QVERIFY2(loaded.ok(), loaded.ok() ? "" : loaded.error().describe().c_str());
        character_ = *loaded;
    }

    void characterInfo()
    {
        QCOMPARE(character().frameSize(), (acs::Size{32, 24}));
        QCOMPARE(character().transparentIndex(), small::transparent);
        QCOMPARE(character().guid(), spec_.guid);
        QCOMPARE(character().flags(), 0x00100220u);
        QVERIFY(character().palette() == spec_.palette);
        // Palette entries are stored blue-green-red, balloon colours red-green-blue.
        QVERIFY(contains(file_.bytes, {0x06, 0xf7, 0x10, 0x00}));
        QVERIFY(contains(file_.bytes, {0xff, 0xff, 0xe1, 0x00}));
        QCOMPARE(character().balloon()->background, (acs::Color{0xff, 0xff, 0xe1}));
        QCOMPARE(character().balloon()->fontHeight, -13);
        QCOMPARE(qs(character().balloon()->fontName), QStringLiteral("Sans"));
        QCOMPARE(character().voice()->speed, 157u);
        QCOMPARE(qs(character().voice()->style), QStringLiteral("Business"));
        QCOMPARE(character().trayIcon()->colorDib, spec_.trayIcon->colorDib);
    }

    void names_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("name");
        QTest::newRow("US English matches the primary language") << 0x0409 << "Robby";
        QTest::newRow("Cyrillic") << 0x0419 << "Робби";
        QTest::newRow("right-to-left") << 0x0401 << "روبي";
        QTest::newRow("emoji outside the basic plane") << 0x0411 << "ロビー \U0001F916";
        QTest::newRow("missing language falls back to the first") << 0x040c << "Robby";
    }

    void names()
    {
        QFETCH(int, language);
        QFETCH(QString, name);
        const auto found = character().name(acs::LanguageId(language));
        QCOMPARE(qs(found), name);
        QCOMPARE(QString::fromStdString(acs::toUtf8(found)), name);
    }

    void lookups()
    {
        QVERIFY(character().state("showing"));
        QCOMPARE(qs(character().state(u"IdlingLevel1")->animations.at(0)), QStringLiteral("IDLE1_4 (2)"));
        QVERIFY(!character().state("HIDING"));
        for (const auto &state : character().states()) {
            for (const auto &name : state.animations)
                QVERIFY2(character().animation(name), acs::toUtf8(name).c_str());
        }
        QCOMPARE(qs(character().animation(u"WAVE")->name), QStringLiteral("Wave"));
        QVERIFY(!character().animation("Wav"));
        QCOMPARE(character().animationIndex(u"movelEFT"), std::optional<size_t>(2));
        QCOMPARE(qs(character().restPose()->name), QStringLiteral("RestPose"));
        QCOMPARE(character().animationNames().size(), spec_.animations.size());
        QCOMPARE(qs(character().animationNames()[5]), QStringLiteral("Idle1_4 (2)"));
        QCOMPARE(character().returnAnimationOf(animation("MoveLeft")),
                 character().animation("MoveLeftReturn"));
        QVERIFY(!character().returnAnimationOf(animation("Wave")));
        QVERIFY(acs::namesEqual(u"робби Ως", u"РОББИ ΩΣ"));
        QVERIFY(!acs::namesEqual(u"ROBBY", u"ROBBI"));
    }

    void frames()
    {
        const auto &wave = animation("wave");
        QCOMPARE(wave.transition, acs::Transition::ExitBranches);
        QCOMPARE(wave.frames.size(), size_t(4));
        QCOMPARE(wave.frames[2].branches.size(), size_t(2));
        QCOMPARE(wave.frames[2].branches[1].frame, uint16_t(0));
        QCOMPARE(wave.frames[2].branches[1].probability, uint16_t(20));
        QCOMPARE(wave.frames[3].exitFrame, int16_t(-2));
        QCOMPARE(wave.frames[1].durationMs(), 200);
        QCOMPARE(acs::durationToMs(15), 150);
        const auto &greet = animation("GREET").frames[0];
        QCOMPARE(greet.sound, uint16_t(0));
        QCOMPARE(greet.overlays.size(), size_t(3));
        QCOMPARE(greet.overlays[1].replacesTopImage, true);
        QCOMPARE(greet.overlays[0].mouthCenterY, uint16_t(8));
        QCOMPARE(animation("idle1_4 (2)").frames[0].images[0].x, int16_t(-40));
    }

    void images_data()
    {
        QTest::addColumn<int>("index");
        QTest::newRow("back-references, width 10 padded to 12") << int(small::Body);
        QTest::newRow("stored raw, width 3") << int(small::Eyes);
        QTest::newRow("literals only, larger than the frame") << int(small::Backdrop);
        QTest::newRow("one colour, long overlapping copies") << int(small::Mouth);
        QTest::newRow("fully transparent") << int(small::Blank);
        QTest::newRow("copies from more than 4672 bytes back") << int(small::BodyFar);
    }

    void images()
    {
        QFETCH(int, index);
        const auto &spec = spec_.images[size_t(index)];
        const auto decoded = character().image(size_t(index));
        QVERIFY2(decoded.ok(), decoded.ok() ? "" : decoded.error().describe().c_str());
        const acs::Image &image = **decoded;
        QCOMPARE(image.width, spec.width);
        QCOMPARE(image.height, spec.height);
        for (int y = 0; y < image.height; ++y)
            QVERIFY(
                std::equal(image.row(y), image.row(y) + image.width, &spec.pixels[size_t(y) * spec.width]));
        QCOMPARE(*character().image(size_t(index)), *decoded); // cached
    }

    void compose_data()
    {
        QTest::addColumn<QString>("animation");
        QTest::addColumn<int>("frame");
        QTest::newRow("first listed image on top") << "Wave" << 0;
        QTest::newRow("negative offset, larger than the frame") << "MoveLeft" << 0;
        QTest::newRow("mostly outside the frame") << "MoveLeft" << 1;
        QTest::newRow("no images") << "Wave" << 3;
        QTest::newRow("far off to the top left") << "Idle1_4 (2)" << 0;
    }

    void compose()
    {
        QFETCH(QString, animation);
        QFETCH(int, frame);
        const auto &f = this->animation(animation.toLatin1().constData()).frames[size_t(frame)];
        const auto composed = character().composeFrame(f);
        QVERIFY(composed.ok());
        QCOMPARE(composed->width, 32);
        QCOMPARE(composed->height, 24);
        QVERIFY(composed->pixels == expectedFrame(spec_, f.images));
    }

    void transparencyKeysOnTheIndex()
    {
        const auto &f = animation("Greet").frames[0];
        const auto composed = character().composeFrame(f, f.overlayFor(acs::MouthShape::Closed));
        QVERIFY(composed.ok());
        constexpr uint32_t magenta = 0xffff00ff;
        QCOMPARE(composed->pixels[size_t(6) * 32 + 5], expectedFrame(spec_, f.images)[size_t(6) * 32 + 5]);
        QCOMPARE(composed->pixels[size_t(7) * 32 + 6], magenta);
        QCOMPARE(composed->pixels[0], 0u);
    }

    void overlays_data()
    {
        QTest::addColumn<int>("shape");
        QTest::addColumn<int>("chosen");
        QTest::addColumn<bool>("replaces");
        QTest::newRow("closed is added on top") << int(acs::MouthShape::Closed) << 0 << false;
        QTest::newRow("wide 2 replaces the top image") << int(acs::MouthShape::Wide2) << 1 << true;
        QTest::newRow("missing wide 1 falls back to wide 2") << int(acs::MouthShape::Wide1) << 1 << true;
        QTest::newRow("missing medium falls back to narrow") << int(acs::MouthShape::Medium) << 2 << false;
    }

    void overlays()
    {
        QFETCH(int, shape);
        QFETCH(int, chosen);
        QFETCH(bool, replaces);
        const auto &f = animation("Greet").frames[0];
        const acs::Overlay *overlay = f.overlayFor(acs::MouthShape(shape));
        QCOMPARE(overlay, &f.overlays[size_t(chosen)]);
        auto refs = f.images;
        const acs::ImageRef mouth{overlay->image, overlay->x, overlay->y};
        if (replaces)
            refs[0] = mouth;
        else
            refs.insert(refs.begin(), mouth);
        const auto composed = character().composeFrame(f, overlay);
        QVERIFY(composed.ok());
        QVERIFY(composed->pixels == expectedFrame(spec_, refs));
        QVERIFY(!animation("Wave").frames[0].overlayFor(acs::MouthShape::Closed));
    }

    void nextFrame_data()
    {
        QTest::addColumn<QString>("animation");
        QTest::addColumn<int>("current");
        QTest::addColumn<int>("random");
        QTest::addColumn<bool>("exiting");
        QTest::addColumn<int>("next"); // -1: finished
        QTest::newRow("first branch below its share") << "Wave" << 2 << 0 << false << 1;
        QTest::newRow("first branch at the top of its share") << "Wave" << 2 << 29 << false << 1;
        QTest::newRow("second branch on the running sum") << "Wave" << 2 << 30 << false << 0;
        QTest::newRow("second branch at the top of the sum") << "Wave" << 2 << 49 << false << 0;
        QTest::newRow("no branch taken, next frame") << "Wave" << 2 << 50 << false << 3;
        QTest::newRow("last frame finishes") << "Wave" << 3 << 0 << false << -1;
        QTest::newRow("exiting follows the exit index, not branches") << "Wave" << 2 << 40 << true << 1;
        QTest::newRow("exit to a later frame") << "Wave" << 0 << 0 << true << 3;
        QTest::newRow("negative exit on the last frame finishes") << "Wave" << 3 << 0 << true << -1;
        QTest::newRow("exiting without exit branches stops") << "MoveLeft" << 0 << 0 << true << -1;
        QTest::newRow("plain next frame") << "MoveLeft" << 0 << 99 << false << 1;
        QTest::newRow("frame past the end") << "MoveLeft" << 7 << 0 << false << -1;
    }

    void nextFrame()
    {
        QFETCH(QString, animation);
        QFETCH(int, current);
        QFETCH(int, random);
        QFETCH(bool, exiting);
        QFETCH(int, next);
        const auto found = acs::nextFrame(this->animation(animation.toLatin1().constData()), size_t(current),
                                          random, exiting);
        QCOMPARE(found ? int(*found) : -1, next);
    }

    void sounds()
    {
        QCOMPARE(character().soundCount(), size_t(1));
        const auto sound = character().sound(0);
        QVERIFY(sound.ok());
        QVERIFY(std::equal(sound->begin(), sound->end(), spec_.sounds[0].begin(), spec_.sounds[0].end()));
        QVERIFY(!character().sound(1).ok());
        QVERIFY(!character().image(small::ImageCount).ok());
    }

    void otherKindsRefused_data()
    {
        QTest::addColumn<std::vector<uint8_t>>("bytes");
        QTest::addColumn<QString>("message");
        QTest::newRow("empty") << std::vector<uint8_t>() << "not a character file";
        QTest::newRow("text") << std::vector<uint8_t>{'h', 'e', 'l', 'l', 'o'}
                              << "not a character file (signature";
        QTest::newRow("ACF") << std::vector<uint8_t>{0xc4, 0xab, 0xcd, 0xab, 0, 0, 0, 0} << "ACF file";
        QTest::newRow("older compound-file character")
            << std::vector<uint8_t>{0xd0, 0xcf, 0x11, 0xe0, 0xa1, 0xb1, 0x1a, 0xe1, 0}
            << "older compound-file character";
        auto version3 = file_.bytes;
        acswriter::poke16(version3, file_.layout.characterInfo.offset + 2, 3);
        QTest::newRow("version 3") << version3 << "version 3 is not supported";
    }

    void otherKindsRefused()
    {
        QFETCH(std::vector<uint8_t>, bytes);
        QFETCH(QString, message);
        const auto loaded = acs::Character::load(bytes);
        QVERIFY(!loaded.ok());
        QVERIFY2(QString::fromStdString(loaded.error().message).contains(message),
                 loaded.error().message.c_str());
    }

    void loadFile()
    {
        QTemporaryDir dir;
        const std::filesystem::path path = dir.filePath(QStringLiteral("Робби.acs")).toStdU16String();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(file_.bytes.data()), std::streamsize(file_.bytes.size()));
        QVERIFY(acs::Character::loadFile(path).ok());

        // The caller names the file; the reason does not repeat the path.
        const auto missing =
            acs::Character::loadFile(dir.filePath(QStringLiteral("missing.acs")).toStdString());
        QVERIFY(!missing.ok());
        QCOMPARE(QString::fromStdString(missing.error().describe()), QStringLiteral("no such file"));
        std::ofstream(dir.filePath(QStringLiteral("empty.acs")).toStdString());
        const auto empty = acs::Character::loadFile(dir.filePath(QStringLiteral("empty.acs")).toStdString());
        QVERIFY(!empty.ok());
        QCOMPARE(QString::fromStdString(empty.error().describe()), QStringLiteral("the file is empty"));
        const auto folder = acs::Character::loadFile(dir.path().toStdString());
        QVERIFY(!folder.ok());
        QVERIFY(
            QString::fromStdString(folder.error().describe()).contains(QLatin1String("not a regular file")));
    }

    // A mapped file stays readable for as long as any copy of the character lives.
    void mappedFileOutlivesLoader()
    {
        QTemporaryDir dir;
        const std::filesystem::path path = dir.filePath(QStringLiteral("mapped.acs")).toStdString();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char *>(file_.bytes.data()), std::streamsize(file_.bytes.size()));
        std::optional<acs::Character> kept;
        {
            auto loaded = acs::Character::loadFile(path);
            QVERIFY(loaded.ok());
            kept = *loaded;
        }
        const auto sound = kept->sound(0);
        QVERIFY(sound.ok());
        QVERIFY(std::equal(sound->begin(), sound->end(), spec_.sounds[0].begin(), spec_.sounds[0].end()));
        QVERIFY(kept->image(small::Body).ok());
    }

    void namesFoldInAnyScript_data()
    {
        QTest::addColumn<std::u16string>("a");
        QTest::addColumn<std::u16string>("b");
        QTest::addColumn<bool>("equal");
        QTest::newRow("ASCII") << std::u16string(u"RestPose") << std::u16string(u"RESTPOSE") << true;
        QTest::newRow("Latin-1") << std::u16string(u"ÉTÉ") << std::u16string(u"été") << true;
        QTest::newRow("Latin Extended") << std::u16string(u"ŁÓDŹ") << std::u16string(u"łódź") << true;
        QTest::newRow("Greek final sigma") << std::u16string(u"ΟΔΟΣ") << std::u16string(u"οδος") << true;
        QTest::newRow("Cyrillic") << std::u16string(u"ЁЖИК") << std::u16string(u"ёжик") << true;
        QTest::newRow("Armenian") << std::u16string(u"ԲԱՐԵՎ") << std::u16string(u"բարեվ") << true;
        QTest::newRow("Georgian") << std::u16string(u"ᲛᲐᲠᲘ") << std::u16string(u"მარი") << true;
        QTest::newRow("Cherokee") << std::u16string(u"ᎠᎡ") << std::u16string(u"ꭰꭱ") << true;
        QTest::newRow("capital sharp s") << std::u16string(u"STRAẞE") << std::u16string(u"straße") << true;
        QTest::newRow("Deseret, outside the BMP") << std::u16string(u"𐐀𐐁") << std::u16string(u"𐐨𐐩") << true;
        QTest::newRow("different letters") << std::u16string(u"Wave") << std::u16string(u"Wavy") << false;
        QTest::newRow("dotless i") << std::u16string(u"ı") << std::u16string(u"I") << false;
        QTest::newRow("Hebrew has no case") << std::u16string(u"שלום") << std::u16string(u"שלום") << true;
    }

    void namesFoldInAnyScript()
    {
        QFETCH(std::u16string, a);
        QFETCH(std::u16string, b);
        QFETCH(bool, equal);
        QCOMPARE(acs::namesEqual(a, b), equal);
    }

    void displayNames_data()
    {
        QTest::addColumn<std::u16string>("name");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << std::u16string(u"Idle1_4 (2)") << QStringLiteral("Idle1_4 (2)");
        QTest::newRow("right to left") << std::u16string(u"مرحبا") << QStringLiteral("مرحبا");
        QTest::newRow("escape sequence") << std::u16string(u"A\x1b[2J\n") << QStringLiteral("A\\x1b[2J\\x0a");
        QTest::newRow("direction override") << std::u16string(u"a\u202Eb") << QStringLiteral("a\\u202eb");
        QTest::newRow("long") << std::u16string(100, u'x')
                              << QString(64, QLatin1Char('x')) + QStringLiteral("…");
    }

    void displayNames()
    {
        QFETCH(std::u16string, name);
        QFETCH(QString, shown);
        QCOMPARE(QString::fromStdString(acs::displayName(name)), shown);
    }

    // The cache stays within its limit, drops the least recently used image,
    // and an image still held stays valid after it was dropped.
    void imageCacheIsBounded()
    {
        auto loaded = acs::Character::load(file_.bytes);
        QVERIFY(loaded.ok());
        const acs::Character &c = *loaded;
        QCOMPARE(c.imageCacheLimit(), acs::defaultImageCacheLimit);
        const auto body = c.image(small::Body);
        QVERIFY(body.ok());
        const size_t bodyBytes = (*body)->indices.size();
        const size_t backdropBytes = (*c.image(small::Backdrop))->indices.size();
        QCOMPARE(c.imageCacheBytes(), bodyBytes + backdropBytes);

        c.setImageCacheLimit(std::max(bodyBytes, backdropBytes) + 1);
        QVERIFY(c.imageCacheBytes() <= c.imageCacheLimit());
        for (uint32_t i = 0; i < small::ImageCount; ++i) {
            QVERIFY(c.image(i).ok());
            QVERIFY(c.imageCacheBytes() <= c.imageCacheLimit());
        }
        QCOMPARE((*body)->width, spec_.images[small::Body].width); // held, so still valid

        c.setImageCacheLimit(0);
        QCOMPARE(c.imageCacheBytes(), size_t(0));
        const auto again = c.image(small::Body);
        QVERIFY(again.ok());
        QCOMPARE((*again)->indices, (*body)->indices);
        QCOMPARE(c.imageCacheBytes(), size_t(0));
    }

    void recentlyUsedImagesStay()
    {
        auto loaded = acs::Character::load(file_.bytes);
        const acs::Character &c = *loaded;
        const size_t eyes = (*c.image(small::Eyes))->indices.size();
        const size_t mouth = (*c.image(small::Mouth))->indices.size();
        c.setImageCacheLimit(eyes + mouth);
        QVERIFY(c.image(small::Eyes).ok()); // now the most recent
        const size_t blank = (*c.image(small::Blank))->indices.size();
        QVERIFY(blank <= mouth); // so only the mouth had to go
        QCOMPARE(c.imageCacheBytes(), eyes + blank);
    }
};

QTEST_GUILESS_MAIN(TestAcsCharacter)
#include "tst_acscharacter.moc"
