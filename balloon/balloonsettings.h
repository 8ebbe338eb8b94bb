// The property store of one balloon component: every property readable and
// writable by identifier at any time, starting from the stored settings.
#pragma once

#include "balloonstyle.h"

#include <component/contract.h>

#include <QHash>

namespace balloon
{

class BalloonSettings
{
  public:
    // Defaults for anything the stored settings leave out.
    BalloonSettings();

    // Takes stored values as given, widening 16-bit integers; a value of a
    // type the property cannot hold is left out. Unknown keys are ignored.
    void load(const component::NamedValues &stored);

    // notSupported for an unknown identifier.
    component::Result get(component::DispId id) const;
    // notSupported for an unknown identifier, typeMismatch for a value of
    // the wrong type, invalidValue for one out of range.
    component::Result put(component::DispId id, const component::Value &value);

    component::ObjectRef character() const;
    // The settings as the balloon draws them; odd stored values fall back to
    // their defaults.
    BalloonStyle style() const;

  private:
    int32_t integer(component::DispId id) const;
    QHash<component::DispId, component::Value> values_;
};

} // namespace balloon
