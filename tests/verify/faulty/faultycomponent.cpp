// The reference balloon with one injected fault, chosen by the environment
// variable FAULTY_COMPONENT, for proving that --verify finds each kind of
// fault in the check that is about it:
//   hang       every modal call that shows a balloon never returns
//   oneplace   every balloon is moved to one spot near the screen's corner
//   swapcolour every colour is drawn with red and blue swapped
//   noicon     the icon is never drawn
//   noalign    both alignments are read back but not followed
//   noline     the separator line is read back but never drawn
//   clipscaled on a screen at scale 2 the heading is cut to half its width
//   stuckup    pressing a balloon's button does nothing: it stays up
// Each property reads back exactly what was put, as a careless component's would.
#include "ballooncomponent.h"

#include <QApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

#include <algorithm>
#include <array>
#include <map>

namespace
{

using namespace component;

enum class Fault { None, Hang, OnePlace, SwapColour, NoIcon, NoAlign, NoLine, ClipScaled, StuckUp };

Fault faultFromEnvironment()
{
    const QByteArray name = qgetenv("FAULTY_COMPONENT");
    if (name == "hang") return Fault::Hang;
    if (name == "oneplace") return Fault::OnePlace;
    if (name == "swapcolour") return Fault::SwapColour;
    if (name == "noicon") return Fault::NoIcon;
    if (name == "noalign") return Fault::NoAlign;
    if (name == "noline") return Fault::NoLine;
    if (name == "clipscaled") return Fault::ClipScaled;
    if (name == "stuckup") return Fault::StuckUp;
    return Fault::None;
}

constexpr std::array<DispId, 7> colourProperties{
    prop::BalloonColor, prop::CaptionColor, prop::TextColor,         prop::FrameColor,
    prop::LineColor,    prop::ButtonColor,  prop::ButtonCaptionColor};

int32_t swapRedBlue(int32_t colour)
{
    const auto c = uint32_t(colour);
    return int32_t((c & 0xff00ff00u) | ((c & 0xffu) << 16) | ((c >> 16) & 0xffu));
}

// Moves every new window but the character's to one spot.
class PinToCorner : public QObject
{
  public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *w = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && w && w->isWindow() && w->inherits("balloon::BalloonWidget")) {
            const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
            w->move(screen.topLeft() + QPoint(10, 10));
        }
        return false;
    }
};

// Cuts a balloon's heading to half its width when it is shown at scale 2,
// as a component that sizes its text in device pixels would.
class ClipWhenScaled : public QObject
{
  public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *w = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && w && w->isWindow() && w->inherits("balloon::BalloonWidget") &&
            w->devicePixelRatio() >= 2)
            for (QLabel *label : w->findChildren<QLabel *>())
                label->setFixedWidth(label->width() / 2);
        return false;
    }
};

// Cuts the buttons of each balloon shown from the balloon.
class DeafButtons : public QObject
{
  public:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *w = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Show && w && w->isWindow() && w->inherits("balloon::BalloonWidget"))
            for (QPushButton *button : w->findChildren<QPushButton *>())
                QObject::disconnect(button, &QPushButton::clicked, w, nullptr);
        return false;
    }
};

class FaultyComponent final : public DispatchObject
{
  public:
    FaultyComponent(MethodIds methods, const NamedValues &stored)
        : methods_(methods), reference_(std::make_shared<balloon::BalloonComponent>(methods, stored)),
          fault_(faultFromEnvironment())
    {
        if (fault_ == Fault::OnePlace) qApp->installEventFilter(&pin_);
        if (fault_ == Fault::ClipScaled) qApp->installEventFilter(&clip_);
        if (fault_ == Fault::StuckUp) qApp->installEventFilter(&deaf_);
    }

    Result invoke(DispId id, CallKind kind, Args &args) override
    {
        const std::optional<Method> method = methods_.find(id);
        if (method) return callMethod(id, kind, args);
        if (kind == CallKind::PropertyPut && args.size() == 1 && hidesProperty(id)) {
            Args none;
            const Result before = reference_->invoke(id, CallKind::PropertyGet, none);
            Result checked = reference_->invoke(id, kind, args); // refuses what the reference refuses
            if (!checked.ok() || !before.ok()) return checked;
            shown_[id] = args[0].get();
            Args drawn{Arg(drawnValue(args[0].get(), before.value()))};
            reference_->invoke(id, kind, drawn);
            return checked;
        }
        if (kind == CallKind::PropertyGet && args.empty() && shown_.contains(id)) return Result(shown_[id]);
        return reference_->invoke(id, kind, args);
    }

  private:
    bool hidesProperty(DispId id) const
    {
        switch (fault_) {
        case Fault::SwapColour:
            return std::find(colourProperties.begin(), colourProperties.end(), id) != colourProperties.end();
        case Fault::NoAlign:
            return id == prop::HAlignmentText || id == prop::VAlignmentCaption;
        case Fault::NoLine:
            return id == prop::LineSeparator;
        default:
            return false;
        }
    }

    // What the reference is told to draw instead of what was put.
    Value drawnValue(const Value &put, const Value &before) const
    {
        if (fault_ == Fault::SwapColour) return Value(swapRedBlue(asLong(put).value_or(0)));
        if (fault_ == Fault::NoLine) return Value(Bool::of(false));
        return before; // alignments stay at the defaults
    }

    Result callMethod(DispId id, CallKind kind, Args &args)
    {
        if (args.size() != 7) return reference_->invoke(id, kind, args);
        const std::optional<Bool> modal = as<Bool>(args[5]);
        if (fault_ == Fault::NoIcon) {
            const std::optional<int32_t> icon = as<int32_t>(args[2]);
            if (icon && *icon >= 0 && *icon <= 6) {
                Value none(int32_t(0));
                Args withoutIcon = args;
                withoutIcon[2] = Arg::byRef(none);
                return reference_->invoke(id, kind, withoutIcon);
            }
        }
        Result result = reference_->invoke(id, kind, args);
        // A refused call returns early, as in most such bugs.
        if (fault_ == Fault::Hang && modal && modal->value() && result.ok()) {
            // Not an event loop: the application quitting when its last
            // window closes would end that and let the call return.
            for (;;)
                QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        }
        return result;
    }

    MethodIds methods_;
    std::shared_ptr<balloon::BalloonComponent> reference_;
    Fault fault_;
    PinToCorner pin_;
    ClipWhenScaled clip_;
    DeafButtons deaf_;
    std::map<DispId, Value> shown_;
};

class FaultyPlugin : public QObject, public ComponentPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID HarnessComponentPlugin_iid FILE "faultycomponent.json")
    Q_INTERFACES(component::ComponentPlugin)
  public:
    ObjectRef create(const QString &classId, const NamedValues &stored, QString *error) override
    {
        return createForClass<FaultyComponent>(classId, stored, error);
    }
};

} // namespace

#include "faultycomponent.moc"
