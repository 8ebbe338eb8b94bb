// One end of the connection between the harness and a component host. Calls
// are synchronous: the caller waits for the reply, and while it waits it
// answers the calls the other side makes on objects of its own (the
// character a balloon reads its place from). Objects cross as handles; an
// object of the other side is called through a RemoteObject, and the other
// side is told when the last reference to it has gone, so that it lets its
// object go.
#pragma once

#include "platform/hosting/wire/wirecodec.h"

#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <unordered_map>

class QSocketNotifier;
class QEventLoop;

namespace hosting
{

class RemoteObject;

class Channel final : public wire::ObjectTable, public std::enable_shared_from_this<Channel>
{
  public:
    // Takes over fd, a connected stream socket.
    explicit Channel(int fd);
    ~Channel() override;
    Channel(const Channel &) = delete;
    Channel &operator=(const Channel &) = delete;

    // Answers the other side's calls (and notices its end) whenever the
    // event loop runs, not only while this side waits in a call.
    void watch();

    // Calls a member of the other side's object. A modal call keeps this
    // side's event loop running while it waits; any other call blocks.
    component::Result call(uint32_t object, component::DispId id, component::CallKind kind,
                           component::Args &args);
    // Asks the host to load a component file and create an instance; the
    // value is the new object.
    component::Result create(const QString &file, const QString &classId,
                             const component::NamedValues &stored);
    // The same in two halves, so that the host works on it meanwhile: the
    // request's number (0: not sent), then its answer.
    uint32_t sendCreate(const QString &file, const QString &classId, const component::NamedValues &stored);
    component::Result awaitCreate(uint32_t seq);

    using CreateHandler = std::function<component::Result(const wire::CreateMessage &)>;
    void setCreateHandler(CreateHandler handler) { createHandler_ = std::move(handler); }

    // Which calls are modal, and what to do around one (the harness disables
    // its window). A modal call has no time limit once its balloon has been
    // on the screen, since a person may take their time; until then the
    // hang check applies as to any call. balloonShown may be empty (no
    // limit at all).
    struct ModalPolicy {
        std::function<bool(component::DispId, component::CallKind, const component::Args &)> isModal;
        std::function<void(bool entering)> around;
        std::function<bool()> balloonShown;
    };
    void setModalPolicy(ModalPolicy policy) { modal_ = std::move(policy); }

    // Also read while blocked in a call, so that a chatty host never stalls
    // on a full pipe (its standard error).
    void setSideInput(int fd, std::function<void()> drain);

    // After timeoutMs without a reply, asks hang(): true waits on, false
    // gives the call up and breaks the channel.
    void setHangCheck(int timeoutMs, std::function<bool(component::DispId, component::CallKind)> hang);

    bool broken() const { return !brokenReason_.isEmpty(); }
    const QString &brokenReason() const { return brokenReason_; }
    // Called once, when the other side has gone or sent something unreadable.
    void setOnBroken(std::function<void()> onBroken) { onBroken_ = std::move(onBroken); }
    void breakWith(const QString &reason);

    wire::Handle exportObject(const component::ObjectRef &object) override;
    component::ObjectRef importObject(wire::Handle handle, bool *ok) override;

    // Told by a RemoteObject when its last reference has gone: the other
    // side is told, unless the channel is broken or closing. Only writes;
    // never waits or serves, so it is safe from any destructor.
    void released(uint32_t id);
    // How many of this side's objects the other side holds.
    size_t exportedCount() const { return exported_.size(); }

  private:
    struct Exported {
        component::ObjectRef object;
        uint32_t handedOut = 0; // times its handle was sent
    };
    struct Imported {
        std::weak_ptr<RemoteObject> object;
        uint32_t received = 0; // times its handle arrived
    };
    void release(const wire::ReleaseMessage &release);
    void dropExported();

    bool send(const wire::Message &message);
    bool readAvailable();
    void handleFrames();
    void serve(wire::CallMessage &call);
    void serve(const wire::CreateMessage &create);
    std::optional<wire::ReplyMessage> waitBlocking(uint32_t seq, component::DispId id,
                                                   component::CallKind kind);
    std::optional<wire::ReplyMessage> waitInEventLoop(uint32_t seq, component::DispId id,
                                                      component::CallKind kind);
    std::optional<wire::ReplyMessage> takeReply(uint32_t seq);
    void onReadable();
    // Reads for a short while without sleeping; true once arrived() holds.
    bool spinUntil(const std::function<bool()> &arrived);

    int fd_;
    wire::FrameReader reader_;
    std::unique_ptr<QSocketNotifier> notifier_;
    std::map<uint32_t, wire::ReplyMessage> replies_;
    std::map<uint32_t, QEventLoop *> waiting_; // modal waits by seq
    // The modal call out, if any: a call that hangs inside it is reported as
    // that call, the one the person made.
    std::optional<std::pair<component::DispId, component::CallKind>> modalOut_;
    std::unordered_map<uint32_t, Exported> exported_;
    std::unordered_map<const component::DispatchObject *, uint32_t> exportedIds_;
    std::unordered_map<uint32_t, Imported> imported_;
    bool closing_ = false;
    uint32_t nextSeq_ = 1;
    uint32_t nextExport_ = 1;
    CreateHandler createHandler_;
    ModalPolicy modal_;
    int sideFd_ = -1;
    std::function<void()> sideDrain_;
    int hangTimeoutMs_ = 0;
    std::function<bool(component::DispId, component::CallKind)> hang_;
    QString brokenReason_;
    std::function<void()> onBroken_;
};

// An object that lives on the other side of a channel.
class RemoteObject final : public component::DispatchObject
{
  public:
    RemoteObject(std::shared_ptr<Channel> channel, uint32_t id) : channel_(std::move(channel)), id_(id) {}
    ~RemoteObject() override { channel_->released(id_); }
    RemoteObject(const RemoteObject &) = delete;
    RemoteObject &operator=(const RemoteObject &) = delete;
    component::Result invoke(component::DispId id, component::CallKind kind, component::Args &args) override
    {
        return channel_->call(id_, id, kind, args);
    }
    const Channel *channel() const { return channel_.get(); }
    uint32_t id() const { return id_; }

  private:
    std::shared_ptr<Channel> channel_;
    uint32_t id_;
};

} // namespace hosting
