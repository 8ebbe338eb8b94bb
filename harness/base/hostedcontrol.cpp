#include "hostedcontrol.h"

#include "componentcrash.h"
#include "harnesserror.h"
#include "platform/hosting/remote/channel.h"

#include <algorithm>

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
    if (stopped_) throw ComponentCrash(name_, member, kind, {}, true);
    std::vector<Value> before;
    const auto *remote = dynamic_cast<const hosting::RemoteObject *>(object_.get());
    if (trace_.enabled() || remote) {
        before.reserve(args.size());
        for (const Arg &a : args)
            before.push_back(a.get());
    }
    const Result result = safeInvoke(*object_, id, kind, args);
    // A call its process did not survive has no result to trace.
    if (!result.ok() && remote && remote->channel()->broken())
        throw ComponentCrash(name_, member, kind, std::move(before), false);
    if (trace_.enabled()) trace_.dispatch({name_, id, member, kind, before, args}, result);
    if (!result.ok()) throw HarnessError(result.error().number, result.error().description);
    if (remote) remember(id, member, kind, args);
    return result.value();
}

void HostedControl::remember(DispId id, QLatin1String member, CallKind kind, const Args &args)
{
    if ((kind != CallKind::PropertyPut && kind != CallKind::PropertyPutRef) || args.size() != 1) return;
    std::erase_if(puts_, [id](const Put &p) { return p.id == id; });
    puts_.push_back({id, member, kind, args[0].get()});
}

void HostedControl::replaceObject(ObjectRef object)
{
    object_ = std::move(object);
    stopped_ = false;
}

void HostedControl::putAgain()
{
    const std::vector<Put> puts = puts_;
    for (const Put &p : puts) {
        Value value = p.value;
        call(p.id, p.member, p.kind, {p.kind == CallKind::PropertyPutRef ? Arg::byRef(value) : Arg(value)});
    }
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
