#include "platformclasses.h"

#include "platform/agent/agentcontrol.h"
#include "platform/dialogs/commondialog.h"

namespace platform
{

AgentFactory agentEngine(bool soundOn)
{
    return [soundOn] { return agent::createAgentControl({.soundOn = soundOn}); };
}

void registerPlatformClasses(hosting::ClassRegistry &registry, dialogs::DialogProvider &dialogs,
                             AgentFactory agent)
{
    registry.addBuiltin(CommonDialogClass, [&dialogs](const component::NamedValues &, QString *) {
        return std::make_shared<dialogs::CommonDialog>(dialogs);
    });
    registry.addBuiltin(AgentClass, [agent = std::move(agent)](const component::NamedValues &, QString *) {
        return agent();
    });
}

} // namespace platform
