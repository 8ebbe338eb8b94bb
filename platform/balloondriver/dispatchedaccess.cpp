// Balloon access across a channel: a small object of the contract's kind,
// served in the component's host and called from the harness.
#include "balloonaccess.h"

namespace balloondriver
{

namespace
{

using namespace component;

// Far from any component's member numbers, so that no modal policy keyed on
// those takes a call of this object for a balloon method.
enum Member : DispId {
    OnScreen = 0x42410001,
    Answer = 0x42410002,
    Close = 0x42410003,
};

class ServedAccess final : public DispatchObject
{
  public:
    explicit ServedAccess(std::shared_ptr<BalloonAccess> access) : access_(std::move(access)) {}

    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        if (kind != CallKind::Method) return error::notSupported();
        switch (id) {
        case OnScreen:
            if (!args.empty()) return error::wrongArgCount();
            return Value(int32_t(access_->balloonOnScreen()));
        case Answer: {
            if (args.size() != 4) return error::wrongArgCount();
            const std::optional<int32_t> balloon = asLong(args[0]), button = asLong(args[1]),
                                         label = asLong(args[3]);
            const std::optional<QString> text = as<QString>(args[2]);
            if (!balloon || !button || !label || !text) return error::typeMismatch();
            return Value(access_->answer(*balloon, {*button, *text, *label}));
        }
        case Close: {
            if (args.size() != 1) return error::wrongArgCount();
            const std::optional<int32_t> balloon = asLong(args[0]);
            if (!balloon) return error::typeMismatch();
            access_->close(*balloon);
            return {};
        }
        default:
            return error::notSupported();
        }
    }

  private:
    std::shared_ptr<BalloonAccess> access_;
};

// A failed call (the host has gone) reads as no balloon: the caller's own
// crash handling reports the host's end.
class RemoteAccess final : public BalloonAccess
{
  public:
    explicit RemoteAccess(ObjectRef object) : object_(std::move(object)) {}

    int balloonOnScreen() override
    {
        Args args;
        const Result r = object_->invoke(OnScreen, CallKind::Method, args);
        const std::optional<int32_t> number = r.ok() ? asLong(r.value()) : std::nullopt;
        return number.value_or(0);
    }

    QString answer(int balloon, const RecordedAnswer &answer) override
    {
        Args args{Value(int32_t(balloon)), Value(int32_t(answer.button)), Value(answer.text),
                  Value(int32_t(answer.label))};
        const Result r = object_->invoke(Answer, CallKind::Method, args);
        if (!r.ok()) return QStringLiteral("it could not be reached: %1").arg(r.error().description);
        const QString *error = std::get_if<QString>(&r.value());
        return error ? *error : QString();
    }

    void close(int balloon) override
    {
        Args args{Value(int32_t(balloon))};
        object_->invoke(Close, CallKind::Method, args);
    }

  private:
    ObjectRef object_;
};

} // namespace

ObjectRef serveBalloonAccess(std::shared_ptr<BalloonAccess> access)
{
    return std::make_shared<ServedAccess>(std::move(access));
}

std::unique_ptr<BalloonAccess> remoteBalloonAccess(ObjectRef object)
{
    return std::make_unique<RemoteAccess>(std::move(object));
}

} // namespace balloondriver
