// The smallest useful balloon component: it keeps its properties and answers
// each message at once, without showing anything. A starting point for a
// component author, and the plugin the hosting tests load.
//
// Answers: Button is the ButtonsType it was given, Label the index of the
// last label (-1 without labels), Text the heading. It also counts its calls
// in IconType, to show that arguments passed by reference come back changed.
#include "component/component.h"

#include <QObject>

#include <map>

namespace
{

using namespace component;

class ExampleComponent final : public DispatchObject
{
  public:
    ExampleComponent(MethodIds methods, const NamedValues &stored) : methods_(methods)
    {
        for (const auto &[key, value] : stored)
            if (const PropertyInfo *p = findStoredProperty(key); p && typeOf(value) == p->type)
                values_[p->id] = value;
    }

    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        if (const auto method = methods_.find(id); method && kind == CallKind::Method)
            return answer(*method, args);
        const PropertyInfo *property = findProperty(id);
        if (!property) return error::notSupported();
        if (kind == CallKind::PropertyGet) return values_[id];
        if (kind == CallKind::Method) return error::notSupported();
        if (args.size() != 1) return error::wrongArgCount();
        if (args[0].type() != property->type) return error::typeMismatch();
        values_[id] = args[0].get();
        return {};
    }

  private:
    Result answer(Method method, Args &args)
    {
        if (args.size() != 7) return error::wrongArgCount();
        const auto heading = as<QString>(args[0]);
        const auto buttons = as<int32_t>(args[4]);
        const auto icon = as<int32_t>(args[2]);
        if (!heading || !buttons || !icon) return error::typeMismatch();
        MsgResult result;
        result.Button = *buttons;
        result.Label = -1;
        if (method == Method::MsgLabels) {
            const auto labels = as<QStringList>(args[1]);
            if (!labels) return error::typeMismatch();
            result.Label = int32_t(labels->size()) - 1;
        }
        if (method == Method::MsgInput) result.Text = *heading;
        args[2].set(Value(int32_t(*icon + 1)));
        return Value(result);
    }

    MethodIds methods_;
    std::map<DispId, Value> values_;
};

class ExamplePlugin : public QObject, public ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "examplecomponent.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    ObjectRef create(const QString &classId, const NamedValues &stored, QString *error) override
    {
        return createForClass<ExampleComponent>(classId, stored, error);
    }
};

} // namespace

#include "examplecomponent.moc"
