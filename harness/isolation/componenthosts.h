// The host processes of the components the harness runs out of process: one
// per created control, started when the control is created.
#pragma once

#include "componentprocess.h"

#include <vector>

namespace harness
{

// A balloon method with its ModalFlag set is modal: the harness's event loop
// runs while it waits, around() told before and after.
hosting::Channel::ModalPolicy modalPolicy(component::MethodIds methods,
                                          std::function<void(bool entering)> around);

class ComponentHosts
{
  public:
    explicit ComponentHosts(ComponentProcess::Settings settings) : settings_(std::move(settings)) {}

    // Asked when a call has not returned within the settings' time: true
    // waits on, false ends the component (then as a crash).
    void setHangHandler(std::function<bool(component::DispId, component::CallKind, int waitedMs)> hang)
    {
        hang_ = std::move(hang);
    }
    // What each host's channel does around a modal call.
    void setModalPolicy(hosting::Channel::ModalPolicy policy) { modal_ = std::move(policy); }

    // Starts a host for file ahead of the first create(), and has it create
    // the instance ahead too, so that both happen while the harness builds
    // its window.
    void prestart(const QString &file, const QString &classId, const component::NamedValues &stored);

    // The registry's way to create a class from a component file.
    hosting::Created create(const QString &file, const QString &classId,
                            const component::NamedValues &stored);

    // The process an object of a host lives in; null for the harness's own.
    ComponentProcess *processOf(const component::ObjectRef &object) const;
    // Ends a process whose objects are no longer used.
    void remove(ComponentProcess *process);

  private:
    ComponentProcess::Settings settings_;
    hosting::Channel::ModalPolicy modal_;
    std::function<bool(component::DispId, component::CallKind, int waitedMs)> hang_;
    std::vector<std::unique_ptr<ComponentProcess>> processes_;
    std::unique_ptr<ComponentProcess> spare_; // started ahead, not yet used
};

} // namespace harness
