// The property store of one balloon component: every property readable and
// writable by identifier at any time, starting from the stored settings.
#pragma once

#include "balloonstyle.h"

#include <component/contract.h>

#include <array>

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

    // How many properties the store holds.
    static constexpr size_t count = 14;

  private:
    // The value of a property the store holds; null for any other identifier.
    const component::Value *find(component::DispId id) const;
    int32_t integer(component::DispId id) const;
    // In the order of the settings table, so a put needs no hashing.
    std::array<component::Value, count> values_;
    QImage icon_; // CustomIcon as it is painted
};

} // namespace balloon
