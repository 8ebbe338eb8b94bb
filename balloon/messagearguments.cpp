#include "messagearguments.h"

#include "valuecheck.h"

namespace balloon
{

using namespace component;

namespace
{

constexpr size_t argumentCount = 7;

constexpr IntRange iconTypes = iconTypeRange;
constexpr IntRange msgTypes = msgTypeRange;
constexpr IntRange buttonsTypes = buttonsTypeRange;

// "argument 5, ButtonsType," as the descriptions name an argument.
QString argumentName(size_t index, const char *name)
{
    return QStringLiteral("argument %1, %2,").arg(index + 1).arg(QLatin1String(name));
}

const char *secondName(MessageKind kind)
{
    return kind == MessageKind::Labels ? "labels" : "text";
}

const char *const integerPhrase = "a Long or an Integer";
const char *const flagPhrase = "a Boolean, a Long or an Integer";

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

// Arguments 3 to 5: an integer within its range.
std::variant<int32_t, DispatchError> readChoice(const Args &args, size_t index, const char *name,
                                                const IntRange &range)
{
    const std::optional<int32_t> v = asLong(args[index]);
    if (!v) return wrongType(argumentName(index, name), QLatin1String(integerPhrase), args[index].type());
    if (!range.contains(*v)) return outOfRange(argumentName(index, name), range, *v);
    return *v;
}

std::variant<bool, DispatchError> readSwitch(const Args &args, size_t index, const char *name)
{
    const std::optional<bool> v = readFlag(args[index]);
    if (!v) return wrongType(argumentName(index, name), QLatin1String(flagPhrase), args[index].type());
    return *v;
}

} // namespace

std::variant<BalloonRequest, DispatchError> readMessageArguments(Method method, const Args &args)
{
    if (args.size() != argumentCount) {
        const std::string_view name = methodNames[size_t(method)];
        return wrongCount(QLatin1String(name.data(), qsizetype(name.size())), QStringLiteral("7 arguments"),
                          args.size());
    }
    BalloonRequest r;
    r.kind = kindOf(method);

    const std::optional<QString> heading = as<QString>(args[0]);
    if (!heading) return wrongType(argumentName(0, "heading"), QStringLiteral("a String"), args[0].type());
    r.heading = *heading;
    if (r.kind == MessageKind::Labels) {
        const std::optional<QStringList> labels = as<QStringList>(args[1]);
        if (!labels)
            return wrongType(argumentName(1, "labels"), QStringLiteral("a String()"), args[1].type());
        r.labels = *labels;
    } else {
        const std::optional<QString> text = as<QString>(args[1]);
        if (!text)
            return wrongType(argumentName(1, secondName(r.kind)), QStringLiteral("a String"), args[1].type());
        r.text = *text;
    }

    const auto icon = readChoice(args, 2, "IconType", iconTypes);
    const auto shape = readChoice(args, 3, "MsgType", msgTypes);
    const auto buttons = readChoice(args, 4, "ButtonsType", buttonsTypes);
    const auto modal = readSwitch(args, 5, "ModalFlag");
    const auto onTop = readSwitch(args, 6, "OnTopFlag");
    // The first argument that is wrong is the one reported.
    for (const DispatchError *failure :
         {std::get_if<DispatchError>(&icon), std::get_if<DispatchError>(&shape),
          std::get_if<DispatchError>(&buttons), std::get_if<DispatchError>(&modal),
          std::get_if<DispatchError>(&onTop)})
        if (failure) return *failure;
    r.icon = static_cast<IconType>(std::get<int32_t>(icon));
    r.shape = static_cast<Shape>(std::get<int32_t>(shape));
    r.buttonsType = std::get<int32_t>(buttons);
    r.modal = std::get<bool>(modal);
    r.onTop = std::get<bool>(onTop);
    return r;
}

} // namespace balloon
