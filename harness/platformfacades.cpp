#include "platformfacades.h"

#include "component/contract.h"
#include "platform/agent/agentcontrol.h"
#include "platform/dialogs/commondialog.h"

namespace harness {

using namespace component;
namespace cd = dialogs::member;

void CommonDialogFacade::setDialogTitle(const QString &title)
{
    control_.call(cd::DialogTitle, QStringLiteral("DialogTitle"), CallKind::PropertyPut, {Value(title)});
}

void CommonDialogFacade::setFilter(const QString &filter)
{
    control_.call(cd::Filter, QStringLiteral("Filter"), CallKind::PropertyPut, {Value(filter)});
}

void CommonDialogFacade::setFileName(const QString &file)
{
    control_.call(cd::FileName, QStringLiteral("FileName"), CallKind::PropertyPut, {Value(file)});
}

QString CommonDialogFacade::FileName() { return control_.getString(cd::FileName, QStringLiteral("FileName")); }

void CommonDialogFacade::setColor(int32_t color)
{
    control_.call(cd::Color, QStringLiteral("Color"), CallKind::PropertyPut, {Value(color)});
}

int32_t CommonDialogFacade::Color() { return control_.getLong(cd::Color, QStringLiteral("Color")); }

void CommonDialogFacade::ShowOpen() { control_.call(cd::ShowOpen, QStringLiteral("ShowOpen"), CallKind::Method); }

void CommonDialogFacade::ShowColor() { control_.call(cd::ShowColor, QStringLiteral("ShowColor"), CallKind::Method); }

void AgentFacade::CharactersLoad(const QString &characterId, const std::optional<QString> &file)
{
    Args args{Value(characterId)};
    if (file)
        args.emplace_back(Value(*file));
    control_.call(agent::member::CharactersLoad, QStringLiteral("Characters.Load"), CallKind::Method, std::move(args));
}

ObjectRef AgentFacade::CharactersCharacter(const QString &characterId)
{
    const QString member = QStringLiteral("Characters.Character");
    const Value v = control_.call(agent::member::CharactersCharacter, member, CallKind::Method, {Value(characterId)});
    const auto *object = std::get_if<ObjectRef>(&v);
    if (!object || !*object)
        throwTypeMismatch(control_.name(), member);
    return *object;
}

CharacterFacade::CharacterFacade(const ObjectRef &character, Trace &trace)
    : control_(QStringLiteral("msa"), character, trace)
{
}

void CharacterFacade::setTop(int16_t top)
{
    control_.call(character::Top, QStringLiteral("Character.Top"), CallKind::PropertyPut, {Value(top)});
}

void CharacterFacade::setLeft(int16_t left)
{
    control_.call(character::Left, QStringLiteral("Character.Left"), CallKind::PropertyPut, {Value(left)});
}

void CharacterFacade::Show() { control_.call(character::Show, QStringLiteral("Character.Show"), CallKind::Method); }

} // namespace harness
