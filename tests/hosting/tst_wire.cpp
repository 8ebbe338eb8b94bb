// The bytes between the harness and a component host: every value of the
// contract comes back as it was sent, and a damaged message is refused with a
// reason instead of being read past its end.
#include "platform/hosting/wire/wirecodec.h"

#include <QTest>

#include <map>

using namespace component;
using namespace wire;

Q_DECLARE_METATYPE(component::Value)

namespace
{

class Dummy final : public DispatchObject
{
  public:
    Result invoke(DispId, CallKind, Args &) override { return {}; }
};

// Both ends in one: what is exported comes back when imported.
class LoopbackTable final : public ObjectTable
{
  public:
    Handle exportObject(const ObjectRef &object) override
    {
        objects_[next_] = object;
        return {Handle::Sender, next_++};
    }
    ObjectRef importObject(Handle handle, bool *ok) override
    {
        const auto it = objects_.find(handle.id);
        *ok = it != objects_.end();
        return *ok ? it->second : nullptr;
    }

  private:
    std::map<uint32_t, ObjectRef> objects_;
    uint32_t next_ = 1;
};

QImage checkerboard()
{
    QImage image(5, 3, QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, (x + y) % 2 ? 0xFF102030u : 0x80FFFFFFu);
    return image;
}

CallMessage richCall(const ObjectRef &object)
{
    CallMessage m{7, 3, 0x60030013, CallKind::Method, {}};
    m.args = {{false, QStringLiteral("Заголовок שלום 🎈")},
              {true, QStringList{QStringLiteral("a"), QString(), QStringLiteral("в")}},
              {true, int32_t(-5)},
              {false, Bool::of(true)},
              {false, object},
              {true, Picture{checkerboard(), QStringLiteral("icon.png")}}};
    return m;
}

} // namespace

class TestWire : public QObject
{
    Q_OBJECT
  private slots:
    void valuesRoundTrip_data()
    {
        QTest::addColumn<Value>("value");
        QTest::newRow("empty") << Value();
        QTest::newRow("Integer") << Value(int16_t(-32768));
        QTest::newRow("Long") << Value(int32_t(0x7FFFFFFF));
        QTest::newRow("Boolean") << Value(Bool::of(true));
        QTest::newRow("empty String") << Value(QString());
        QTest::newRow("Cyrillic, RTL and emoji") << Value(QStringLiteral("Привет עולם 🎈\r\n"));
        QTest::newRow("String()") << Value(
            QStringList{QStringLiteral("one"), QString(), QStringLiteral("три")});
        QTest::newRow("no labels") << Value(QStringList{});
        QTest::newRow("Picture") << Value(Picture{checkerboard(), QStringLiteral("c.png")});
        QTest::newRow("empty Picture") << Value(Picture{QImage(), QStringLiteral("none")});
        QTest::newRow("MsgResult") << Value(MsgResult{6, 2, QStringLiteral("ввод"), 1});
        QTest::newRow("null object") << Value(ObjectRef());
    }
    void valuesRoundTrip()
    {
        QFETCH(Value, value);
        LoopbackTable table;
        ReplyMessage reply;
        reply.seq = 42;
        reply.value = value;
        reply.changed = {{2, value}};
        std::string error;
        const std::optional<Message> back = decode(encode(reply, &table), &table, &error);
        QVERIFY2(back, error.c_str());
        const auto &r = std::get<ReplyMessage>(*back);
        QCOMPARE(r.seq, 42u);
        QVERIFY(r.ok);
        QVERIFY(r.value == value);
        QCOMPARE(r.changed.size(), size_t(1));
        QCOMPARE(r.changed[0].first, 2u);
        QVERIFY(r.changed[0].second == value);
    }

    void objectsCrossAsTheSameObject()
    {
        LoopbackTable table;
        const ObjectRef object = std::make_shared<Dummy>();
        const std::optional<Message> back = decode(encode(richCall(object), &table), &table, nullptr);
        QVERIFY(back);
        const auto &call = std::get<CallMessage>(*back);
        QCOMPARE(call.args.size(), size_t(6));
        QCOMPARE(std::get<ObjectRef>(call.args[4].value), object);
        QVERIFY(call.args[1].byRef);
        QVERIFY(!call.args[0].byRef);
        QCOMPARE(call.kind, CallKind::Method);
        QCOMPARE(call.id, 0x60030013);
    }

    void errorsAndCreationsRoundTrip()
    {
        ReplyMessage failed;
        failed.ok = false;
        failed.error = {438, QStringLiteral("Object doesn't support this property or method")};
        const auto r = std::get<ReplyMessage>(*decode(encode(failed, nullptr), nullptr, nullptr));
        QVERIFY(!r.ok);
        QCOMPARE(r.error.number, 438);
        QCOMPARE(r.error.description, failed.error.description);

        const CreateMessage create{
            1,
            QStringLiteral("/x/комп.so"),
            QStringLiteral("pVellix.Vellix"),
            {{QStringLiteral("_extentx"), int32_t(847)}, {QStringLiteral("lineseparator"), Bool::of(true)}}};
        const auto c = std::get<CreateMessage>(*decode(encode(create, nullptr), nullptr, nullptr));
        QCOMPARE(c.file, create.file);
        QCOMPARE(c.classId, create.classId);
        QCOMPARE(c.stored.size(), size_t(2));
        QVERIFY(c.stored[1].second == Value(Bool::of(true)));
        const auto release = std::get<ReleaseMessage>(
            *decode(encode(ReleaseMessage{0xFFFFFFFE, 3}, nullptr), nullptr, nullptr));
        QCOMPARE(release.object, 0xFFFFFFFEu);
        QCOMPARE(release.count, 3u);
    }

    // Every cut of a message is refused, never read past its end.
    void everyTruncationIsRefused_data()
    {
        QTest::addColumn<bool>("release");
        QTest::newRow("call") << false;
        QTest::newRow("release") << true;
    }
    void everyTruncationIsRefused()
    {
        QFETCH(bool, release);
        LoopbackTable table;
        const Bytes whole = release ? encode(ReleaseMessage{9, 2}, &table)
                                    : encode(richCall(std::make_shared<Dummy>()), &table);
        for (size_t n = 0; n < whole.size(); ++n) {
            const Bytes cut(whole.begin(), whole.begin() + qsizetype(n));
            std::string error;
            QVERIFY2(!decode(cut, &table, &error), qPrintable(QString::number(n)));
            QVERIFY(!error.empty());
        }
    }

    void corruptMessagesAreRefused_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("reason");
        // type Reply, seq 1, ok, then a value
        const QByteArray reply("\x02\x01\x00\x00\x00\x01", 6);
        QTest::newRow("unknown message") << QByteArray("\x09", 1) << QStringLiteral("unknown message type");
        QTest::newRow("unknown value type")
            << reply + QByteArray("\x3F", 1) << QStringLiteral("unknown value type");
        QTest::newRow("String longer than the message")
            << reply + QByteArray("\x04\xFF\xFF\xFF\x7F", 5) << QStringLiteral("count of String");
        QTest::newRow("String() count beyond the message")
            << reply + QByteArray("\x05\x00\x00\x00\x40", 5) << QStringLiteral("count of String()");
        QTest::newRow("huge picture")
            << reply + QByteArray("\x07\x00\x00\x00\x00\x00\x00\x01\x00\x00\x00\x01\x00", 13)
            << QStringLiteral("picture of");
        QTest::newRow("picture without pixels")
            << reply + QByteArray("\x07\x00\x00\x00\x00\x02\x00\x00\x00\x02\x00\x00\x00", 13)
            << QStringLiteral("truncated picture pixels");
        QTest::newRow("unknown object")
            << reply + QByteArray("\x06\x01\x09\x00\x00\x00", 6) << QStringLiteral("unknown object handle");
        QTest::newRow("bad object side")
            << reply + QByteArray("\x06\x07\x09\x00\x00\x00", 6) << QStringLiteral("unknown object side");
        QTest::newRow("trailing bytes")
            << reply + QByteArray("\x00\x00\x00\x00\x00\xAA", 6) << QStringLiteral("after the message");
        QTest::newRow("release of nothing") << QByteArray("\x04\x01\x00\x00\x00\x00\x00\x00\x00", 9)
                                            << QStringLiteral("release of no handle");
        QTest::newRow("release with trailing bytes")
            << QByteArray("\x04\x01\x00\x00\x00\x01\x00\x00\x00\x00", 10)
            << QStringLiteral("after the message");
        QTest::newRow("bad call kind")
            << QByteArray("\x01\x01\x00\x00\x00\x01\x00\x00\x00\x00\x00\x00\x00\x09", 14)
            << QStringLiteral("unknown call kind");
    }
    void corruptMessagesAreRefused()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, reason);
        LoopbackTable table;
        const Bytes payload(bytes.begin(), bytes.end());
        std::string error;
        QVERIFY(!decode(payload, &table, &error));
        QVERIFY2(QString::fromStdString(error).contains(reason), error.c_str());
    }

    void framesArriveInAnyPieces()
    {
        const Bytes a = frame({1, 2, 3});
        const Bytes b = frame({});
        Bytes stream = a;
        stream.insert(stream.end(), b.begin(), b.end());
        FrameReader reader;
        std::vector<Bytes> got;
        for (const uint8_t byte : stream) {
            reader.append(&byte, 1);
            while (std::optional<Bytes> f = reader.next())
                got.push_back(*f);
        }
        QCOMPARE(got.size(), size_t(2));
        QVERIFY((got[0] == Bytes{1, 2, 3}));
        QVERIFY(got[1].empty());
        QCOMPARE(reader.buffered(), size_t(0));
    }

    void anOversizedFrameStopsTheReader()
    {
        FrameReader reader;
        const uint8_t huge[] = {0xFF, 0xFF, 0xFF, 0xFF, 0};
        reader.append(huge, sizeof huge);
        QVERIFY(!reader.next());
        QVERIFY(!reader.error().empty());
    }
};

QTEST_GUILESS_MAIN(TestWire)
#include "tst_wire.moc"
