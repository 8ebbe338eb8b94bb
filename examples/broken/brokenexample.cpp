// A deliberately broken balloon component, for trying --verify on a
// component that does not keep the contract. It is the reference balloon
// with four faults:
//   - ButtonsType 14 (Yes, No) answers 7 for Yes and 6 for No;
//   - ButtonsType 11 (Tips, Options, Close) crashes the process;
//   - Language is accepted and read back but ignored: captions stay English;
//   - a modal MsgInput with IconType 5 never returns.
// Point the harness at its folder:
//   HARNESS_COMPONENT_PATH=$PWD/build/bin/examples/broken build/bin/fennick --verify
#include "ballooncomponent.h"

#include <QEventLoop>
#include <QObject>

#include <csignal>

namespace
{

using namespace component;

constexpr int32_t swappedSet = 14;
constexpr int32_t crashingSet = 11;
constexpr int32_t hangingIcon = 5;
constexpr int32_t English = 200;

class BrokenComponent final : public DispatchObject
{
  public:
    BrokenComponent(MethodIds methods, const NamedValues &stored)
        : methods_(methods), reference_(std::make_shared<balloon::BalloonComponent>(methods, stored))
    {
        Args english{Arg(Value(English))};
        reference_->invoke(prop::Language, CallKind::PropertyPut, english);
    }

    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        if (id == prop::Language) return language(kind, args);
        const std::optional<Method> method = methods_.find(id);
        if (!method || args.size() != 7) return reference_->invoke(id, kind, args);
        const std::optional<int32_t> buttons = as<int32_t>(args[4]);
        if (buttons == crashingSet) std::raise(SIGSEGV);
        const std::optional<Bool> modal = as<Bool>(args[5]);
        if (*method == Method::MsgInput && as<int32_t>(args[2]) == hangingIcon && modal && modal->value()) {
            QEventLoop never;
            never.exec();
        }
        Result result = reference_->invoke(id, kind, args);
        if (buttons == swappedSet && result.ok())
            if (auto *answer = std::get_if<MsgResult>(&result.value())) {
                MsgResult swapped = *answer;
                swapped.Button = swapped.Button == 6 ? 7 : swapped.Button == 7 ? 6 : swapped.Button;
                return Value(swapped);
            }
        return result;
    }

  private:
    Result language(CallKind kind, Args &args)
    {
        if (kind == CallKind::PropertyGet)
            return args.empty() ? Result(Value(language_)) : error::wrongArgCount();
        if (kind != CallKind::PropertyPut || args.size() != 1) return error::notSupported();
        const std::optional<int32_t> value = as<int32_t>(args[0]);
        if (!value) return error::typeMismatch();
        language_ = *value;
        return {};
    }

    MethodIds methods_;
    std::shared_ptr<balloon::BalloonComponent> reference_;
    int32_t language_ = English;
};

class BrokenPlugin : public QObject, public ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "brokenexample.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    ObjectRef create(const QString &classId, const NamedValues &stored, QString *error) override
    {
        return createForClass<BrokenComponent>(classId, stored, error);
    }
};

} // namespace

#include "brokenexample.moc"
