// The platform's own classes, the common dialog and the agent control, by
// the class identifiers the harness window creates them under. Programs,
// tests and benchmarks register them here, each with its own dialogs and,
// where they fake the character engine, their own agent.
#pragma once

#include "platform/hosting/classregistry.h"

#include <functional>
#include <memory>

namespace dialogs
{
class DialogProvider;
}

namespace platform
{

inline const QString CommonDialogClass = QStringLiteral("MSComDlg.CommonDialog");
inline const QString AgentClass = QStringLiteral("AgentObjectsCtl.Agent");

using AgentFactory = std::function<std::shared_ptr<component::DispatchObject>()>;

// The engine's agent control, with its sounds on or off.
AgentFactory agentEngine(bool soundOn = true);

// Adds both classes to the registry: the common dialog shows its dialogs
// through `dialogs`, which must outlive the registry's objects.
void registerPlatformClasses(hosting::ClassRegistry &registry, dialogs::DialogProvider &dialogs,
                             AgentFactory agent = agentEngine());

} // namespace platform
