// Hostile and large characters: load cost of crafted files, memory of a long
// animation run with the bounded image cache, and memory of a large file
// against a tiny one. Each figure runs in a child process of its own (so peak
// RSS is its own), interleaved with its baseline: A B A B ..., medians printed.
//   bench_acshostile [runs]
#include "acsfixtures.h"
#include "acshostile.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

namespace
{

namespace fs = std::filesystem;

double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double spread(const std::vector<double> &values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return *high - *low;
}

long peakKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("VmHWM:", 0) == 0) return std::stol(line.substr(6));
    return 0;
}

// --------------------------------------------------------------- child modes

// Loads the file (and composes its first frame); prints CPU ms and the outcome.
int childLoad(const char *path, bool firstFrame)
{
    const double start = cpuSeconds();
    auto loaded = acs::Character::loadFile(path);
    if (loaded && firstFrame && loaded->animationCount() > 0 && !loaded->animationAt(0).frames.empty())
        (void)loaded->composeFrame(loaded->animationAt(0).frames[0]);
    const double ms = (cpuSeconds() - start) * 1e3;
    std::printf("%.3f %ld %s\n", ms, peakKb(),
                loaded ? "loads" : loaded.error().describe().substr(0, 60).c_str());
    return 0;
}

// Plays every frame of every animation `cycles` times with the given cache
// limit; prints peak RSS (kB) after the first cycle and at the end.
int childPlay(const char *path, int cycles, size_t limit)
{
    auto loaded = acs::Character::loadFile(path);
    if (!loaded) return 1;
    loaded->setImageCacheLimit(limit);
    long warm = 0;
    size_t checksum = 0;
    for (int cycle = 0; cycle < cycles; ++cycle) {
        for (size_t a = 0; a < loaded->animationCount(); ++a)
            for (const acs::Frame &frame : loaded->animationAt(a).frames)
                checksum += loaded->composeFrame(frame)->pixels[4000];
        if (cycle == 0) warm = peakKb();
    }
    std::printf("%ld %ld %zu\n", warm, peakKb(), checksum % 10);
    return 0;
}

// --------------------------------------------------------------- parent

// Peak RSS comes from the child itself: what wait4() reports would include
// the parent's pages that the child held between fork and exec.
struct ChildResult {
    std::string out;
    double peakMb = 0;
};

ChildResult runChild(std::vector<std::string> args)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0) std::exit(1);
    const pid_t pid = fork();
    if (pid == 0) {
        dup2(pipeFds[1], 1);
        close(pipeFds[0]);
        std::vector<char *> argv;
        static std::string self = fs::read_symlink("/proc/self/exe");
        argv.push_back(self.data());
        for (auto &arg : args)
            argv.push_back(arg.data());
        argv.push_back(nullptr);
        execv(self.c_str(), argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    ChildResult result;
    char buffer[256];
    ssize_t n;
    while ((n = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        result.out.append(buffer, size_t(n));
    close(pipeFds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    double ms = 0;
    long kb = 0;
    if (std::sscanf(result.out.c_str(), "%lf %ld", &ms, &kb) == 2) result.peakMb = double(kb) / 1024.0;
    return result;
}

fs::path save(const fs::path &dir, const std::string &name, const std::vector<uint8_t> &bytes)
{
    const fs::path path = dir / name;
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char *>(bytes.data()), std::streamsize(bytes.size()));
    return path;
}

// largeCharacter() grown to about `size` bytes.
std::vector<uint8_t> realisticOfSize(size_t size)
{
    const size_t perImage = acswriter::write(acsfixtures::largeCharacter(20)).bytes.size() / 20;
    return acswriter::write(acsfixtures::largeCharacter(int(std::max<size_t>(1, size / perImage)))).bytes;
}

void row(const char *figure, const std::string &ours, const std::string &base, const std::string &ratio,
         const std::string &goal)
{
    std::printf("%-34s %16s %16s %10s   %s\n", figure, ours.c_str(), base.c_str(), ratio.c_str(),
                goal.c_str());
}

std::string fmt(const char *format, double a, double b = 0)
{
    char text[64];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

void craftedFiles(const fs::path &dir, int runs)
{
    constexpr size_t size = 8 << 20;
    const fs::path baseline = save(dir, "realistic.acs", realisticOfSize(size));
    std::printf(
        "\ncrafted files of about 8 MB: load CPU time (ms) and peak RSS (MB) of a process that only loads;\n"
        "baseline: a realistic character of the same size (%ju bytes)\n",
        uintmax_t(fs::file_size(baseline)));
    row("case", "ms (spread)", "baseline ms", "RSS MB", "goal: < 500 ms and < 64 MB + 2 x size; outcome");
    for (const auto &crafted : acshostile::cases()) {
        const fs::path path = save(dir, "crafted.acs", crafted.make(size));
        const double fileMb = double(fs::file_size(path)) / (1 << 20);
        std::vector<double> ms, baseMs, rss;
        std::string outcome;
        for (int i = 0; i < runs; ++i) {
            const ChildResult ours = runChild({"--load", path.string()});
            const ChildResult base = runChild({"--load", baseline.string()});
            ms.push_back(std::atof(ours.out.c_str()));
            baseMs.push_back(std::atof(base.out.c_str()));
            rss.push_back(ours.peakMb);
            outcome = ours.out.substr(ours.out.find(' ', ours.out.find(' ') + 1) + 1);
            outcome.erase(outcome.find_last_not_of('\n') + 1);
        }
        const double bound = 64 + 2 * fileMb;
        const bool met = median(ms) < 500 && median(rss) < bound;
        row(crafted.name, fmt("%.1f (%.1f)", median(ms), spread(ms)), fmt("%.1f", median(baseMs)),
            fmt("%.1f", median(rss)),
            std::string(met ? "met" : "MISSED") + fmt(", RSS bound %.0f MB; ", bound) + outcome);
    }
}

void imageCache(const fs::path &dir, int runs)
{
    auto spec = acsfixtures::largeCharacter(1000);
    // Twenty animations of fifty frames, so "every animation" means something.
    auto frames = std::move(spec.animations[0].frames);
    spec.animations.clear();
    for (size_t a = 0; a < 20; ++a) {
        acswriter::AnimationSpec animation{
            u"Play" + std::u16string(1, char16_t(u'A' + a)), {}, acs::Transition::None, {}, {}};
        animation.frames.assign(frames.begin() + std::ptrdiff_t(a * 50),
                                frames.begin() + std::ptrdiff_t(a * 50 + 50));
        spec.animations.push_back(std::move(animation));
    }
    const fs::path path = save(dir, "thousand.acs", acswriter::write(spec).bytes);
    constexpr int cycles = 30;
    std::printf("\nimage cache: every frame of every animation of a 1000-image character (%ju bytes, 16 MB "
                "decoded),\n"
                "%d cycles; peak RSS growth after the first cycle (MB); baseline: an unbounded cache\n",
                uintmax_t(fs::file_size(path)), cycles);
    row("cache limit", "growth (peak)", "unbounded", "", "goal: growth <= 5 MB");
    for (size_t limit : {acs::defaultImageCacheLimit, size_t(8) << 20, size_t(2) << 20}) {
        std::vector<double> growth, peak, baseGrowth, basePeak;
        for (int i = 0; i < runs; ++i) {
            for (bool bounded : {true, false}) {
                const ChildResult r = runChild({"--play", path.string(), std::to_string(cycles),
                                                std::to_string(bounded ? limit : SIZE_MAX)});
                long warm = 0, end = 0;
                std::sscanf(r.out.c_str(), "%ld %ld", &warm, &end);
                (bounded ? growth : baseGrowth).push_back(double(end - warm) / 1024);
                (bounded ? peak : basePeak).push_back(double(end) / 1024);
            }
        }
        const std::string name = std::to_string(limit >> 20) + " MB";
        row(name.c_str(), fmt("%.2f (%.1f)", median(growth), median(peak)),
            fmt("%.2f (%.1f)", median(baseGrowth), median(basePeak)), "",
            median(growth) <= 5 ? "met" : "MISSED");
    }
}

void largeAgainstTiny(const fs::path &dir, int runs)
{
    const fs::path large = save(dir, "large.acs", realisticOfSize(4 << 20));
    const fs::path tiny = save(dir, "tiny.acs", acswriter::write(acsfixtures::compactCharacter()).bytes);
    std::vector<double> ours, base, difference;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(runChild({"--load", large.string(), "--first-frame"}).peakMb);
        base.push_back(runChild({"--load", tiny.string(), "--first-frame"}).peakMb);
        difference.push_back(ours.back() - base.back());
    }
    std::printf("\npeak RSS of a process that loads a character and composes its first frame (MB)\n");
    row("file", "RSS (spread)", "tiny file", "difference", "goal: difference <= 1 MB");
    row(fmt("%.1f MB character", double(fs::file_size(large)) / (1 << 20)).c_str(),
        fmt("%.2f (%.2f)", median(ours), spread(ours)), fmt("%.2f", median(base)),
        fmt("%.2f", median(difference)), median(difference) <= 1 ? "met" : "MISSED");
}

} // namespace

int main(int argc, char **argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() >= 2 && args[0] == "--load") return childLoad(argv[2], args.size() > 2);
    if (args.size() == 4 && args[0] == "--play")
        return childPlay(argv[2], std::atoi(argv[3]), size_t(std::strtoull(argv[4], nullptr, 10)));
    const int runs = args.empty() ? 5 : std::max(1, std::atoi(argv[1]));
    const fs::path dir = fs::temp_directory_path() / ("bench_acshostile." + std::to_string(getpid()));
    fs::create_directories(dir);
    std::printf(
        "machine: %ld cores; medians of %d interleaved runs; CPU times, so other processes weigh less\n",
        sysconf(_SC_NPROCESSORS_ONLN), runs);
    largeAgainstTiny(dir, runs);
    imageCache(dir, std::max(1, runs / 2));
    craftedFiles(dir, runs);
    fs::remove_all(dir);
    return 0;
}
