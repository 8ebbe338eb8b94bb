#include "vellixfacade.h"

namespace harness
{

using namespace component;

QLatin1String VellixFacade::nameOf(DispId property)
{
    const PropertyInfo *info = findProperty(property);
    return info ? QLatin1String(info->name.data(), qsizetype(info->name.size())) : QLatin1String("?");
}

int32_t VellixFacade::getLong(DispId property)
{
    return control_.getLong(property, nameOf(property));
}

void VellixFacade::putLong(DispId property, int32_t value)
{
    control_.call(property, nameOf(property), CallKind::PropertyPut, {Value(value)});
}

bool VellixFacade::getBool(DispId property)
{
    return control_.getBool(property, nameOf(property));
}

void VellixFacade::putBool(DispId property, bool value)
{
    control_.call(property, nameOf(property), CallKind::PropertyPut, {Value(Bool::of(value))});
}

void VellixFacade::setCharacter(Value &character)
{
    control_.call(prop::Character, nameOf(prop::Character), CallKind::PropertyPutRef,
                  {Arg::byRef(character)});
}

void VellixFacade::setCustomIcon(Value &picture)
{
    control_.call(prop::CustomIcon, nameOf(prop::CustomIcon), CallKind::PropertyPutRef,
                  {Arg::byRef(picture)});
}

MsgResult VellixFacade::callMethod(Method method, const QString &heading, Arg second, HarnessState &state)
{
    const std::string_view view = methodNames[size_t(method)];
    const QLatin1String name(view.data(), qsizetype(view.size()));
    const Value result = control_.call(methods_.of(method), name, CallKind::Method,
                                       {Value(heading), std::move(second), Arg::byRef(state.IconType),
                                        Arg::byRef(state.MsgType), Arg::byRef(state.ButtonsType),
                                        Arg::byRef(state.ModalFlag), Arg::byRef(state.OnTopFlag)});
    if (const auto *r = std::get_if<MsgResult>(&result)) return *r;
    throwTypeMismatch(control_.name(), name);
}

MsgResult VellixFacade::ShowVellix(const QString &heading, const QString &text, HarnessState &state)
{
    return callMethod(Method::ShowVellix, heading, Value(text), state);
}

MsgResult VellixFacade::MsgInput(const QString &heading, const QString &text, HarnessState &state)
{
    return callMethod(Method::MsgInput, heading, Value(text), state);
}

MsgResult VellixFacade::MsgLabels(const QString &heading, Value &labels, HarnessState &state)
{
    return callMethod(Method::MsgLabels, heading, Arg::byRef(labels), state);
}

} // namespace harness
