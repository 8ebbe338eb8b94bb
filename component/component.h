// The one header a component author includes.
//
// A component is a Qt plugin that implements ComponentPlugin and lists the
// class identifiers it provides in its metadata file:
//
//     { "classes": ["pVellix.Vellix"] }
//
//     class MyPlugin : public QObject, public component::ComponentPlugin {
//         Q_OBJECT
//         Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "mycomponent.json")
//         Q_INTERFACES(component::ComponentPlugin)
//     public:
//         component::ObjectRef create(const QString &classId,
//                                     const component::NamedValues &stored,
//                                     QString *error) override;
//     };
//
// In CMake, after find_package(BalloonHarness), one line builds it:
//
//     balloon_harness_add_component(mycomponent mycomponent.cpp mycomponent.json)
//
// The harness looks for plugins in the folders of HARNESS_COMPONENT_PATH
// (separated by ':'), then in components/ beside its executable, and takes
// the first plugin that lists the class it needs.
#pragma once

#include "colorref.h"
#include "contract.h"
#include "dispatch.h"
#include "value.h"

#include <QtPlugin>

namespace component
{

class ComponentPlugin
{
  public:
    virtual ~ComponentPlugin() = default;

    // Creates an instance of classId, one of the classes the metadata lists,
    // starting from the stored settings. On failure returns null and says why
    // in *error.
    virtual ObjectRef create(const QString &classId, const NamedValues &stored, QString *error) = 0;
};

// The usual create() of a component that serves both classes: an instance
// of T, made from the class's method identifiers and its stored settings, or
// an error naming a class it does not know.
template <typename T>
ObjectRef createForClass(const QString &classId, const NamedValues &stored, QString *error)
{
    const auto methods = methodIdsForClass(classId.toStdString());
    if (!methods) {
        *error = QStringLiteral("unknown class %1").arg(classId);
        return nullptr;
    }
    return std::make_shared<T>(*methods, stored);
}

} // namespace component

#define HarnessComponentPlugin_iid "org.harness.ComponentPlugin/1"
Q_DECLARE_INTERFACE(component::ComponentPlugin, HarnessComponentPlugin_iid)
