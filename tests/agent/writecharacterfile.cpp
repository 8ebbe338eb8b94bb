// Writes a character file for trying the engine by hand and for timing it:
//   agent_write_character OUT.acs [IMAGES]
// IMAGES (default 600) images of 128 x 128 that compress like drawn art: with
// the default, a file of about 2 MB, like a large real character.
#include "acsfixtures.h"

#include <cstdio>
#include <cstdlib>
#include <fstream>

int main(int argc, char **argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: %s OUT.acs [IMAGES]\n", argv[0]);
        return 2;
    }
    const int images = argc > 2 ? std::atoi(argv[2]) : 600;
    if (images < 1 || images > 5000) {
        std::fprintf(stderr, "IMAGES must be 1..5000\n");
        return 2;
    }
    const acswriter::Written written = acswriter::write(acsfixtures::drawnCharacter(images));
    std::ofstream out(argv[1], std::ios::binary);
    out.write(reinterpret_cast<const char *>(written.bytes.data()), std::streamsize(written.bytes.size()));
    if (!out) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %zu bytes, %d images\n", argv[1], written.bytes.size(), images);
    return 0;
}
