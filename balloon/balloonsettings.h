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

    // Puts each stored value through the same checks as put(); one that
    // fails is logged once and the default holds. Unknown keys are ignored.
    void load(const component::NamedValues &stored);

    // notSupported for an unknown identifier.
    component::Result get(component::DispId id) const;
    // notSupported for an unknown identifier, typeMismatch for a value of
    // the wrong type, invalidValue for one out of range; each description
    // names the property, the value and what it may be. A picture is made
    // ready to paint here, once.
    component::Result put(component::DispId id, const component::Value &value);

    component::ObjectRef character() const;
    // The settings as the balloon draws them.
    BalloonStyle style() const;

  private:
    int32_t integer(component::DispId id) const;
    QHash<component::DispId, component::Value> values_;
    QImage icon_; // CustomIcon as it is painted
};

} // namespace balloon
