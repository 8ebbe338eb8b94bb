// Decoding speed of .acs images against PNG decoding of the same pixels.
//   bench_acs [image count] [runs] [drawn|smooth]
//   bench_acs --strip out.png   (saves a few composed frames, to look at)
// Prints which fixture and how well it compresses, megabytes of decoded
// palette indices per second for both decoders, the median of per-run ratios
// with their spread, and how long loading and showing the first frame take.
// The default fixture, "drawn", compresses like real characters; "smooth"
// compresses about twice as well and decodes faster.
#include "acsfixtures.h"

#include <QBuffer>
#include <QImage>
#include <QPainter>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace
{

// Thread CPU time: the machine is shared, and wall time would count other
// processes' turns against whichever decoder happened to be running.
struct Clock {
    using time_point = double;
    static double now()
    {
        timespec t{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
        return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
    }
};

double secondsSince(double start)
{
    return Clock::now() - start;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

QByteArray toPng(const acswriter::ImageSpec &image, const acswriter::CharacterSpec &spec)
{
    QImage indexed(image.width, image.height, QImage::Format_Indexed8);
    QList<QRgb> colors;
    for (const auto &c : spec.palette)
        colors.append(qRgb(c.red, c.green, c.blue));
    colors[spec.transparentIndex] = qRgba(0, 0, 0, 0);
    indexed.setColorTable(colors);
    for (int y = 0; y < image.height; ++y)
        std::copy_n(&image.pixels[size_t(y) * image.width], image.width, indexed.scanLine(y));
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    indexed.save(&buffer, "PNG");
    return png;
}

struct Run {
    double acsSeconds = 0;
    double pngSeconds = 0;
    double loadSeconds = 0;
    double firstFrameSeconds = 0;
    double composeSeconds = 0;
};

Run measure(const std::vector<uint8_t> &file, const std::vector<QByteArray> &pngs, size_t &checksum)
{
    Run run;
    auto start = Clock::now();
    auto loaded = acs::Character::load(file);
    run.loadSeconds = secondsSince(start);
    if (!loaded) {
        std::fprintf(stderr, "%s\n", loaded.error().describe().c_str());
        std::exit(1);
    }
    const acs::Character &character = *loaded;
    const auto &first = character.animationAt(0).frames.at(0);
    checksum += character.composeFrame(first)->pixels[64 * 128 + 64];
    run.firstFrameSeconds = secondsSince(start);

    auto fresh = acs::Character::load(file);
    start = Clock::now();
    for (size_t i = 0; i < fresh->imageCount(); ++i)
        checksum += (*fresh->image(i))->indices[i % 100];
    run.acsSeconds = secondsSince(start);

    start = Clock::now();
    for (const auto &frame : fresh->animationAt(0).frames)
        checksum += fresh->composeFrame(frame)->pixels[5000];
    run.composeSeconds = secondsSince(start);

    start = Clock::now();
    for (const auto &png : pngs) {
        QImage image;
        image.loadFromData(png, "PNG");
        checksum += image.constBits()[0];
    }
    run.pngSeconds = secondsSince(start);
    return run;
}

// Wraps composed frames in QImages the way the engine does and saves them side by side.
int saveStrip(const char *path)
{
    constexpr int frames = 6;
    const auto character = acs::Character::load(acswriter::write(acsfixtures::largeCharacter(frames)).bytes);
    const acs::Size size = character->frameSize();
    QImage strip(size.width * frames, size.height, QImage::Format_ARGB32_Premultiplied);
    strip.fill(Qt::white);
    QPainter painter(&strip);
    for (int i = 0; i < frames; ++i) {
        const auto composed = character->composeFrame(character->animationAt(0).frames[size_t(i)]);
        const QImage frame(reinterpret_cast<const uchar *>(composed->pixels.data()), composed->width,
                           composed->height, composed->width * 4, QImage::Format_ARGB32_Premultiplied);
        painter.drawImage(i * size.width, 0, frame);
    }
    painter.end();
    return strip.save(QString::fromLocal8Bit(path)) ? 0 : 1;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc == 3 && std::string_view(argv[1]) == "--strip") return saveStrip(argv[2]);
    const int imageCount = argc > 1 ? std::max(1, std::atoi(argv[1])) : 150;
    const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 9;
    const bool smooth = argc > 3 && std::string_view(argv[3]) == "smooth";

    const auto spec =
        smooth ? acsfixtures::largeCharacter(imageCount) : acsfixtures::drawnCharacter(imageCount);
    const auto file = acswriter::write(spec).bytes;
    std::vector<QByteArray> pngs;
    size_t pixels = 0, pngBytes = 0, stored = 0, compressed = 0;
    for (const auto &image : spec.images) {
        pngs.push_back(toPng(image, spec));
        pngBytes += size_t(pngs.back().size());
        pixels += size_t(image.width) * image.height;
        const auto rows = acswriter::storedRows(image);
        stored += rows.size();
        compressed += acswriter::compress(rows).size();
    }
    std::printf("fixture: %s, %d images of 128x128, file %zu bytes; pixel data %zu -> %zu bytes "
                "(compression %.1f : 1); PNGs %zu bytes\n",
                smooth ? "smooth" : "drawn", imageCount, file.size(), compressed, stored,
                double(stored) / double(compressed), pngBytes);

    std::vector<double> acs, png, ratio, load, first, compose;
    size_t checksum = 0;
    for (int i = 0; i < runs; ++i) {
        const Run run = measure(file, pngs, checksum);
        acs.push_back(pixels / run.acsSeconds / 1e6);
        png.push_back(pixels / run.pngSeconds / 1e6);
        ratio.push_back(run.pngSeconds / run.acsSeconds); // same run, so both saw the same machine load
        load.push_back(run.loadSeconds * 1e3);
        first.push_back(run.firstFrameSeconds * 1e3);
        compose.push_back(pixels * 4 / run.composeSeconds / 1e6);
    }
    std::printf("median of %d runs (checksum %zu):\n", runs, checksum);
    std::printf("  acs decode : %8.1f MB/s of palette indices\n", median(acs));
    std::printf("  png decode : %8.1f MB/s of palette indices (QImage::loadFromData)\n", median(png));
    std::printf("  ratio      : %8.2f x (acs / png, median of per-run ratios; spread %.2f..%.2f)\n",
                median(ratio), *std::min_element(ratio.begin(), ratio.end()),
                *std::max_element(ratio.begin(), ratio.end()));
    std::printf("  compose    : %8.1f MB/s of ARGB frames (decoded images cached)\n", median(compose));
    std::printf("  load       : %8.3f ms (structure only)\n", median(load));
    std::printf("  first frame: %8.3f ms (load + decode + compose frame 0)\n", median(first));
    return 0;
}
