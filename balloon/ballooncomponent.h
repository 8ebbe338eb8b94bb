// The balloon message component: properties and the three message methods,
// reached by identifier through invoke().
//
// Methods take seven arguments: heading (String), text (String; labels as
// String() for MsgLabels, by value or by reference), IconType 0..6, MsgType
// 0..1, ButtonsType 0..14 (Long, Integer accepted), ModalFlag, OnTopFlag
// (Boolean, an integer accepted as non-zero = true). A wrong count is
// wrongArgCount, a wrong type typeMismatch, an out-of-range IconType, MsgType
// or ButtonsType invalidValue; nothing is shown then. Every description names
// the argument, the value and what it may be (valuecheck.h).
//
// ModalFlag true: the call returns when the balloon closes and other windows
// take no input meanwhile. OnTopFlag true keeps the balloon above other
// windows. A modeless balloon does not take the keyboard focus.
//
// They return MsgResult, as component/contract.h describes it field by field.
#pragma once

#include "balloonsettings.h"

#include <component/component.h>

#include <QPointer>

#include <memory>

namespace balloon
{

class BalloonWidget;

class BalloonComponent : public component::DispatchObject,
                         public std::enable_shared_from_this<BalloonComponent>
{
  public:
    BalloonComponent(component::MethodIds methods, const component::NamedValues &stored);
    ~BalloonComponent() override;

    component::Result invoke(component::DispId id, component::CallKind kind, component::Args &args) override;

    // The balloon on the screen, if any.
    BalloonWidget *activeBalloon() const;

  private:
    component::Result callProperty(component::DispId id, component::CallKind kind, component::Args &args);
    component::Result callMethod(component::Method method, component::CallKind kind, component::Args &args);
    component::MsgResult show(const BalloonRequest &request);

    component::MethodIds methods_;
    BalloonSettings settings_;
    QPointer<BalloonWidget> balloon_;
};

// The character's rectangle on the desktop, read through its Left, Top,
// Width and Height; none when there is no character, it is hidden, or any of
// those calls fails.
std::optional<QRect> characterRect(const component::ObjectRef &character);

// Every screen's available area, the primary screen first.
QList<QRect> availableScreenAreas();

} // namespace balloon
