#include "audiooutput.h"

#include "agentlog.h"

#include <QCoreApplication>
#include <QLibrary>

namespace sound
{

namespace
{

using CreateOutput = AudioOutput *(*)();

// The module sits beside the programs in a build tree (tests one folder
// over) and under lib/balloon-harness/modules in an installed one. Looked up once;
// never unloaded, as the outputs it makes live in it.
CreateOutput audioModule()
{
    static const CreateOutput create = [] {
        const QString appDir = QCoreApplication::applicationDirPath();
        for (const QString &dir : {appDir, appDir + QStringLiteral("/../bin"),
                                   appDir + QStringLiteral("/../lib/balloon-harness/modules")}) {
            QLibrary module(dir + QStringLiteral("/agent_audio"));
            if (auto create = reinterpret_cast<CreateOutput>(module.resolve("createAgentAudioOutput")))
                return create;
        }
        qCDebug(agent::lcAgent) << "no audio module beside" << appDir << "- characters stay silent";
        return CreateOutput(nullptr);
    }();
    return create;
}

} // namespace

std::unique_ptr<AudioOutput> createSystemAudioOutput()
{
    const CreateOutput create = audioModule();
    return std::unique_ptr<AudioOutput>(create ? create() : nullptr);
}

} // namespace sound
