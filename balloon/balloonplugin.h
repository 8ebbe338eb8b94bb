// The plugin the harness loads: pVellix.Vellix and Quorvane.Quorvane, the
// same component answering each program's method identifiers.
#pragma once

#include <component/component.h>

#include <QObject>

namespace balloon
{

class BalloonPlugin : public QObject, public component::ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "vellixballoon.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    component::ObjectRef create(const QString &classId, const component::NamedValues &stored,
                                QString *error) override;
};

} // namespace balloon
