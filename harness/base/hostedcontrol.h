// One hosted control (or an object it handed out) as the harness calls it:
// every call goes through here, is traced, and a failed call becomes a
// HarnessError for the window's event entry.
#pragma once

#include "component/dispatch.h"
#include "trace.h"

namespace harness
{

class HostedControl
{
  public:
    HostedControl(QString name, component::ObjectRef object, Trace &trace)
        : name_(std::move(name)), object_(std::move(object)), trace_(trace)
    {
    }

    const QString &name() const { return name_; }
    const component::ObjectRef &object() const { return object_; }

    // A component started again in place of one that crashed: takes the
    // properties the harness has put since start-up again, in their order,
    // traced as every call is.
    void replaceObject(component::ObjectRef object);
    void putAgain();
    // After too many crashes: every call reports the crash again at once.
    void stop() { stopped_ = true; }

    // member names the call in the trace and in errors.
    component::Value call(component::DispId id, QLatin1String member, component::CallKind kind,
                          component::Args args = {});

    // Typed reads: a value of another type from the control is an error.
    int32_t getLong(component::DispId id, QLatin1String member);
    bool getBool(component::DispId id, QLatin1String member);
    QString getString(component::DispId id, QLatin1String member);

  private:
    void remember(component::DispId id, QLatin1String member, component::CallKind kind,
                  const component::Args &args);

    struct Put {
        component::DispId id;
        QLatin1String member;
        component::CallKind kind;
        component::Value value;
    };
    std::vector<Put> puts_; // the last put of each property, oldest first
    bool stopped_ = false;
    QString name_;
    component::ObjectRef object_;
    Trace &trace_;
};

// A result of the wrong type from a control.
[[noreturn]] void throwTypeMismatch(const QString &control, QLatin1String member);

} // namespace harness
