#include "ballooncomponent.h"

#include "balloonwidget.h"
#include "messagearguments.h"
#include "valuecheck.h"

#include <QApplication>
#include <QEventLoop>
#include <QScreen>

#include <algorithm>

namespace balloon
{

using namespace component;

namespace
{

// Far beyond any desktop, small enough that sums of two never overflow.
constexpr int32_t coordinateLimit = 1 << 24;

std::optional<int32_t> readLong(DispatchObject &object, DispId id)
{
    Args none;
    const Result r = safeInvoke(object, id, CallKind::PropertyGet, none);
    if (!r.ok()) return std::nullopt;
    if (const std::optional<int32_t> v = asLong(r.value()))
        return std::clamp(*v, -coordinateLimit, coordinateLimit);
    return std::nullopt;
}

bool isHidden(DispatchObject &object)
{
    Args none;
    const Result r = safeInvoke(object, character::Visible, CallKind::PropertyGet, none);
    if (!r.ok()) return false; // a character that cannot say is taken as shown
    const Bool *b = std::get_if<Bool>(&r.value());
    return b && !b->value();
}

MsgResult busy()
{
    MsgResult r;
    r.Label = -1;
    r.Status = 1;
    return r;
}

MsgResult resultOf(const BalloonAnswer &answer)
{
    MsgResult r;
    r.Button = answer.button;
    r.Label = answer.label;
    r.Text = answer.text;
    return r;
}

} // namespace

std::optional<QRect> characterRect(const ObjectRef &character)
{
    if (!character || isHidden(*character)) return std::nullopt;
    const std::optional<int32_t> left = readLong(*character, character::Left);
    const std::optional<int32_t> top = readLong(*character, character::Top);
    const std::optional<int32_t> width = readLong(*character, character::Width);
    const std::optional<int32_t> height = readLong(*character, character::Height);
    if (!left || !top || !width || !height) {
        qCWarning(lcBalloon)
            << "The character's position cannot be read; the balloon goes to the screen centre";
        return std::nullopt;
    }
    return QRect(*left, *top, std::max(*width, 0), std::max(*height, 0));
}

QList<QRect> availableScreenAreas()
{
    QList<QRect> areas;
    const QScreen *primary = QGuiApplication::primaryScreen();
    if (primary) areas.append(primary->availableGeometry());
    for (const QScreen *screen : QGuiApplication::screens())
        if (screen != primary) areas.append(screen->availableGeometry());
    return areas;
}

BalloonComponent::BalloonComponent(MethodIds methods, const NamedValues &stored) : methods_(methods)
{
    settings_.load(stored);
}

BalloonComponent::~BalloonComponent()
{
    delete balloon_.data();
}

BalloonWidget *BalloonComponent::activeBalloon() const
{
    return balloon_ && !balloon_->isFinished() ? balloon_.data() : nullptr;
}

Result BalloonComponent::invoke(DispId id, CallKind kind, Args &args)
{
    if (const std::optional<Method> method = methods_.find(id)) return callMethod(*method, kind, args);
    return callProperty(id, kind, args);
}

Result BalloonComponent::callProperty(DispId id, CallKind kind, Args &args)
{
    const PropertyInfo *p = findProperty(id);
    if (!p) return unsupported(QStringLiteral("no member %1").arg(idText(id)));
    // Only an error names the member: a put is too frequent to make a string for.
    const auto name = [p] { return QString::fromLatin1(p->name.data(), qsizetype(p->name.size())); };
    if (kind == CallKind::Method) return unsupported(name() + QStringLiteral(" is a property, not a method"));
    if (kind == CallKind::PropertyGet) {
        if (!args.empty())
            return wrongCount(QStringLiteral("reading ") + name(), QStringLiteral("no arguments"),
                              args.size());
        return settings_.get(id);
    }
    if (args.size() != 1)
        return wrongCount(QStringLiteral("setting ") + name(), QStringLiteral("one value"), args.size());
    return settings_.put(id, args.front().get());
}

Result BalloonComponent::callMethod(Method method, CallKind kind, Args &args)
{
    if (kind != CallKind::Method) {
        const std::string_view name = methodNames[size_t(method)];
        return unsupported(QStringLiteral("%1 is a method, not a property")
                               .arg(QLatin1String(name.data(), qsizetype(name.size()))));
    }
    auto request = readMessageArguments(method, args);
    if (auto *failure = std::get_if<DispatchError>(&request)) return *failure;
    if (activeBalloon()) return Value(busy());
    if (!qobject_cast<QApplication *>(QCoreApplication::instance()))
        return DispatchError{error::ComponentFailed, QStringLiteral("A balloon needs a widget application")};
    return Value(show(std::get<BalloonRequest>(request)));
}

MsgResult BalloonComponent::show(const BalloonRequest &request)
{
    if (balloon_) delete balloon_.data(); // a closed modeless balloon not yet deleted
    auto *widget = new BalloonWidget(request, settings_.style());
    balloon_ = widget;
    widget->placeBeside(characterRect(settings_.character()), availableScreenAreas());

    if (!request.modal) {
        QObject::connect(widget, &BalloonWidget::finished, widget, &QObject::deleteLater);
        widget->show();
        return resultOf({});
    }

    // The caller may drop its last reference while the loop runs.
    const std::shared_ptr<BalloonComponent> keepAlive = weak_from_this().lock();
    BalloonAnswer answer;
    QEventLoop loop;
    QObject::connect(widget, &BalloonWidget::finished, &loop, [&answer, &loop, widget] {
        answer = widget->answer();
        loop.quit();
    });
    QObject::connect(widget, &QObject::destroyed, &loop, &QEventLoop::quit);
    widget->show();
    if (!widget->isFinished()) loop.exec(QEventLoop::DialogExec);
    delete balloon_.data();
    return resultOf(answer);
}

} // namespace balloon
