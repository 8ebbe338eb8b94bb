#include "wirecodec.h"

#include <QImage>

#include <cstring>

namespace wire
{

using namespace component;

namespace
{

enum class Type : uint8_t { Call = 1, Reply = 2, Create = 3, Release = 4 };

// Larger pictures than this are no icon: refused rather than allocated.
constexpr uint32_t MaxPictureSide = 4096;

class Writer
{
  public:
    explicit Writer(ObjectTable *objects) : objects_(objects) {}
    Bytes take() { return std::move(out_); }

    void u8(uint8_t v) { out_.push_back(v); }
    void u32(uint32_t v)
    {
        for (int shift = 0; shift < 32; shift += 8)
            out_.push_back(uint8_t(v >> shift));
    }
    void i32(int32_t v) { u32(uint32_t(v)); }
    void i16(int16_t v)
    {
        out_.push_back(uint8_t(uint16_t(v)));
        out_.push_back(uint8_t(uint16_t(v) >> 8));
    }
    void bytes(const void *data, size_t size)
    {
        const auto *p = static_cast<const uint8_t *>(data);
        out_.insert(out_.end(), p, p + size);
    }
    void string(const QString &s)
    {
        u32(uint32_t(s.size()));
        for (const QChar c : s)
            i16(int16_t(c.unicode()));
    }
    void picture(const Picture &p)
    {
        string(p.source);
        const QImage image = p.image.isNull() ? QImage() : p.image.convertToFormat(QImage::Format_ARGB32);
        u32(uint32_t(image.width()));
        u32(uint32_t(image.height()));
        for (int y = 0; y < image.height(); ++y)
            bytes(image.constScanLine(y), size_t(image.width()) * 4);
    }
    void value(const Value &v)
    {
        u8(uint8_t(v.index()));
        std::visit(
            [this](const auto &x) {
                using T = std::decay_t<decltype(x)>;
                if constexpr (std::is_same_v<T, int16_t>) {
                    i16(x);
                } else if constexpr (std::is_same_v<T, int32_t>) {
                    i32(x);
                } else if constexpr (std::is_same_v<T, Bool>) {
                    i16(x.raw);
                } else if constexpr (std::is_same_v<T, QString>) {
                    string(x);
                } else if constexpr (std::is_same_v<T, QStringList>) {
                    u32(uint32_t(x.size()));
                    for (const QString &s : x)
                        string(s);
                } else if constexpr (std::is_same_v<T, ObjectRef>) {
                    const Handle h = x && objects_ ? objects_->exportObject(x) : Handle{};
                    u8(h.side);
                    u32(h.id);
                } else if constexpr (std::is_same_v<T, Picture>) {
                    picture(x);
                } else if constexpr (std::is_same_v<T, MsgResult>) {
                    i32(x.Button);
                    i32(x.Label);
                    string(x.Text);
                    i32(x.Status);
                }
            },
            v);
    }

  private:
    Bytes out_;
    ObjectTable *objects_;
};

struct Corrupt {
    std::string why;
};

class Reader
{
  public:
    Reader(const Bytes &in, ObjectTable *objects) : in_(in), objects_(objects) {}
    size_t left() const { return in_.size() - at_; }
    void end() const
    {
        if (left() != 0) throw Corrupt{std::to_string(left()) + " bytes after the message"};
    }

    const uint8_t *take(size_t n, const char *what)
    {
        if (n > left()) throw Corrupt{std::string("truncated ") + what};
        const uint8_t *p = in_.data() + at_;
        at_ += n;
        return p;
    }
    uint8_t u8(const char *what) { return *take(1, what); }
    uint32_t u32(const char *what)
    {
        const uint8_t *p = take(4, what);
        return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
    }
    int32_t i32(const char *what) { return int32_t(u32(what)); }
    int16_t i16(const char *what)
    {
        const uint8_t *p = take(2, what);
        return int16_t(uint16_t(p[0] | p[1] << 8));
    }
    // A count of items of at least minSize bytes each, checked against the rest.
    uint32_t count(size_t minSize, const char *what)
    {
        const uint32_t n = u32(what);
        if (n > left() / minSize) throw Corrupt{std::string("count of ") + what + " beyond the message"};
        return n;
    }
    QString string(const char *what)
    {
        const uint32_t n = count(2, what);
        QString s(qsizetype(n), Qt::Uninitialized);
        const uint8_t *p = take(size_t(n) * 2, what);
        for (uint32_t i = 0; i < n; ++i)
            s[qsizetype(i)] = QChar(char16_t(p[2 * i] | p[2 * i + 1] << 8));
        return s;
    }
    Picture picture()
    {
        Picture p;
        p.source = string("picture source");
        const uint32_t w = u32("picture width");
        const uint32_t h = u32("picture height");
        if (w == 0 && h == 0) return p;
        if (w == 0 || h == 0 || w > MaxPictureSide || h > MaxPictureSide)
            throw Corrupt{"picture of " + std::to_string(w) + "x" + std::to_string(h) + " pixels"};
        const uint8_t *pixels = take(size_t(w) * h * 4, "picture pixels");
        QImage image(int(w), int(h), QImage::Format_ARGB32);
        if (image.isNull()) throw Corrupt{"picture too large for memory"};
        for (uint32_t y = 0; y < h; ++y)
            std::memcpy(image.scanLine(int(y)), pixels + size_t(y) * w * 4, size_t(w) * 4);
        p.image = image;
        return p;
    }
    Value value()
    {
        const uint8_t tag = u8("value type");
        switch (ValueType(tag)) {
        case ValueType::Empty:
            return {};
        case ValueType::Int16:
            return i16("Integer");
        case ValueType::Int32:
            return i32("Long");
        case ValueType::Bool:
            return Bool{i16("Boolean")};
        case ValueType::String:
            return string("String");
        case ValueType::StringArray: {
            const uint32_t n = count(4, "String()");
            QStringList list;
            list.reserve(qsizetype(n));
            for (uint32_t i = 0; i < n; ++i)
                list << string("String() item");
            return list;
        }
        case ValueType::Object: {
            const uint8_t side = u8("object side");
            const uint32_t id = u32("object handle");
            if (side > Handle::Receiver) throw Corrupt{"unknown object side"};
            if (side == Handle::Null) return ObjectRef();
            bool ok = false;
            ObjectRef object = objects_ ? objects_->importObject({Handle::Side(side), id}, &ok) : nullptr;
            if (!ok) throw Corrupt{"unknown object handle " + std::to_string(id)};
            return object;
        }
        case ValueType::Picture:
            return picture();
        case ValueType::Result: {
            MsgResult r;
            r.Button = i32("MsgResult");
            r.Label = i32("MsgResult");
            r.Text = string("MsgResult");
            r.Status = i32("MsgResult");
            return r;
        }
        }
        throw Corrupt{"unknown value type " + std::to_string(tag)};
    }

  private:
    const Bytes &in_;
    size_t at_ = 0;
    ObjectTable *objects_;
};

void write(Writer &w, const CallMessage &m)
{
    w.u8(uint8_t(Type::Call));
    w.u32(m.seq);
    w.u32(m.object);
    w.i32(m.id);
    w.u8(uint8_t(m.kind));
    w.u32(uint32_t(m.args.size()));
    for (const WireArg &a : m.args) {
        w.u8(a.byRef ? 1 : 0);
        w.value(a.value);
    }
}

void write(Writer &w, const ReplyMessage &m)
{
    w.u8(uint8_t(Type::Reply));
    w.u32(m.seq);
    w.u8(m.ok ? 1 : 0);
    if (m.ok) {
        w.value(m.value);
    } else {
        w.i32(m.error.number);
        w.string(m.error.description);
    }
    w.u32(uint32_t(m.changed.size()));
    for (const auto &[index, value] : m.changed) {
        w.u32(index);
        w.value(value);
    }
}

void write(Writer &w, const CreateMessage &m)
{
    w.u8(uint8_t(Type::Create));
    w.u32(m.seq);
    w.string(m.file);
    w.string(m.classId);
    w.u32(uint32_t(m.stored.size()));
    for (const auto &[key, value] : m.stored) {
        w.string(key);
        w.value(value);
    }
}

void write(Writer &w, const ReleaseMessage &m)
{
    w.u8(uint8_t(Type::Release));
    w.u32(m.object);
    w.u32(m.count);
}

CallMessage readCall(Reader &r)
{
    CallMessage m;
    m.seq = r.u32("sequence number");
    m.object = r.u32("object");
    m.id = r.i32("member");
    const uint8_t kind = r.u8("call kind");
    if (kind > uint8_t(CallKind::PropertyPutRef)) throw Corrupt{"unknown call kind"};
    m.kind = CallKind(kind);
    const uint32_t n = r.count(2, "arguments");
    for (uint32_t i = 0; i < n; ++i) {
        const uint8_t byRef = r.u8("argument");
        if (byRef > 1) throw Corrupt{"bad argument flag"};
        m.args.push_back({byRef == 1, r.value()});
    }
    return m;
}

ReplyMessage readReply(Reader &r)
{
    ReplyMessage m;
    m.seq = r.u32("sequence number");
    const uint8_t ok = r.u8("reply");
    if (ok > 1) throw Corrupt{"bad reply flag"};
    m.ok = ok == 1;
    if (m.ok) {
        m.value = r.value();
    } else {
        m.error.number = r.i32("error number");
        m.error.description = r.string("error description");
    }
    const uint32_t n = r.count(5, "changed arguments");
    for (uint32_t i = 0; i < n; ++i) {
        const uint32_t index = r.u32("argument position");
        m.changed.emplace_back(index, r.value());
    }
    return m;
}

CreateMessage readCreate(Reader &r)
{
    CreateMessage m;
    m.seq = r.u32("sequence number");
    m.file = r.string("component file");
    m.classId = r.string("class");
    const uint32_t n = r.count(5, "stored settings");
    for (uint32_t i = 0; i < n; ++i) {
        QString key = r.string("setting name");
        m.stored.emplace_back(std::move(key), r.value());
    }
    return m;
}

ReleaseMessage readRelease(Reader &r)
{
    ReleaseMessage m;
    m.object = r.u32("released object");
    m.count = r.u32("release count");
    if (m.count == 0) throw Corrupt{"release of no handle"};
    return m;
}

} // namespace

Bytes encode(const Message &message, ObjectTable *objects)
{
    Writer w(objects);
    std::visit([&w](const auto &m) { write(w, m); }, message);
    return w.take();
}

std::optional<Message> decode(const Bytes &payload, ObjectTable *objects, std::string *error)
{
    Reader r(payload, objects);
    try {
        Message m;
        switch (Type(r.u8("message type"))) {
        case Type::Call:
            m = readCall(r);
            break;
        case Type::Reply:
            m = readReply(r);
            break;
        case Type::Create:
            m = readCreate(r);
            break;
        case Type::Release:
            m = readRelease(r);
            break;
        default:
            throw Corrupt{"unknown message type"};
        }
        r.end();
        return m;
    } catch (const Corrupt &c) {
        if (error) *error = c.why;
        return std::nullopt;
    }
}

} // namespace wire
