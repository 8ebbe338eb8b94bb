#include "fakes.h"

#include "platform/agent/agentcontrol.h"

namespace fakes
{

namespace
{

std::vector<Value> snapshot(const Args &args)
{
    std::vector<Value> values;
    for (const Arg &a : args)
        values.push_back(a.get());
    return values;
}

} // namespace

RecordingComponent::RecordingComponent(MethodIds ids, const NamedValues &stored) : methods(ids)
{
    for (const auto &[key, value] : stored)
        if (const PropertyInfo *p = findStoredProperty(key)) values[p->id] = value;
}

Result RecordingComponent::invoke(DispId id, CallKind kind, Args &args)
{
    calls.push_back({id, kind, snapshot(args)});
    if (unsupported.count(id)) return error::notSupported();
    if (const auto method = methods.find(id)) {
        if (onMethod) return onMethod(*method, args);
        return Value(MsgResult{});
    }
    if (!findProperty(id)) return error::notSupported();
    if (kind == CallKind::PropertyGet) return values[id];
    if (args.size() != 1) return error::wrongArgCount();
    if (refusedPuts.count(id)) return error::invalidValue();
    values[id] = args[0].get();
    return {};
}

Result FakeCharacter::invoke(DispId id, CallKind kind, Args &args)
{
    calls.push_back({id, kind, snapshot(args)});
    return {};
}

Result FakeAgent::invoke(DispId id, CallKind kind, Args &args)
{
    calls.push_back({id, kind, snapshot(args)});
    if (id == agent::member::CharactersLoad) {
        if (args.size() == 2 && refuseFiles)
            return DispatchError{error::ComponentFailed,
                                 QStringLiteral("Cannot load the character \"%1\": not a character file")
                                     .arg(as<QString>(args[1]).value_or(QString()))};
        return {};
    }
    if (id == agent::member::CharactersCharacter) return Value(ObjectRef(character));
    return error::notSupported();
}

std::optional<QString> ScriptedDialogs::openFile(const QString &title, const QString &filter, const QString &)
{
    fileDialogs.push_back({title, filter});
    if (fileAnswers.empty()) return std::nullopt;
    auto answer = fileAnswers.front();
    fileAnswers.pop_front();
    return answer;
}

std::optional<QColor> ScriptedDialogs::pickColor(const QColor &initial)
{
    colourDialogs.push_back(initial);
    if (colourAnswers.empty()) return std::nullopt;
    auto answer = colourAnswers.front();
    colourAnswers.pop_front();
    return answer;
}

} // namespace fakes
