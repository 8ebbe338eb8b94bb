// libFuzzer entry: load any bytes as a character and walk everything that reads them.
#include "acswalk.h"

namespace
{

// Longer inputs only slow each run down: the seeds are a few kilobytes and
// every block type fits in far less than this.
constexpr size_t maxInput = 64 * 1024;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size > maxInput) return -1; // not worth keeping in the corpus
    const std::span<const uint8_t> bytes(data, size);
    (void)acs::decompress(bytes, size * 7 % 65536);
    (void)acswalk::walk(bytes);
    return 0;
}
