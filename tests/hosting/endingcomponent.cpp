// A component that ends its process on request, for the tests of running a
// component out of process. A method called with one of the ButtonsType
// values below ends it that way (Hang: it never returns, showing nothing);
// putting BalloonPlace 4 never returns.
// Everything else behaves like a small well-kept component: it starts from
// the stored settings and keeps its properties, and a method answers the
// ButtonsType it got in Button and the character's Left (read through the
// Character object it was given) in Label, and writes IconType + 1 back.
#include "component/component.h"

#include <QObject>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <map>
#include <thread>

namespace
{

using namespace component;

enum End : int32_t { Segfault = 11, Abort = 12, Exit3 = 13, Hang = 15 };
constexpr int32_t HangingPlace = 4;

class EndingComponent final : public DispatchObject
{
  public:
    EndingComponent(MethodIds methods, const NamedValues &stored) : methods_(methods)
    {
        for (const auto &[key, value] : stored)
            if (const PropertyInfo *p = findStoredProperty(key); p && typeOf(value) == p->type)
                values_[p->id] = value;
    }

    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        if (methods_.find(id) && kind == CallKind::Method) return answer(args);
        if (id == prop::BalloonPlace && kind == CallKind::PropertyPut && args.size() == 1 &&
            asLong(args[0]) == HangingPlace)
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        if (id == prop::Character && kind == CallKind::PropertyPutRef && args.size() == 1) {
            const auto object = as<ObjectRef>(args[0]);
            if (!object) return error::typeMismatch();
            character_ = *object;
            return {};
        }
        if (id == prop::Character && kind == CallKind::PropertyGet) return Value(character_);
        if (!findProperty(id)) return error::notSupported();
        if (kind == CallKind::PropertyGet) return values_[id];
        if (args.size() != 1) return error::wrongArgCount();
        values_[id] = args[0].get();
        return {};
    }

  private:
    static void end(int32_t how)
    {
        switch (how) {
        case Segfault:
            std::raise(SIGSEGV);
            break;
        case Abort:
            std::abort();
        case Exit3:
            std::exit(3);
        case Hang:
            for (;;)
                std::this_thread::sleep_for(std::chrono::seconds(1));
        default:
            break;
        }
    }

    Result answer(Args &args)
    {
        if (args.size() != 7) return error::wrongArgCount();
        const auto buttons = as<int32_t>(args[4]);
        const auto icon = as<int32_t>(args[2]);
        if (!buttons || !icon) return error::typeMismatch();
        end(*buttons);
        MsgResult result;
        result.Button = *buttons;
        if (character_) {
            Args none;
            const Result left = character_->invoke(character::Left, CallKind::PropertyGet, none);
            if (!left.ok()) return left;
            result.Label = asLong(left.value()).value_or(-1);
        }
        args[2].set(Value(int32_t(*icon + 1)));
        return Value(result);
    }

    MethodIds methods_;
    std::map<DispId, Value> values_;
    ObjectRef character_;
};

class EndingPlugin : public QObject, public ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "endingcomponent.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    ObjectRef create(const QString &classId, const NamedValues &stored, QString *error) override
    {
        return createForClass<EndingComponent>(classId, stored, error);
    }
};

} // namespace

#include "endingcomponent.moc"
