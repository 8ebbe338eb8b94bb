#include "sessionrig.h"

#include "ballooncomponent.h"
#include "platform/platformclasses.h"

namespace
{

using namespace component;

// Forwards to another component and rewrites one Button answer.
class RewritingComponent final : public DispatchObject
{
  public:
    RewritingComponent(ObjectRef inner, int from, int to) : inner_(std::move(inner)), from_(from), to_(to) {}
    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        Result r = inner_->invoke(id, kind, args);
        const auto *answer = r.ok() ? std::get_if<MsgResult>(&r.value()) : nullptr;
        if (!answer || answer->Button != from_) return r;
        MsgResult changed = *answer;
        changed.Button = to_;
        return Value(changed);
    }

  private:
    ObjectRef inner_;
    int from_, to_;
};

} // namespace

SessionRig::ComponentFactory SessionRig::reference()
{
    return [](const NamedValues &stored) {
        return std::make_shared<balloon::BalloonComponent>(harness::fennick().methods, stored);
    };
}

SessionRig::ComponentFactory SessionRig::answeringOtherwise(int from, int to)
{
    return [from, to](const NamedValues &stored) {
        return std::make_shared<RewritingComponent>(reference()(stored), from, to);
    };
}

SessionRig::SessionRig(ComponentFactory component, dialogs::DialogProvider &dialogs,
                       dialogs::MessageBoxService &boxes, std::function<void(const QString &)> traceListener)
{
    trace.setTap(std::move(traceListener));
    registry.addBuiltin(harness::fennick().componentClass,
                        [component](const NamedValues &stored, QString *) { return component(stored); });
    platform::registerPlatformClasses(registry, dialogs, [] { return std::make_shared<fakes::FakeAgent>(); });
    window = std::make_unique<harness::FrmMain>(
        harness::fennick(), harness::FrmMain::Platform{registry, boxes, trace, [](int) {}, {}});
    window->createControls();
    window->load();
}
