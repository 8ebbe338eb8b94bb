#include "channel.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QScopedValueRollback>
#include <QSocketNotifier>
#include <QTimer>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <utility>

namespace hosting
{

using namespace component;

namespace
{

// How often a blocked wait looks at the clock for the hang check, and a
// modal one for its balloon.
constexpr int PollSliceMs = 100;
// Falling asleep and being woken costs more than a whole round trip on a
// virtual machine; an answer or the next request of a burst (the options
// put at start-up) usually comes sooner than this, so it is waited for awake.
constexpr auto SpinFor = std::chrono::microseconds(50);

} // namespace

Channel::Channel(int fd) : fd_(fd)
{
    ::fcntl(fd_, F_SETFL, ::fcntl(fd_, F_GETFL) | O_NONBLOCK);
}

Channel::~Channel()
{
    closing_ = true;
    notifier_.reset();
    dropExported();
    ::close(fd_);
}

void Channel::watch()
{
    if (notifier_) return;
    notifier_ = std::make_unique<QSocketNotifier>(qintptr(fd_), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] { onReadable(); });
}

void Channel::setSideInput(int fd, std::function<void()> drain)
{
    sideFd_ = fd;
    sideDrain_ = std::move(drain);
}

void Channel::setHangCheck(int timeoutMs, std::function<bool(DispId, CallKind)> hang)
{
    hangTimeoutMs_ = timeoutMs;
    hang_ = std::move(hang);
}

void Channel::breakWith(const QString &reason)
{
    if (broken()) return;
    brokenReason_ = reason;
    if (notifier_) notifier_->setEnabled(false);
    for (const auto &[seq, loop] : waiting_)
        loop->quit();
    if (onBroken_) onBroken_();
    // Nobody can call them any more; objects that hold this side's
    // RemoteObjects would otherwise keep the channel alive in a cycle.
    dropExported();
}

void Channel::dropExported()
{
    // Moved out first: a destructor may reach this channel again.
    auto dropped = std::exchange(exported_, {});
    exportedIds_.clear();
    dropped.clear();
}

bool Channel::send(const wire::Message &message)
{
    if (broken()) return false;
    const wire::Bytes bytes = wire::frame(wire::encode(message, this));
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::send(fd_, bytes.data() + done, bytes.size() - done, MSG_NOSIGNAL);
        if (n > 0) {
            done += size_t(n);
        } else if (n < 0 && (errno == EAGAIN || errno == EINTR)) {
            pollfd p{fd_, POLLOUT, 0};
            ::poll(&p, 1, PollSliceMs);
        } else {
            breakWith(QStringLiteral("the connection was closed"));
            return false;
        }
    }
    return true;
}

// Reads what has arrived. False when the other side has closed the
// connection (then the channel is broken).
bool Channel::readAvailable()
{
    uint8_t buffer[65536];
    for (;;) {
        const ssize_t n = ::recv(fd_, buffer, sizeof buffer, 0);
        if (n > 0) {
            reader_.append(buffer, size_t(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno == EAGAIN) return true;
        breakWith(QStringLiteral("the connection was closed"));
        return false;
    }
}

void Channel::handleFrames()
{
    while (!broken()) {
        std::optional<wire::Bytes> frame = reader_.next();
        if (!frame) {
            if (!reader_.error().empty())
                breakWith(
                    QStringLiteral("unreadable message: %1").arg(QString::fromStdString(reader_.error())));
            return;
        }
        std::string why;
        std::optional<wire::Message> message = wire::decode(*frame, this, &why);
        if (!message) {
            breakWith(QStringLiteral("unreadable message: %1").arg(QString::fromStdString(why)));
            return;
        }
        if (auto *reply = std::get_if<wire::ReplyMessage>(&*message)) {
            const uint32_t seq = reply->seq;
            replies_[seq] = std::move(*reply);
            if (auto it = waiting_.find(seq); it != waiting_.end()) it->second->quit();
        } else if (auto *call = std::get_if<wire::CallMessage>(&*message)) {
            serve(*call);
        } else if (const auto *dropped = std::get_if<wire::ReleaseMessage>(&*message)) {
            release(*dropped);
        } else {
            serve(std::get<wire::CreateMessage>(*message));
        }
    }
}

void Channel::serve(wire::CallMessage &call)
{
    wire::ReplyMessage reply;
    reply.seq = call.seq;
    const auto target = exported_.find(call.object);
    Result result = error::notSupported();
    // The variables the by-reference arguments point at live here.
    std::vector<Value> variables;
    variables.reserve(call.args.size());
    Args args;
    args.reserve(call.args.size());
    for (wire::WireArg &a : call.args) {
        variables.push_back(std::move(a.value));
        args.push_back(a.byRef ? Arg::byRef(variables.back()) : Arg(variables.back()));
    }
    if (target != exported_.end()) {
        const ObjectRef keep = target->second.object; // a call may drop the table's entry
        result = safeInvoke(*keep, call.id, call.kind, args);
    }
    reply.ok = result.ok();
    if (result.ok())
        reply.value = result.value();
    else
        reply.error = result.error();
    for (size_t i = 0; i < call.args.size(); ++i)
        if (call.args[i].byRef) reply.changed.emplace_back(uint32_t(i), variables[i]);
    send(reply);
}

void Channel::serve(const wire::CreateMessage &create)
{
    wire::ReplyMessage reply;
    reply.seq = create.seq;
    const Result result = createHandler_
                              ? createHandler_(create)
                              : Result(DispatchError{error::CannotCreateObject,
                                                     QStringLiteral("This side creates no objects")});
    reply.ok = result.ok();
    if (result.ok())
        reply.value = result.value();
    else
        reply.error = result.error();
    send(reply);
}

std::optional<wire::ReplyMessage> Channel::takeReply(uint32_t seq)
{
    const auto it = replies_.find(seq);
    if (it == replies_.end()) return std::nullopt;
    wire::ReplyMessage reply = std::move(it->second);
    replies_.erase(it);
    return reply;
}

std::optional<wire::ReplyMessage> Channel::waitBlocking(uint32_t seq, DispId id, CallKind kind)
{
    QElapsedTimer waited;
    waited.start();
    if (spinUntil([this, seq] {
            handleFrames();
            return replies_.count(seq) > 0;
        }))
        if (std::optional<wire::ReplyMessage> reply = takeReply(seq)) return reply;
    while (!broken()) {
        handleFrames();
        if (std::optional<wire::ReplyMessage> reply = takeReply(seq)) return reply;
        if (broken()) break;
        pollfd fds[2] = {{fd_, POLLIN, 0}, {sideFd_, POLLIN, 0}};
        const int n = ::poll(fds, sideFd_ >= 0 ? 2 : 1, PollSliceMs);
        if (n < 0 && errno != EINTR) breakWith(QStringLiteral("the connection failed"));
        if (sideFd_ >= 0 && (fds[1].revents & (POLLIN | POLLHUP)) && sideDrain_) sideDrain_();
        if (fds[0].revents) readAvailable();
        if (hang_ && hangTimeoutMs_ > 0 && waited.elapsed() >= hangTimeoutMs_) {
            const auto [hungId, hungKind] = modalOut_.value_or(std::pair(id, kind));
            if (!hang_(hungId, hungKind)) breakWith(QStringLiteral("the call did not return"));
            waited.restart();
        }
    }
    return std::nullopt;
}

std::optional<wire::ReplyMessage> Channel::waitInEventLoop(uint32_t seq, DispId id, CallKind kind)
{
    watch();
    handleFrames();
    if (std::optional<wire::ReplyMessage> reply = takeReply(seq)) return reply;
    QEventLoop loop;
    waiting_[seq] = &loop;
    const QScopedValueRollback modalOut(modalOut_, std::make_optional(std::pair(id, kind)));
    QTimer untilShown;
    QElapsedTimer waited;
    if (hang_ && hangTimeoutMs_ > 0 && modal_.balloonShown) {
        waited.start();
        QObject::connect(&untilShown, &QTimer::timeout, &loop, [&] {
            if (broken() || modal_.balloonShown()) {
                untilShown.stop();
            } else if (waited.elapsed() >= hangTimeoutMs_) {
                if (!hang_(id, kind))
                    breakWith(QStringLiteral("the call showed no balloon and did not return"));
                waited.restart();
            }
        });
        untilShown.start(PollSliceMs);
    }
    if (!broken()) loop.exec();
    waiting_.erase(seq);
    return takeReply(seq);
}

void Channel::onReadable()
{
    if (broken()) return;
    // The notifier stays on: a served call may run an event loop of its own
    // (a modal balloon), and what arrives meanwhile is served inside it, so
    // that the other side can still reach this one. Reading drains the
    // socket, so it does not fire again for what was read; and turning it
    // off and on would wake the event loop twice a call.
    if (!readAvailable()) return;
    handleFrames();
    // The next call of a burst is served without going back to sleep.
    for (;;) {
        const size_t held = reader_.buffered();
        if (broken() || !spinUntil([this, held] { return reader_.buffered() > held; })) break;
        handleFrames();
    }
}

bool Channel::spinUntil(const std::function<bool()> &arrived)
{
    const auto until = std::chrono::steady_clock::now() + SpinFor;
    while (!broken()) {
        if (!readAvailable()) return false;
        if (arrived()) return true;
        if (std::chrono::steady_clock::now() >= until) return false;
    }
    return false;
}

Result Channel::call(uint32_t object, DispId id, CallKind kind, Args &args)
{
    wire::CallMessage message;
    message.seq = nextSeq_++;
    message.object = object;
    message.id = id;
    message.kind = kind;
    for (const Arg &a : args)
        message.args.push_back({a.isRef(), a.get()});
    const auto gone = [this] {
        return DispatchError{error::ComponentFailed,
                             QStringLiteral("The component's process has ended: %1").arg(brokenReason_)};
    };
    if (!send(message)) return gone();

    const bool modal = modal_.isModal && modal_.isModal(id, kind, args);
    if (modal && modal_.around) modal_.around(true);
    std::optional<wire::ReplyMessage> reply =
        modal ? waitInEventLoop(message.seq, id, kind) : waitBlocking(message.seq, id, kind);
    if (modal && modal_.around) modal_.around(false);
    if (!reply) return gone();

    for (auto &[index, value] : reply->changed)
        if (index < args.size()) args[index].set(std::move(value));
    if (!reply->ok) return reply->error;
    return reply->value;
}

Result Channel::create(const QString &file, const QString &classId, const NamedValues &stored)
{
    return awaitCreate(sendCreate(file, classId, stored));
}

uint32_t Channel::sendCreate(const QString &file, const QString &classId, const NamedValues &stored)
{
    wire::CreateMessage message{nextSeq_++, file, classId, stored};
    return send(message) ? message.seq : 0;
}

Result Channel::awaitCreate(uint32_t seq)
{
    std::optional<wire::ReplyMessage> reply = seq ? waitBlocking(seq, 0, CallKind::Method) : std::nullopt;
    if (!reply) return DispatchError{error::CannotCreateObject, brokenReason_};
    if (!reply->ok) return reply->error;
    return reply->value;
}

wire::Handle Channel::exportObject(const ObjectRef &object)
{
    if (const auto *remote = dynamic_cast<const RemoteObject *>(object.get());
        remote && remote->channel() == this)
        return {wire::Handle::Receiver, remote->id()};
    uint32_t id;
    if (auto it = exportedIds_.find(object.get()); it != exportedIds_.end()) {
        id = it->second;
    } else {
        id = nextExport_++;
        exported_.emplace(id, Exported{object, 0});
        exportedIds_.emplace(object.get(), id);
    }
    ++exported_[id].handedOut;
    return {wire::Handle::Sender, id};
}

ObjectRef Channel::importObject(wire::Handle handle, bool *ok)
{
    *ok = true;
    if (handle.side == wire::Handle::Sender) {
        // One RemoteObject per handle, so that its end is the last reference's.
        Imported &entry = imported_[handle.id];
        if (entry.received < UINT32_MAX) ++entry.received;
        if (std::shared_ptr<RemoteObject> alive = entry.object.lock()) return alive;
        auto remote = std::make_shared<RemoteObject>(shared_from_this(), handle.id);
        entry.object = remote;
        return remote;
    }
    if (auto it = exported_.find(handle.id); it != exported_.end()) return it->second.object;
    *ok = false;
    return nullptr;
}

void Channel::released(uint32_t id)
{
    const auto it = imported_.find(id);
    if (it == imported_.end()) return;
    const wire::ReleaseMessage message{id, it->second.received};
    imported_.erase(it);
    if (closing_ || broken()) return;
    send(message);
}

void Channel::release(const wire::ReleaseMessage &release)
{
    // An unknown handle is a late release of what is gone already: harmless.
    const auto it = exported_.find(release.object);
    if (it == exported_.end()) return;
    if (release.count < it->second.handedOut) {
        it->second.handedOut -= release.count; // the handle is on its way again
        return;
    }
    const ObjectRef dropped = std::move(it->second.object);
    exportedIds_.erase(dropped.get());
    exported_.erase(it);
}

} // namespace hosting
