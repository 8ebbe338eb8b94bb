// The values the window keeps for its whole life. The five message settings
// are passed by reference to every balloon method, so they are kept as the
// values that cross the boundary.
#pragma once

#include "component/value.h"

namespace harness
{

struct HarnessState {
    component::ObjectRef AgentCharacter;
    component::Value MsgType = int32_t(0);
    component::Value IconType = int32_t(0);
    component::Value ButtonsType = int32_t(0);
    component::Value ModalFlag = component::Bool::of(true);
    component::Value OnTopFlag = component::Bool::of(true);
};

} // namespace harness
