#include "hostedcontrol.h"

#include "harnesserror.h"

namespace harness
{

using namespace component;

void throwTypeMismatch(const QString &control, QLatin1String member)
{
    throw HarnessError(
        error::TypeMismatch,
        QStringLiteral("Type mismatch: %1.%2 returned a value of the wrong type").arg(control, member));
}

Value HostedControl::call(DispId id, QLatin1String member, CallKind kind, Args args)
{
    if (!object_) throw HarnessError(error::ObjectRequired, QStringLiteral("Object required: %1").arg(name_));
    std::vector<Value> before;
    if (trace_.enabled()) {
        before.reserve(args.size());
        for (const Arg &a : args)
            before.push_back(a.get());
    }
    const Result result = safeInvoke(*object_, id, kind, args);
    if (trace_.enabled()) trace_.dispatch({name_, id, member, kind, before, args}, result);
    if (!result.ok()) throw HarnessError(result.error().number, result.error().description);
    return result.value();
}

int32_t HostedControl::getLong(DispId id, QLatin1String member)
{
    const Value v = call(id, member, CallKind::PropertyGet);
    if (const std::optional<int32_t> n = asLong(v)) return *n;
    throwTypeMismatch(name_, member);
}

bool HostedControl::getBool(DispId id, QLatin1String member)
{
    const Value v = call(id, member, CallKind::PropertyGet);
    if (const auto *b = std::get_if<Bool>(&v)) return b->value();
    throwTypeMismatch(name_, member);
}

QString HostedControl::getString(DispId id, QLatin1String member)
{
    const Value v = call(id, member, CallKind::PropertyGet);
    if (const auto *s = std::get_if<QString>(&v)) return *s;
    throwTypeMismatch(name_, member);
}

} // namespace harness
