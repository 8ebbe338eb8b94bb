// Typed calls on Vellix1, named as in the component contract. Each maps to
// its dispatch identifier; the method identifiers come from the program.
#pragma once

#include "component/contract.h"
#include "harnessstate.h"
#include "hostedcontrol.h"

namespace harness
{

class VellixFacade
{
  public:
    VellixFacade(HostedControl &control, const component::MethodIds &methods)
        : control_(control), methods_(methods)
    {
    }

    int32_t getLong(component::DispId property);
    void putLong(component::DispId property, int32_t value);
    bool getBool(component::DispId property);
    void putBool(component::DispId property, bool value);

    int32_t VAlignmentCaption() { return getLong(component::prop::VAlignmentCaption); }
    void setVAlignmentCaption(int32_t v) { putLong(component::prop::VAlignmentCaption, v); }
    int32_t HAlignmentText() { return getLong(component::prop::HAlignmentText); }
    void setHAlignmentText(int32_t v) { putLong(component::prop::HAlignmentText, v); }
    int32_t BalloonPlace() { return getLong(component::prop::BalloonPlace); }
    void setBalloonPlace(int32_t v) { putLong(component::prop::BalloonPlace, v); }
    bool LineSeparator() { return getBool(component::prop::LineSeparator); }
    void setLineSeparator(bool v) { putBool(component::prop::LineSeparator, v); }
    void setLanguage(int32_t v) { putLong(component::prop::Language, v); }
    void setCharacter(component::Value &character); // by reference
    void setCustomIcon(component::Value &picture);  // by reference

    component::MsgResult ShowVellix(const QString &heading, const QString &text, HarnessState &state);
    component::MsgResult MsgInput(const QString &heading, const QString &text, HarnessState &state);
    component::MsgResult MsgLabels(const QString &heading, component::Value &labels, HarnessState &state);

  private:
    component::MsgResult callMethod(component::Method method, const QString &heading, component::Arg second,
                                    HarnessState &state);
    static QLatin1String nameOf(component::DispId property);

    HostedControl &control_;
    component::MethodIds methods_;
};

} // namespace harness
