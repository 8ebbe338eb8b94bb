#include "agentcontrol.h"

#include "acscharacter.h"
#include "agentcharacter.h"
#include "agentlog.h"
#include "defaultcharacter.h"
#include "dispatchargs.h"

#include <QApplication>

#include <vector>

namespace agent
{

Q_LOGGING_CATEGORY(lcAgent, "harness.agent", QtInfoMsg)

namespace
{

using component::Args;
using component::CallKind;
using component::DispatchError;
using component::Result;

DispatchError failure(const QString &description)
{
    return {component::error::ComponentFailed, description};
}

class AgentControl final : public component::DispatchObject
{
  public:
    Result invoke(component::DispId id, CallKind kind, Args &args) override
    {
        switch (id) {
        case member::CharactersLoad:
            return charactersLoad(kind, args);
        case member::CharactersCharacter:
            return charactersCharacter(kind, args);
        }
        return component::error::notSupported();
    }

  private:
    Result charactersLoad(CallKind kind, Args &args)
    {
        if (kind != CallKind::Method) return component::error::notSupported();
        if (auto error = dispatchargs::expectCount(args, 1, 2)) return *error;
        const std::optional<QString> id = dispatchargs::string(args[0]);
        const bool fileGiven = args.size() > 1 && args[1].type() != component::ValueType::Empty;
        const std::optional<QString> file =
            fileGiven ? dispatchargs::string(args[1]) : std::optional(QString());
        if (!id || !file) return component::error::typeMismatch();
        if (find(*id)) return failure(QStringLiteral("The character \"%1\" is already loaded.").arg(*id));
        // Character windows need a widget application to live in.
        if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
            return failure(QStringLiteral("The agent cannot show characters without a window system."));

        std::unique_ptr<CharacterModel> model;
        if (file->isEmpty()) {
            model = std::make_unique<DefaultCharacter>();
        } else {
            QString why;
            model = AcsCharacter::load(*file, &why);
            if (!model) {
                qCDebug(lcAgent).noquote() << "refused" << *file << ":" << why; // the caller reports it
                // The path once: the reason may name it already.
                return failure(why.contains(*file)
                                   ? QStringLiteral("Cannot load the character: %1").arg(why)
                                   : QStringLiteral("Cannot load the character \"%1\": %2").arg(*file, why));
            }
        }
        characters_.emplace_back(*id, std::make_shared<AgentCharacter>(std::move(model)));
        return Result{};
    }

    Result charactersCharacter(CallKind kind, Args &args)
    {
        if (kind != CallKind::Method && kind != CallKind::PropertyGet)
            return component::error::notSupported();
        if (auto error = dispatchargs::expectCount(args, 1, 1)) return *error;
        const std::optional<QString> id = dispatchargs::string(args[0]);
        if (!id) return component::error::typeMismatch();
        component::ObjectRef character = find(*id);
        if (!character) return failure(QStringLiteral("The character \"%1\" is not loaded.").arg(*id));
        return component::Value(character);
    }

    std::shared_ptr<AgentCharacter> find(const QString &id) const
    {
        for (const auto &[loadedId, character] : characters_)
            if (loadedId.compare(id, Qt::CaseInsensitive) == 0) return character;
        return nullptr;
    }

    std::vector<std::pair<QString, std::shared_ptr<AgentCharacter>>> characters_;
};

} // namespace

std::shared_ptr<component::DispatchObject> createAgentControl()
{
    return std::make_shared<AgentControl>();
}

} // namespace agent
