// libFuzzer entry: read any bytes as the stream between the harness and a
// component host, frame by frame, and decode every frame (calls, replies,
// creations and releases of handles).
#include "platform/hosting/wire/wirecodec.h"

namespace
{

class Dummy final : public component::DispatchObject
{
  public:
    component::Result invoke(component::DispId, component::CallKind, component::Args &) override
    {
        return {};
    }
};

// Knows handles 1 to 3 on either side, as a channel with a few objects would.
class SmallTable final : public wire::ObjectTable
{
  public:
    wire::Handle exportObject(const component::ObjectRef &) override { return {wire::Handle::Sender, 1}; }
    component::ObjectRef importObject(wire::Handle handle, bool *ok) override
    {
        *ok = handle.id >= 1 && handle.id <= 3;
        return *ok ? object_ : nullptr;
    }

  private:
    component::ObjectRef object_ = std::make_shared<Dummy>();
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    SmallTable table;
    wire::FrameReader reader;
    // In two pieces, as a socket may hand them over.
    const size_t half = size / 2;
    reader.append(data, half);
    reader.append(data + half, size - half);
    while (std::optional<wire::Bytes> frame = reader.next()) {
        std::string why;
        if (const std::optional<wire::Message> m = wire::decode(*frame, &table, &why))
            (void)wire::encode(*m, &table); // what was read can be written again
    }
    return 0;
}
