// A component that cannot be loaded: it needs a variable no library defines,
// so the dynamic loader refuses it. Built twice: once for a class of its own,
// once claiming the balloon's class (a new build that fails to load).
#include "component/component.h"

#include <QObject>

extern "C" int harness_test_symbol_nobody_defines;

class BrokenPlugin : public QObject, public component::ComponentPlugin
{
    Q_OBJECT
#ifdef BROKEN_AS_BALLOON
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "brokenballoon.json")
#else
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "brokencomponent.json")
#endif
    Q_INTERFACES(component::ComponentPlugin)
  public:
    component::ObjectRef create(const QString &, const component::NamedValues &, QString *error) override
    {
        *error = QString::number(harness_test_symbol_nobody_defines);
        return nullptr;
    }
};

#include "brokencomponent.moc"
