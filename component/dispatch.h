// The one entry point through which every hosted control and every object it
// hands out is called: a member identifier, the kind of call and the arguments.
#pragma once

#include "value.h"

#include <exception>

namespace component
{

using DispId = int32_t;

enum class CallKind { Method, PropertyGet, PropertyPut, PropertyPutRef };

inline const char *kindName(CallKind k)
{
    switch (k) {
    case CallKind::Method:
        return "method";
    case CallKind::PropertyGet:
        return "get";
    case CallKind::PropertyPut:
        return "put";
    case CallKind::PropertyPutRef:
        return "putref";
    }
    return "?";
}

// A failed call: a run-time error number and a description for the user.
struct DispatchError {
    int32_t number = 0;
    QString description;
};

// Error numbers a control reports for calls it cannot serve.
namespace error
{
inline constexpr int32_t TypeMismatch = 13;
inline constexpr int32_t ObjectRequired = 424;
inline constexpr int32_t InvalidPropertyValue = 380;
inline constexpr int32_t InvalidProcedureCall = 5;
inline constexpr int32_t NotSupported = 438; // no such member, or not for this kind of call
inline constexpr int32_t WrongArgCount = 450;
inline constexpr int32_t CannotCreateObject = 429;
inline constexpr int32_t ComponentFailed = 440; // the control itself failed

inline DispatchError notSupported()
{
    return {NotSupported, QStringLiteral("Object doesn't support this property or method")};
}
inline DispatchError typeMismatch()
{
    return {TypeMismatch, QStringLiteral("Type mismatch")};
}
inline DispatchError wrongArgCount()
{
    return {WrongArgCount, QStringLiteral("Wrong number of arguments or invalid property assignment")};
}
inline DispatchError invalidValue()
{
    return {InvalidPropertyValue, QStringLiteral("Invalid property value")};
}
} // namespace error

// What a call returns: a value (empty for puts and for methods without one),
// or an error. Never both.
class Result
{
  public:
    Result() = default;
    Result(Value v) : value_(std::move(v)) {}         // NOLINT: implicit on purpose
    Result(DispatchError e) : error_(std::move(e)) {} // NOLINT: implicit on purpose

    bool ok() const { return !error_.has_value(); }
    const Value &value() const { return value_; }
    const DispatchError &error() const { return *error_; }

  private:
    Value value_;
    std::optional<DispatchError> error_;
};

// Anything that can be called by identifier: a hosted control or an object it
// hands out (such as the agent character).
class DispatchObject
{
  public:
    virtual ~DispatchObject() = default;
    virtual Result invoke(DispId id, CallKind kind, Args &args) = 0;
};

// Calls a member and turns anything thrown inside the callee into an error,
// so that no exception from a control ever reaches the caller's event loop.
inline Result safeInvoke(DispatchObject &target, DispId id, CallKind kind, Args &args)
{
    try {
        return target.invoke(id, kind, args);
    } catch (const std::exception &e) {
        return DispatchError{error::ComponentFailed, QString::fromUtf8(e.what())};
    } catch (...) {
        return DispatchError{error::ComponentFailed, QStringLiteral("The control failed")};
    }
}

} // namespace component
