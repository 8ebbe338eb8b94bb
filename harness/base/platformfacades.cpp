#include "platformfacades.h"

#include "component/contract.h"
#include "platform/agent/agentcontrol.h"
#include "platform/dialogs/commondialog.h"

namespace harness
{

using namespace component;
namespace cd = dialogs::member;

void CommonDialogFacade::setDialogTitle(const QString &title)
{
    control_.call(cd::DialogTitle, QLatin1String("DialogTitle"), CallKind::PropertyPut, {Value(title)});
}

void CommonDialogFacade::setFilter(const QString &filter)
{
    control_.call(cd::Filter, QLatin1String("Filter"), CallKind::PropertyPut, {Value(filter)});
}

void CommonDialogFacade::setFileName(const QString &file)
{
    control_.call(cd::FileName, QLatin1String("FileName"), CallKind::PropertyPut, {Value(file)});
}

QString CommonDialogFacade::FileName()
{
    return control_.getString(cd::FileName, QLatin1String("FileName"));
}

void CommonDialogFacade::setColor(int32_t color)
{
    control_.call(cd::Color, QLatin1String("Color"), CallKind::PropertyPut, {Value(color)});
}

int32_t CommonDialogFacade::Color()
{
    return control_.getLong(cd::Color, QLatin1String("Color"));
}

void CommonDialogFacade::ShowOpen()
{
    control_.call(cd::ShowOpen, QLatin1String("ShowOpen"), CallKind::Method);
}

void CommonDialogFacade::ShowColor()
{
    control_.call(cd::ShowColor, QLatin1String("ShowColor"), CallKind::Method);
}

void AgentFacade::CharactersLoad(const QString &characterId, const std::optional<QString> &file)
{
    Args args{Value(characterId)};
    if (file) args.emplace_back(Value(*file));
    control_.call(agent::member::CharactersLoad, QLatin1String("Characters.Load"), CallKind::Method,
                  std::move(args));
}

ObjectRef AgentFacade::CharactersCharacter(const QString &characterId)
{
    const QLatin1String member("Characters.Character");
    const Value v =
        control_.call(agent::member::CharactersCharacter, member, CallKind::Method, {Value(characterId)});
    const auto *object = std::get_if<ObjectRef>(&v);
    if (!object || !*object) throwTypeMismatch(control_.name(), member);
    return *object;
}

CharacterFacade::CharacterFacade(const ObjectRef &character, Trace &trace)
    : control_(QStringLiteral("msa"), character, trace)
{
}

void CharacterFacade::setTop(int16_t top)
{
    control_.call(character::Top, QLatin1String("Character.Top"), CallKind::PropertyPut, {Value(top)});
}

void CharacterFacade::setLeft(int16_t left)
{
    control_.call(character::Left, QLatin1String("Character.Left"), CallKind::PropertyPut, {Value(left)});
}

void CharacterFacade::Show()
{
    control_.call(character::Show, QLatin1String("Character.Show"), CallKind::Method);
}

} // namespace harness
