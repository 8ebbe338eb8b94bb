// libFuzzer entry: decode any bytes as a character's sound.
#include "wavedecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string why;
    (void)sound::decodeWave({data, size}, &why);
    return 0;
}
