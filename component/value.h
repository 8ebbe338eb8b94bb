// Values that cross the boundary between the harness and a hosted control.
//
// A call passes each argument either by value or as a reference to a variable
// of the caller's; the callee may write a new value through a reference and
// the caller sees it after the call. Everything here is header-only so that a
// component plugin needs nothing from the harness but this folder.
#pragma once

#include <QImage>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <memory>
#include <optional>
#include <variant>
#include <vector>

namespace component
{

class DispatchObject;

// A 16-bit boolean as it crosses the boundary: -1 is true, 0 is false.
struct Bool {
    int16_t raw = 0;
    static constexpr Bool of(bool b) { return Bool{b ? int16_t(-1) : int16_t(0)}; }
    constexpr bool value() const { return raw != 0; }
    friend constexpr bool operator==(Bool, Bool) = default;
};

// A reference to an object such as the agent character. Objects are shared,
// so a component that keeps one keeps it alive.
using ObjectRef = std::shared_ptr<DispatchObject>;

// A picture, for example the custom icon. The image is implicitly shared.
struct Picture {
    QImage image;
    QString source; // file it came from, or a short name for a built-in picture
    friend bool operator==(const Picture &a, const Picture &b)
    {
        return a.source == b.source && a.image == b.image;
    }
};

// The record every balloon method returns.
// What a message method returns; contract.h gives each field's meaning.
struct MsgResult {
    int32_t Button = 0; // the button that closed the balloon
    int32_t Label = 0;  // the chosen label (labels balloon)
    QString Text;       // the entered text (input balloon)
    int32_t Status = 0; // 1: a message window is already on the screen, nothing shown
    friend bool operator==(const MsgResult &, const MsgResult &) = default;
};

enum class ValueType { Empty, Int16, Int32, Bool, String, StringArray, Object, Picture, Result };

using Value =
    std::variant<std::monostate, int16_t, int32_t, Bool, QString, QStringList, ObjectRef, Picture, MsgResult>;

inline ValueType typeOf(const Value &v)
{
    return static_cast<ValueType>(v.index());
}

inline const char *typeName(ValueType t)
{
    switch (t) {
    case ValueType::Empty:
        return "Empty";
    case ValueType::Int16:
        return "Integer";
    case ValueType::Int32:
        return "Long";
    case ValueType::Bool:
        return "Boolean";
    case ValueType::String:
        return "String";
    case ValueType::StringArray:
        return "String()";
    case ValueType::Object:
        return "Object";
    case ValueType::Picture:
        return "Picture";
    case ValueType::Result:
        return "MsgResult";
    }
    return "?";
}

// One argument of a call: a value, or a reference to the caller's variable.
// A reference keeps its type: a component may change the value, not the type.
class Arg
{
  public:
    Arg(Value v) : value_(std::move(v)) {} // NOLINT: implicit on purpose, args read like values
    static Arg byRef(Value &variable) { return Arg(&variable); }

    bool isRef() const { return ref_ != nullptr; }
    const Value &get() const { return ref_ ? *ref_ : value_; }
    ValueType type() const { return typeOf(get()); }

    // Writes through the reference. False when the argument was passed by
    // value or the new value has another type.
    bool set(Value v)
    {
        if (!ref_ || typeOf(v) != typeOf(*ref_)) return false;
        *ref_ = std::move(v);
        return true;
    }

  private:
    explicit Arg(Value *ref) : ref_(ref) {}
    Value value_;
    Value *ref_ = nullptr;
};

using Args = std::vector<Arg>;

// Reads an argument as T, or nothing when it holds another type.
template <typename T> std::optional<T> as(const Arg &a)
{
    if (const T *p = std::get_if<T>(&a.get())) return *p;
    return std::nullopt;
}

// An Integer or a Long as a number; nothing for any other type.
inline std::optional<int32_t> asLong(const Value &v)
{
    if (const int32_t *l = std::get_if<int32_t>(&v)) return *l;
    if (const int16_t *i = std::get_if<int16_t>(&v)) return int32_t(*i);
    return std::nullopt;
}

inline std::optional<int32_t> asLong(const Arg &a)
{
    return asLong(a.get());
}

} // namespace component
