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
    explicit AgentControl(AgentSettings settings) : settings_(std::move(settings)) {}

    Result invoke(component::DispId id, CallKind kind, Args &args) override
    {
        switch (id) {
        case member::CharactersLoad:
            return charactersLoad(kind, args);
        case member::CharactersCharacter:
            return charactersCharacter(kind, args);
        case member::SoundEffectsOn:
            return soundEffectsOn(kind, args);
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
        auto character = std::make_shared<AgentCharacter>(std::move(model), settings_.audio,
                                                          settings_.motion.random, settings_.motion.timing);
        character->setSoundOn(settings_.soundOn);
        characters_.emplace_back(*id, std::move(character));
        return Result{};
    }

    Result soundEffectsOn(CallKind kind, Args &args)
    {
        if (kind == CallKind::PropertyGet) {
            if (auto error = dispatchargs::expectCount(args, 0, 0)) return *error;
            return component::Value(component::Bool::of(settings_.soundOn));
        }
        if (kind != CallKind::PropertyPut) return component::error::notSupported();
        if (auto error = dispatchargs::expectCount(args, 1, 1)) return *error;
        const auto on = component::as<component::Bool>(args[0]);
        if (!on) return component::error::typeMismatch();
        settings_.soundOn = on->value();
        for (const auto &[loadedId, character] : characters_)
            character->setSoundOn(settings_.soundOn);
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

    AgentSettings settings_;
    std::vector<std::pair<QString, std::shared_ptr<AgentCharacter>>> characters_;
};

} // namespace

CharacterMotion steadyMotion()
{
    constexpr int aDay = 24 * 60 * 60 * 1000;
    return {[](int) { return 0; }, IdleTiming{aDay, 0, aDay, IdleTiming{}.idlesPerLevel}};
}

std::shared_ptr<component::DispatchObject> createAgentControl(AgentSettings settings)
{
    return std::make_shared<AgentControl>(std::move(settings));
}

} // namespace agent
