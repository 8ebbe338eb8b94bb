// The messages between the harness and the component host, and the contract's
// values inside them, as bytes. Every count and length read is checked
// against what is left of the message: a corrupt message is refused with a
// reason, never read past its end.
#pragma once

#include "component/contract.h"
#include "framing.h"

#include <string>
#include <variant>

namespace wire
{

// Objects cross as handles. Each side numbers the objects it hands out; a
// handle says whose numbering it is in.
struct Handle {
    enum Side : uint8_t { Null = 0, Sender = 1, Receiver = 2 };
    Side side = Null;
    uint32_t id = 0;
};

class ObjectTable
{
  public:
    virtual ~ObjectTable() = default;
    virtual Handle exportObject(const component::ObjectRef &object) = 0;
    // Null with *ok false when the handle names no object.
    virtual component::ObjectRef importObject(Handle handle, bool *ok) = 0;
};

struct WireArg {
    bool byRef = false;
    component::Value value;
};

// A call of a member of an object of the receiver's.
struct CallMessage {
    uint32_t seq = 0;
    uint32_t object = 0;
    component::DispId id = 0;
    component::CallKind kind = component::CallKind::Method;
    std::vector<WireArg> args;
};

// The answer to the call or creation with the same seq. changed holds the
// by-reference arguments' values after the call (positions from 0).
struct ReplyMessage {
    uint32_t seq = 0;
    bool ok = true;
    component::Value value;
    component::DispatchError error;
    std::vector<std::pair<uint32_t, component::Value>> changed;
};

// Loads a component file in the host and creates an instance of a class.
struct CreateMessage {
    uint32_t seq = 0;
    QString file;
    QString classId;
    component::NamedValues stored;
};

// The sender holds the receiver's object no more. count is how many times
// the sender was handed its handle: the receiver forgets the object once it
// has had a release for every time it handed it out (one may be on its way).
struct ReleaseMessage {
    uint32_t object = 0;
    uint32_t count = 1;
};

using Message = std::variant<CallMessage, ReplyMessage, CreateMessage, ReleaseMessage>;

// objects may be null: an object value is then sent as a null reference and
// refused when read.
Bytes encode(const Message &message, ObjectTable *objects);
std::optional<Message> decode(const Bytes &payload, ObjectTable *objects, std::string *error);

} // namespace wire
