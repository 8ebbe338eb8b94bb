// One end of the connection between the harness and a component host, with
// the other end driven by hand: an object handed across is held by the
// receiving side only while something there refers to it, and a release
// that arrives late or names nothing is harmless.
#include "platform/hosting/remote/channel.h"

#include <QTest>

#include <map>
#include <sys/socket.h>
#include <unistd.h>

using namespace component;
using namespace hosting;

namespace
{

class Dummy final : public DispatchObject
{
  public:
    Result invoke(DispId, CallKind, Args &) override { return {}; }
};

// Holds another object, as a balloon holds the character it was given.
class Holder final : public DispatchObject
{
  public:
    explicit Holder(ObjectRef held) : held_(std::move(held)) {}
    Result invoke(DispId, CallKind, Args &) override { return {}; }

  private:
    ObjectRef held_;
};

// The other end of the socket, written and read message by message.
class Peer final : public wire::ObjectTable
{
  public:
    explicit Peer(int fd) : fd_(fd) {}
    ~Peer() override { ::close(fd_); }
    Peer(const Peer &) = delete;
    Peer &operator=(const Peer &) = delete;

    void send(const wire::Message &message)
    {
        const wire::Bytes bytes = wire::frame(wire::encode(message, this));
        QCOMPARE(::write(fd_, bytes.data(), bytes.size()), ssize_t(bytes.size()));
    }
    // What the channel has written so far (it writes before it returns).
    std::vector<wire::Message> received()
    {
        uint8_t buffer[4096];
        ssize_t n;
        while ((n = ::recv(fd_, buffer, sizeof buffer, MSG_DONTWAIT)) > 0)
            reader_.append(buffer, size_t(n));
        std::vector<wire::Message> messages;
        while (std::optional<wire::Bytes> frame = reader_.next())
            if (std::optional<wire::Message> m = wire::decode(*frame, this, nullptr)) messages.push_back(*m);
        return messages;
    }
    template <typename T> std::vector<T> received()
    {
        std::vector<T> found;
        for (wire::Message &m : received())
            if (auto *t = std::get_if<T>(&m)) found.push_back(std::move(*t));
        return found;
    }

    wire::Handle exportObject(const ObjectRef &object) override
    {
        const auto [it, added] = ids_.emplace(object.get(), uint32_t(ids_.size() + 7));
        objects_[it->second] = object;
        return {wire::Handle::Sender, it->second};
    }
    ObjectRef importObject(wire::Handle handle, bool *ok) override
    {
        *ok = true;
        if (handle.side == wire::Handle::Receiver) return objects_[handle.id];
        lastHandle = handle.id;
        return std::make_shared<Dummy>(); // stands for the channel's object
    }
    uint32_t lastHandle = 0;

  private:
    int fd_;
    wire::FrameReader reader_;
    std::map<const DispatchObject *, uint32_t> ids_;
    std::map<uint32_t, ObjectRef> objects_;
};

} // namespace

class TestChannel : public QObject
{
    Q_OBJECT
    std::shared_ptr<Channel> channel;
    std::unique_ptr<Peer> peer;
    uint32_t nextSeq = 1;              // the channel numbers its calls from 1
    std::vector<ObjectRef> kept;       // what the channel's create handler was given
    std::function<ObjectRef()> answer; // what it answers

    // Has the channel read what the peer sent: a call of its own, whose
    // reply is already waiting, reads everything before it.
    void pump()
    {
        wire::ReplyMessage reply;
        reply.seq = nextSeq++;
        peer->send(reply);
        Args none;
        QVERIFY(channel->call(1, 0, CallKind::Method, none).ok());
    }
    // The peer asks for an object, handing over `given`; returns the handle
    // of the channel's answer.
    uint32_t create(const ObjectRef &given = {})
    {
        peer->send(wire::CreateMessage{
            100, QStringLiteral("f.so"), QStringLiteral("A.B"), {{QStringLiteral("given"), Value(given)}}});
        pump();
        peer->received();
        return peer->lastHandle;
    }

  private slots:
    void init()
    {
        int fds[2];
        QCOMPARE(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, fds), 0);
        channel = std::make_shared<Channel>(fds[0]);
        peer = std::make_unique<Peer>(fds[1]);
        nextSeq = 1;
        answer = [] { return std::make_shared<Dummy>(); };
        channel->setCreateHandler([this](const wire::CreateMessage &m) -> Result {
            if (const auto *given = std::get_if<ObjectRef>(&m.stored.at(0).second); given && *given)
                kept.push_back(*given);
            return Value(answer());
        });
    }
    void cleanup()
    {
        kept.clear();
        channel.reset();
        peer.reset();
    }

    // Handed out twice: the first release may cross the second handing, so
    // the object goes only when both are released.
    void anObjectGoesWhenEveryHandingIsReleased()
    {
        auto object = std::make_shared<Dummy>();
        const std::weak_ptr<Dummy> watch = object;
        answer = [object] { return object; };
        const uint32_t handle = create();
        QCOMPARE(create(), handle);
        answer = {};
        object.reset();
        QCOMPARE(channel->exportedCount(), size_t(1));

        peer->send(wire::ReleaseMessage{handle, 1});
        pump();
        QVERIFY(!watch.expired());
        peer->send(wire::ReleaseMessage{handle, 1});
        pump();
        QVERIFY(watch.expired());
        QCOMPARE(channel->exportedCount(), size_t(0));
        QVERIFY(!channel->broken());
    }

    void releasesOfUnknownHandlesAreIgnored_data()
    {
        QTest::addColumn<bool>("exportFirst");
        QTest::newRow("never handed out") << false;
        QTest::newRow("released already") << true;
    }
    void releasesOfUnknownHandlesAreIgnored()
    {
        QFETCH(bool, exportFirst);
        uint32_t handle = 999;
        if (exportFirst) {
            handle = create();
            peer->send(wire::ReleaseMessage{handle, 1});
        }
        peer->send(wire::ReleaseMessage{handle, 5});
        pump();
        QVERIFY(!channel->broken());
        QCOMPARE(channel->exportedCount(), size_t(0));
        create(); // still served
        QCOMPARE(channel->exportedCount(), size_t(1));
    }

    // One proxy per handle, however often it arrives, and its end tells the
    // peer how many times it arrived.
    void theLastReferenceToAProxyReleasesIt()
    {
        const ObjectRef ours = std::make_shared<Dummy>();
        create(ours);
        create(ours);
        QCOMPARE(kept.size(), size_t(2));
        QCOMPARE(kept[0], kept[1]);
        kept.pop_back();
        QVERIFY(peer->received<wire::ReleaseMessage>().empty());
        kept.clear();
        const std::vector<wire::ReleaseMessage> releases = peer->received<wire::ReleaseMessage>();
        QCOMPARE(releases.size(), size_t(1));
        QCOMPARE(releases[0].object, 7u);
        QCOMPARE(releases[0].count, 2u);

        // Handed over again afterwards: a new proxy, released on its own.
        create(ours);
        kept.clear();
        QCOMPARE(peer->received<wire::ReleaseMessage>().size(), size_t(1));
    }

    // Broken, nothing more is written; the objects the peer held are let go,
    // also one that holds a proxy of this channel (which would keep the
    // channel alive for ever).
    void aBrokenChannelLetsGoAndSendsNothing()
    {
        create(std::make_shared<Dummy>());
        std::weak_ptr<DispatchObject> holder;
        answer = [this, &holder] {
            auto h = std::make_shared<Holder>(kept.back());
            holder = h;
            return h;
        };
        create(std::make_shared<Dummy>());
        QVERIFY(!holder.expired());
        channel->breakWith(QStringLiteral("ended by the test"));
        QVERIFY(holder.expired());
        kept.clear();
        QVERIFY(peer->received().empty());
        QCOMPARE(channel.use_count(), 1L);
    }
};

QTEST_GUILESS_MAIN(TestChannel)
#include "tst_channel.moc"
