// Writes the seed corpus for the .acs fuzzer: small characters from the
// fixture writer, so the fuzzer starts from valid structure.
#include "acsfixtures.h"
#include "acshostile.h"

#include <fstream>
#include <iostream>

namespace
{

void save(const std::filesystem::path &dir, const char *name, const std::vector<uint8_t> &bytes)
{
    std::ofstream(dir / name, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
}

} // namespace

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::cerr << "usage: acs_fuzz_seeds <corpus folder>\n";
        return 2;
    }
    const std::filesystem::path dir(argv[1]);
    std::filesystem::create_directories(dir);

    const auto small = acsfixtures::compactCharacter();
    save(dir, "small.acs", acswriter::write(small).bytes);

    auto plain = small;
    plain.voice.reset();
    plain.balloon.reset();
    plain.trayIcon.reset();
    plain.sounds.clear();
    for (auto &animation : plain.animations) {
        for (auto &frame : animation.frames)
            frame.sound = acs::noSound;
    }
    save(dir, "plain.acs", acswriter::write(plain).bytes);

    auto large = acsfixtures::largeCharacter(2);
    for (auto &image : large.images) {
        image.width = 40;
        image.height = 30;
        image.pixels.resize(40 * 30);
    }
    save(dir, "twoimages.acs", acswriter::write(large).bytes);

    // Many list entries naming one block, and the other kinds of file that are refused.
    save(dir, "sharedimages.acs", acshostile::sharedImageBlocks(1024));
    save(dir, "acf.bin", {0xc4, 0xab, 0xcd, 0xab, 0, 0, 0, 0});
    save(dir, "ole.bin", {0xd0, 0xcf, 0x11, 0xe0, 0xa1, 0xb1, 0x1a, 0xe1});
    return 0;
}
