#include "messagearguments.h"

#include "buttonset.h"

namespace balloon
{

using namespace component;

namespace
{

constexpr size_t argumentCount = 7;

std::optional<bool> readFlag(const Arg &arg)
{
    if (std::optional<Bool> b = as<Bool>(arg)) return b->value();
    if (std::optional<int32_t> n = asLong(arg)) return *n != 0;
    return std::nullopt;
}

MessageKind kindOf(Method method)
{
    switch (method) {
    case Method::ShowVellix:
        return MessageKind::Plain;
    case Method::MsgInput:
        return MessageKind::Input;
    case Method::MsgLabels:
        return MessageKind::Labels;
    }
    return MessageKind::Plain;
}

} // namespace

std::variant<BalloonRequest, DispatchError> readMessageArguments(Method method, const Args &args)
{
    if (args.size() != argumentCount) return error::wrongArgCount();
    BalloonRequest r;
    r.kind = kindOf(method);

    const std::optional<QString> heading = as<QString>(args[0]);
    if (!heading) return error::typeMismatch();
    r.heading = *heading;
    if (r.kind == MessageKind::Labels) {
        const std::optional<QStringList> labels = as<QStringList>(args[1]);
        if (!labels) return error::typeMismatch();
        r.labels = *labels;
    } else {
        const std::optional<QString> text = as<QString>(args[1]);
        if (!text) return error::typeMismatch();
        r.text = *text;
    }

    const std::optional<int32_t> icon = asLong(args[2]);
    const std::optional<int32_t> shape = asLong(args[3]);
    const std::optional<int32_t> buttons = asLong(args[4]);
    const std::optional<bool> modal = readFlag(args[5]);
    const std::optional<bool> onTop = readFlag(args[6]);
    if (!icon || !shape || !buttons || !modal || !onTop) return error::typeMismatch();
    if (*icon < 0 || *icon >= iconTypeCount || *shape < 0 || *shape >= shapeCount || *buttons < 0 ||
        *buttons >= buttonSetCount)
        return error::invalidValue();
    r.icon = static_cast<IconType>(*icon);
    r.shape = static_cast<Shape>(*shape);
    r.buttonsType = *buttons;
    r.modal = *modal;
    r.onTop = *onTop;
    return r;
}

} // namespace balloon
