// A component that cannot be loaded: it needs a variable no library defines,
// so the dynamic loader refuses it.
#include "component/component.h"

#include <QObject>

extern "C" int harness_test_symbol_nobody_defines;

class BrokenPlugin : public QObject, public component::ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "brokencomponent.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    component::ObjectRef create(const QString &, const component::NamedValues &, QString *error) override
    {
        *error = QString::number(harness_test_symbol_nobody_defines);
        return nullptr;
    }
};

#include "brokencomponent.moc"
