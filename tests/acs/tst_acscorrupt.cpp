#include "acsfixtures.h"
#include "acshostile.h"
#include "acswalk.h"

#include <QtTest>

#include <filesystem>
#include <fstream>
#include <functional>

using namespace acsfixtures;
using acswriter::Layout;

namespace
{

using Bytes = std::vector<uint8_t>;
using SpecChange = std::function<void(acswriter::CharacterSpec &)>;
using ByteChange = std::function<void(Bytes &, const Layout &)>;

std::string exercise(const Bytes &bytes)
{
    return acswalk::walk(bytes);
}

// "image list: image list: count" says its context twice.
bool repeatsContext(const std::string &message)
{
    std::vector<std::string> parts;
    for (size_t start = 0;;) {
        const size_t colon = message.find(": ", start);
        parts.push_back(message.substr(start, colon - start));
        if (colon == std::string::npos) break;
        start = colon + 2;
    }
    return std::adjacent_find(parts.begin(), parts.end()) != parts.end();
}

Bytes readFile(const std::filesystem::path &path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

void pokeByte(Bytes &bytes, size_t offset, uint8_t value)
{
    bytes.at(offset) = value;
}

} // namespace

Q_DECLARE_METATYPE(SpecChange)
Q_DECLARE_METATYPE(Bytes)
Q_DECLARE_METATYPE(ByteChange)

class TestAcsCorrupt : public QObject
{
    Q_OBJECT

    acswriter::Written file_ = acswriter::write(smallCharacter());

  private slots:
    void fixtureIsClean() { QCOMPARE(QString::fromStdString(exercise(file_.bytes)), QString()); }

    void everyTruncationFails()
    {
        for (size_t length = 0; length < file_.bytes.size(); ++length) {
            const Bytes cut(file_.bytes.begin(), file_.bytes.begin() + std::ptrdiff_t(length));
            QVERIFY2(!acs::Character::load(cut).ok(), std::to_string(length).c_str());
        }
    }

    // Shrinks each block's locator in place, so the cut block is still inside the file.
    void everyBlockTruncationFails()
    {
        const auto &layout = file_.layout;
        for (size_t i = 0; i < layout.images.size(); ++i) {
            for (uint32_t size = 0; size < layout.images[i].size - 3; size += 1 + size / 16) {
                Bytes bytes = file_.bytes;
                acswriter::poke32(bytes, layout.imageList.offset + 8 + i * 12, size);
                QVERIFY2(!exercise(bytes).empty(), ("image " + std::to_string(i)).c_str());
            }
        }
        for (size_t i = 0; i < layout.animations.size(); ++i) {
            for (uint32_t size = 0; size < layout.animations[i].size; ++size) {
                Bytes bytes = file_.bytes;
                acswriter::poke32(bytes, locatorOfAnimation(i) + 4, size);
                QVERIFY2(!acs::Character::load(bytes).ok(), ("animation " + std::to_string(i)).c_str());
            }
        }
    }

    void corruptions_data()
    {
        QTest::addColumn<SpecChange>("specChange");
        QTest::addColumn<ByteChange>("byteChange");
        QTest::addColumn<QString>("message");
        const SpecChange same = [](acswriter::CharacterSpec &) {};
        const ByteChange none = [](Bytes &, const Layout &) {};
        auto bytes = [&](const char *name, ByteChange change, const char *message) {
            QTest::newRow(name) << same << change << QString::fromUtf8(message);
        };
        auto spec = [&](const char *name, SpecChange change, const QString &message) {
            QTest::newRow(name) << change << none << message;
        };

        bytes(
            "huge animation count",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.animationList.offset, 4000000); },
            "animation list: count 4000000 needs 48000000 bytes but only");
        bytes(
            "huge image count",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.imageList.offset, 0xffffffff); },
            "image list: count 4294967295");
        bytes(
            "huge sound count",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.audioList.offset, 2); },
            "sound list: count 2");
        bytes(
            "huge localized count",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.localizedInfo.offset, 60000); },
            "localized info: count 60000");
        bytes(
            "header locator past the end",
            [](Bytes &b, const Layout &) { acswriter::poke32(b, 20, 0x7fffffff); },
            "image list: block at 0x7fffffff");
        bytes(
            "image locator of 4 GB",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.imageList.offset + 8, 0xffffffff); },
            "image 0: block at");
        bytes(
            "image locator wrapping past 4 GB",
            [](Bytes &b, const Layout &l) {
                acswriter::poke32(b, l.imageList.offset + 4, 0xfffffff0);
                acswriter::poke32(b, l.imageList.offset + 8, 0x20);
            },
            "runs past the end of the file");
        bytes(
            "image block over the header",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.imageList.offset + 4, 8); },
            "overlaps the file header");
        bytes(
            "image blocks overlapping",
            [](Bytes &b, const Layout &l) {
                acswriter::poke32(b, l.imageList.offset + 16, l.images[0].offset + 4);
            },
            "overlaps image 0");
        bytes(
            "huge name length",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.animationList.offset + 4, 0x7fffffff); },
            "animation name: length 2147483647 needs");
        bytes(
            "name without terminator",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.animationList.offset + 8 + 16, 0x41); },
            "not zero-terminated");
        bytes(
            "frame width 0",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.characterInfo.offset + 28, 0); },
            "frame size 0x24");
        bytes(
            "frame height 5000",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.characterInfo.offset + 30, 5000); },
            "frame size 32x5000");
        bytes(
            "localized info past the end",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.characterInfo.offset + 8, 0x10000); },
            "localized info: block at");
        bytes(
            "huge frame count",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.animations[0].offset + 27, 60000); },
            "frame count 60000 needs");
        bytes(
            "transition type 7",
            [](Bytes &b, const Layout &l) { pokeByte(b, l.animations[0].offset + 22, 7); },
            "transition type 7");
        bytes(
            "frame image index out of range",
            [](Bytes &b, const Layout &l) { acswriter::poke32(b, l.animations[0].offset + 31, 999); },
            "image 999 is out of range (7)");
        spec(
            "branch target out of range",
            [](acswriter::CharacterSpec &s) { s.animations[1].frames[2].branches[0].frame = 9; },
            QStringLiteral("frame 2: branch target 9 is out of range (4)"));
        spec(
            "exit frame out of range",
            [](acswriter::CharacterSpec &s) { s.animations[1].frames[0].exitFrame = 4; },
            QStringLiteral("frame 0: exit frame 4 is out of range"));
        spec(
            "control characters in a long name",
            [](acswriter::CharacterSpec &s) {
                s.animations[1].name = u"Bad\u001b[2J\u202e" + std::u16string(100, u'x');
                s.animations[1].frames[0].exitFrame = 4;
            },
            QString::fromStdString("animation \"Bad\\x1b[2J\\u202e" + std::string(56, 'x') +
                                   "\u2026\": frame 0: exit frame 4"));
        spec(
            "sound index out of range",
            [](acswriter::CharacterSpec &s) { s.animations[4].frames[0].sound = 5; },
            QStringLiteral("sound 5 is out of range (1)"));
        spec(
            "overlay image out of range",
            [](acswriter::CharacterSpec &s) { s.animations[4].frames[0].overlays[1].image = 99; },
            QStringLiteral("overlay image 99 is out of range"));
        spec(
            "mouth shape 9",
            [](acswriter::CharacterSpec &s) {
                s.animations[4].frames[0].overlays[0].shape = acs::MouthShape(9);
            },
            QStringLiteral("mouth shape 9"));
        spec(
            "65 images in one frame",
            [](acswriter::CharacterSpec &s) { s.animations[0].frames[0].images.resize(65); },
            QStringLiteral("frame image count 65 exceeds the limit of 64"));
        spec(
            "palette of 300 entries", [](acswriter::CharacterSpec &s) { s.palette.resize(300); },
            QStringLiteral("palette count 300 exceeds the limit of 256"));

        bytes(
            "sound that is not a WAVE file",
            [](Bytes &b, const Layout &l) { pokeByte(b, l.sounds[0].offset + 8, 'X'); },
            "sound 0: not a RIFF WAVE file");

        // Image blocks: the character loads, the image does not decode.
        bytes(
            "pixel data not starting with zero",
            [](Bytes &b, const Layout &l) { pokeByte(b, l.images[small::Body].offset + 10, 5); },
            "image 0: pixel data: compressed data: first byte is 0x5");
        bytes(
            "back-reference before the start of the output",
            [](Bytes &b, const Layout &l) { b.at(l.images[small::Body].offset + 11) |= 1; },
            "before the start of the output");
        bytes(
            "output overflow",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.images[small::Body].offset + 3, 5); },
            "overflows the output");
        bytes(
            "stream shorter than the image",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.images[small::Body].offset + 3, 60); },
            "ends after 72 of 720 bytes");
        bytes(
            "pixel data size past the block",
            [](Bytes &b, const Layout &l) {
                acswriter::poke32(b, l.images[small::Body].offset + 6, 0x10000000);
            },
            "image 0: pixel data: needs 268435456 bytes");
        bytes(
            "raw pixels of the wrong size",
            [](Bytes &b, const Layout &l) { acswriter::poke16(b, l.images[small::Eyes].offset + 3, 3); },
            "raw pixel data is 8 bytes but the image needs 12");
        bytes(
            "compressed flag 2",
            [](Bytes &b, const Layout &l) { pokeByte(b, l.images[small::Body].offset + 5, 2); },
            "compressed flag is 2");
        bytes(
            "image of 65535x65535",
            [](Bytes &b, const Layout &l) {
                acswriter::poke32(b, l.images[small::Body].offset + 1, 0xffffffff);
            },
            "65535x65535 needs 4294901760 bytes decoded, more than the limit of 4194304");
    }

    void corruptions()
    {
        QFETCH(SpecChange, specChange);
        QFETCH(ByteChange, byteChange);
        QFETCH(QString, message);
        auto spec = smallCharacter();
        specChange(spec);
        auto file = acswriter::write(spec);
        byteChange(file.bytes, file.layout);
        const QString error = QString::fromStdString(exercise(file.bytes));
        QVERIFY2(error.contains(message), qPrintable(error));
        QVERIFY2(error.contains(QLatin1String("(offset 0x")), qPrintable(error));
        QVERIFY2(!repeatsContext(error.toStdString()), qPrintable(error));
    }

    // Crafted tables: what is refused says why, the rest loads.
    void hostileFiles_data()
    {
        QTest::addColumn<Bytes>("bytes");
        QTest::addColumn<QString>("message");
        using namespace acshostile;
        QTest::newRow("shared animation blocks")
            << sharedAnimationBlocks(64 << 10) << "animation list: \"A1\" uses the same block as \"A0\"";
        QTest::newRow("shifted animation blocks")
            << shiftedAnimationBlocks(64 << 10) << "animation 1: block at";
        QTest::newRow("too many animations") << manyAnimations(2 << 20, acs::limits::animations + 1)
                                             << "animation list: count 16385 exceeds the limit of 16384";
        QTest::newRow("too many frames in all")
            << deepBranchChains(2 << 20) << "takes the character past the limit of 65536 in all";
        QTest::newRow("too many state names")
            << manyStateNames(300 << 10)
            << "state animation count 11265 takes the character past the limit of 65536 in all";
        QTest::newRow("shared image blocks") << sharedImageBlocks(64 << 10) << "";
        QTest::newRow("long name") << longName(64 << 10) << "";
        QTest::newRow("deep branch chain") << deepBranchChains(200 << 10) << "";
    }

    void hostileFiles()
    {
        QFETCH(Bytes, bytes);
        QFETCH(QString, message);
        const QString error = QString::fromStdString(exercise(bytes));
        if (message.isEmpty())
            QCOMPARE(error, QString());
        else
            QVERIFY2(error.contains(message), qPrintable(error));
    }

    // Every byte set to two values in turn: anything may fail, nothing may crash.
    void everyByteChanged()
    {
        const Bytes original = acswriter::write(compactCharacter()).bytes;
        for (size_t offset = 0; offset < original.size(); ++offset) {
            for (uint8_t value : {uint8_t(original[offset] ^ 0xff), uint8_t(original[offset] + 1)}) {
                Bytes bytes = original;
                bytes[offset] = value;
                exercise(bytes);
            }
        }
    }

    // The fuzz seeds that are characters must load cleanly; inputs the fuzzer once found
    // troublesome (kept in regressions/) must give errors at most.
    void fuzzInputs()
    {
        const std::filesystem::path root(ACS_FUZZ_DIR);
        int seeds = 0;
        for (const auto &entry : std::filesystem::directory_iterator(root / "corpus" / "acs")) {
            const std::string error = exercise(readFile(entry.path()));
            if (entry.path().extension() != ".acs") continue; // the kinds of file that are refused
            QVERIFY2(error.empty(), (entry.path().string() + ": " + error).c_str());
            ++seeds;
        }
        QVERIFY(seeds > 0);
        if (!std::filesystem::exists(root / "regressions")) return;
        for (const auto &entry : std::filesystem::directory_iterator(root / "regressions"))
            exercise(readFile(entry.path()));
    }

  private:
    size_t locatorOfAnimation(size_t index) const
    {
        size_t at = file_.layout.animationList.offset + 4;
        for (size_t i = 0;; ++i) {
            const uint32_t units = uint32_t(file_.bytes[at]) | uint32_t(file_.bytes[at + 1]) << 8;
            at += 4 + (units ? units * 2 + 2 : 0);
            if (i == index) return at;
            at += 8;
        }
    }
};

QTEST_GUILESS_MAIN(TestAcsCorrupt)
#include "tst_acscorrupt.moc"
