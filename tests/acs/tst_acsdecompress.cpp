#include "acsfixtures.h"
#include "acswriter.h"

#include <QtTest>

#include <functional>
#include <random>

namespace
{

// Writes tokens and keeps what they must decode to, byte by byte.
struct Stream {
    acswriter::BitWriter writer;
    std::vector<uint8_t> expected;

    void literal(uint8_t byte)
    {
        writer.literal(byte);
        expected.push_back(byte);
    }
    void literals(int count, uint32_t seed)
    {
        for (int i = 0; i < count; ++i) {
            seed = seed * 1103515245u + 12345u;
            literal(uint8_t(seed >> 16));
        }
    }
    void copy(uint32_t distance, uint32_t length)
    {
        writer.copy(distance, length);
        for (uint32_t i = 0; i < length; ++i)
            expected.push_back(expected[expected.size() - distance]);
    }
    std::vector<uint8_t> finish()
    {
        writer.end();
        return writer.finish();
    }
};

using Script = std::function<void(Stream &)>;

std::vector<uint8_t> randomBytes(size_t size, int alphabet, uint32_t seed)
{
    std::mt19937 random(seed);
    std::vector<uint8_t> bytes(size);
    for (auto &b : bytes)
        b = uint8_t(random() % uint32_t(alphabet));
    return bytes;
}

} // namespace

Q_DECLARE_METATYPE(Script)
Q_DECLARE_METATYPE(std::vector<uint8_t>)

class TestAcsDecompress : public QObject
{
    Q_OBJECT

  private slots:
    void workedExample()
    {
        const std::vector<uint8_t> block = {0x00, 0x82, 0x08, 0x15, 0x8c, 0xff, 0xff, 0xff, 0xff, 0xff, 0xff};
        const auto decoded = acs::decompress(block, 7);
        QVERIFY2(decoded.ok(), decoded.ok() ? "" : decoded.error().describe().c_str());
        QCOMPARE(std::string(decoded->begin(), decoded->end()), std::string("ABABABA"));
    }

    void tokens_data()
    {
        QTest::addColumn<Script>("script");
        QTest::newRow("literals, every byte value") << Script([](Stream &s) {
            for (int b = 0; b < 256; ++b)
                s.literal(uint8_t(b));
        });
        QTest::newRow("distance 1 repeats the last byte") << Script([](Stream &s) {
            s.literal(7);
            s.copy(1, 300);
        });
        QTest::newRow("overlapping copy shorter than its distance twice over") << Script([](Stream &s) {
            s.literals(3, 1);
            s.copy(3, 10);
            s.copy(2, 5);
        });
        QTest::newRow("short copies overlapping by whole words, last one at the very end")
            << Script([](Stream &s) {
                   s.literals(20, 7);
                   s.copy(9, 31);
                   s.copy(8, 17);
                   s.copy(16, 2);
               });
        QTest::newRow("6-bit class at 1 and 64") << Script([](Stream &s) {
            s.literals(64, 2);
            s.copy(64, 2);
            s.copy(1, 2);
        });
        QTest::newRow("9-bit class at 65 and 576") << Script([](Stream &s) {
            s.literals(576, 3);
            s.copy(65, 4);
            s.copy(576, 9);
        });
        QTest::newRow("12-bit class at 577 and 4672") << Script([](Stream &s) {
            s.literals(4672, 4);
            s.copy(577, 17);
            s.copy(4672, 33);
        });
        QTest::newRow("20-bit class at 4673 and far beyond, one longer") << Script([](Stream &s) {
            s.literals(70000, 5);
            s.copy(4673, 3);
            s.copy(69000, 4097);
            s.copy(4700, 64);
        });
        QTest::newRow("repeating patterns of period 1 to 9, short and long") << Script([](Stream &s) {
            s.literals(64, 7);
            for (uint32_t period = 1; period <= 9; ++period) {
                s.copy(period, 2);
                s.copy(period, 13);
                s.copy(period, 300);
            }
        });
        QTest::newRow("row-above copies around the chunk size") << Script([](Stream &s) {
            s.literals(200, 8);
            for (uint32_t length : {31u, 32u, 33u, 64u, 65u, 200u})
                s.copy(32, length);
            s.copy(128, 65);
            s.copy(128, 300);
        });
        QTest::newRow("every length prefix 0 to 11 at both ends") << Script([](Stream &s) {
            s.literals(40, 6);
            for (int k = 0; k <= 11; ++k) {
                const uint32_t shortest = k == 0 ? 2 : (1u << k) + 1;
                const uint32_t longest = k == 0 ? 2 : (1u << (k + 1));
                s.copy(40, shortest);
                s.copy(7, longest);
            }
        });
    }

    void tokens()
    {
        QFETCH(Script, script);
        Stream stream;
        script(stream);
        const auto block = stream.finish();
        const auto decoded = acs::decompress(block, stream.expected.size());
        QVERIFY2(decoded.ok(), decoded.ok() ? "" : decoded.error().describe().c_str());
        QVERIFY(*decoded == stream.expected);
    }

    void roundTrip_data()
    {
        QTest::addColumn<std::vector<uint8_t>>("data");
        QTest::addColumn<bool>("backReferences");
        QTest::newRow("noise, literals only") << randomBytes(3000, 256, 1) << false;
        QTest::newRow("few colours, back-references") << randomBytes(20000, 4, 2) << true;
        QTest::newRow("one colour, back-references") << std::vector<uint8_t>(16384, 10) << true;
        auto repeated = randomBytes(6000, 256, 3);
        repeated.insert(repeated.end(), repeated.begin(), repeated.end());
        QTest::newRow("block repeated 6000 bytes later") << repeated << true;
        QTest::newRow("empty") << std::vector<uint8_t>() << true;
        QTest::newRow("drawn character image")
            << acswriter::storedRows(acsfixtures::drawnCharacter(2).images[1]) << true;
    }

    void roundTrip()
    {
        QFETCH(std::vector<uint8_t>, data);
        QFETCH(bool, backReferences);
        const auto mode =
            backReferences ? acswriter::Compression::BackReferences : acswriter::Compression::Literals;
        const auto block = acswriter::compress(data, mode);
        const auto decoded = acs::decompress(block, data.size());
        QVERIFY2(decoded.ok(), decoded.ok() ? "" : decoded.error().describe().c_str());
        QVERIFY(*decoded == data);
    }

    void badStreams_data()
    {
        QTest::addColumn<std::vector<uint8_t>>("block");
        QTest::addColumn<int>("expectedSize");
        QTest::addColumn<QString>("message");

        Stream good;
        good.literals(4, 9);
        good.copy(2, 6);
        const auto valid = good.finish();

        auto notZero = valid;
        notZero[0] = 0x01;
        QTest::newRow("first byte not zero") << notZero << 10 << "first byte is 0x1";
        QTest::newRow("empty block") << std::vector<uint8_t>() << 10 << "empty";
        QTest::newRow("output larger than the stream gives") << valid << 11 << "ends after 10 of 11";
        QTest::newRow("copy overflows the output") << valid << 8 << "overflows the output";
        QTest::newRow("literal overflows the output") << valid << 3 << "literal overflows";
        QTest::newRow("no end marker")
            << std::vector<uint8_t>(valid.begin(), valid.end() - 6) << 10 << "ends before the end marker";
        QTest::newRow("huge output from a few bytes") << valid << 100000000 << "cannot expand";

        acswriter::BitWriter before;
        before.literal(1);
        before.literal(2);
        before.copy(3, 2);
        before.end();
        QTest::newRow("back-reference before the start") << before.finish() << 4 << "before the start";

        acswriter::BitWriter prefix;
        prefix.literal(1);
        prefix.bits(1, 1);
        prefix.bits(0, 7);
        prefix.bits(0xfff, 12);
        prefix.bits(0, 1);
        prefix.end();
        QTest::newRow("length prefix of 12 bits") << prefix.finish() << 5000 << "length prefix";
    }

    void badStreams()
    {
        QFETCH(std::vector<uint8_t>, block);
        QFETCH(int, expectedSize);
        QFETCH(QString, message);
        const auto decoded = acs::decompress(block, size_t(expectedSize));
        QVERIFY(!decoded.ok());
        QVERIFY2(QString::fromStdString(decoded.error().message).contains(message),
                 decoded.error().message.c_str());
    }

    void everyTruncationFails()
    {
        const auto data = randomBytes(5000, 8, 4);
        const auto block = acswriter::compress(data);
        for (size_t length = 0; length < block.size() - 5; ++length) {
            const std::span<const uint8_t> cut(block.data(), length);
            QVERIFY(!acs::decompress(cut, data.size()).ok());
        }
    }
};

QTEST_GUILESS_MAIN(TestAcsDecompress)
#include "tst_acsdecompress.moc"
