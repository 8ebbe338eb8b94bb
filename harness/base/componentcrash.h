// A hosted control's process ended under a call (a signal, an abort, an exit,
// or a hang given up on). Not a run-time error: the window's event entry
// reports it and starts the component again instead of ending the program.
#pragma once

#include "component/dispatch.h"

#include <exception>
#include <vector>

namespace harness
{

struct ComponentCrash : std::exception {
    ComponentCrash(QString control_, QLatin1String member_, component::CallKind kind_,
                   std::vector<component::Value> args_, bool stopped_)
        : control(std::move(control_)), member(member_), kind(kind_), args(std::move(args_)),
          stopped(stopped_)
    {
    }

    QString control;
    QLatin1String member;
    component::CallKind kind = component::CallKind::Method;
    std::vector<component::Value> args; // as passed
    bool stopped = false;               // the component was left stopped after earlier crashes

    const char *what() const noexcept override { return "the component's process has ended"; }
};

} // namespace harness
