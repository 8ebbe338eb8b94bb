// The reference component loaded in process against the same component in a
// host process, in interleaved pairs (ours = out of process), each line as
// printPairedTimes prints it:
// - "put": a property put through the harness's dispatch path, in µs;
// - "click": a click on the show button of a harness window (a modeless
//   ShowVellix) to the balloon's first paint, in ms. The paint is seen by the
//   paint probe plugin, which Qt loads into this process and into the host
//   alike, so both sides end at the same event: the balloon window's first
//   Paint event in the process that owns it, told through a pipe;
// then "rss": the peak RSS of the harness side and of the host in MB.
//   bench_isolation RUNS HOST_PROGRAM COMPONENT_FILE
#include "harness/base/vellixfacade.h"
#include "harness/isolation/componenthosts.h"
#include "harness/window/frmmain.h"
#include "pairedtimes.h"
#include "platform/platformclasses.h"
#include "quietplatform.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QPluginLoader>
#include <QSocketNotifier>
#include <QTimer>

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace
{

constexpr int PutsPerRun = 2000;

double microsecondsPerPut(harness::VellixFacade &facade)
{
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < PutsPerRun; ++i)
        facade.setBalloonPlace(i % 5);
    const std::chrono::duration<double, std::micro> took = std::chrono::steady_clock::now() - start;
    return took.count() / PutsPerRun;
}

double peakRssMb(const QString &pid)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(pid));
    if (!status.open(QIODevice::ReadOnly)) return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:")) return line.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    return 0;
}

// Loads the paint probe into this process and, through the environment,
// into every host it starts; returns the pipe's end the probe's notes arrive
// on, or -1.
int installPaintProbe()
{
    int fds[2];
    if (::pipe2(fds, O_NONBLOCK) != 0) return -1;
    QByteArray folders = PAINT_PROBE_FOLDER;
    if (const QByteArray more = qgetenv("QT_PLUGIN_PATH"); !more.isEmpty()) folders += ':' + more;
    qputenv("QT_PLUGIN_PATH", folders);
    qputenv("QT_QPA_GENERIC_PLUGINS", "paintprobe");
    qputenv("BENCH_PAINT_FD", QByteArray::number(fds[1]));
    qputenv("BENCH_PAINT_WINDOW", "balloon::BalloonWidget");
    ::fcntl(fds[0], F_SETFD, FD_CLOEXEC); // the hosts write, never read
    return fds[0];
}

// Runs the event loop until the probe has written `what`; false after ten
// seconds (the probe was not loaded, or no balloon came).
bool awaitNote(int fd, char what)
{
    QSocketNotifier readable(qintptr(fd), QSocketNotifier::Read);
    QTimer tick; // wakes the wait to look at the clock
    tick.start(100);
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < 10000) {
        char c;
        while (::read(fd, &c, 1) == 1)
            if (c == what) return true;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    return false;
}

// A harness window on a registry of its own, its show button set to modeless.
struct ClickSide {
    Cancelling dialogs;
    Silent boxes;
    harness::Trace off;
    hosting::ClassRegistry registry;
    std::unique_ptr<harness::FrmMain> window;

    bool start(const QString &folder, harness::ComponentHosts *hosts)
    {
        platform::registerPlatformClasses(registry, dialogs);
        registry.setPluginFolders({folder}, {});
        if (hosts)
            registry.setPluginCreator(
                [hosts](const QString &file, const QString &classId, const component::NamedValues &stored) {
                    return hosts->create(file, classId, stored);
                });
        window = std::make_unique<harness::FrmMain>(
            harness::fennick(), harness::FrmMain::Platform{registry, boxes, off, [](int) { std::exit(2); },
                                                           [] { return true; }, nullptr, hosts});
        if (!window->createControls() || !window->load()) return false;
        window->show();
        window->controls().check("chkModal").setValue(0); // the call returns at once
        return true;
    }
    // ms from the click to the balloon's first paint; negative when none came.
    double clickToPaint(int notes)
    {
        QElapsedTimer timer;
        timer.start();
        window->controls().button("cmbMsgShow").click();
        const bool painted = awaitNote(notes, 'p');
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        // The probe closes the balloon; the next click needs it gone.
        return painted && awaitNote(notes, 'h') ? ms : -1;
    }
};

} // namespace

int main(int argc, char **argv)
{
    const int notes = installPaintProbe();
    QApplication app(argc, argv);
    if (argc != 4 || notes < 0) {
        std::fprintf(stderr, "usage: bench_isolation RUNS HOST_PROGRAM COMPONENT_FILE\n");
        return 2;
    }
    const int runs = std::atoi(argv[1]);
    const QString file = QFileInfo(QString::fromLocal8Bit(argv[3])).absoluteFilePath();
    const QString classId = QStringLiteral("pVellix.Vellix");
    harness::Trace off;

    QPluginLoader loader(file);
    const hosting::Created local = hosting::loadComponent(loader, classId, {});
    harness::ComponentProcess::Settings settings;
    settings.hostProgram = QString::fromLocal8Bit(argv[2]);
    harness::ComponentHosts hosts(settings);
    const hosting::Created remote = hosts.create(file, classId, {});
    if (!local.object || !remote.object) {
        std::fprintf(stderr, "%s\n", qPrintable(local.object ? remote.error : local.error));
        return 2;
    }
    harness::HostedControl inProcess(QStringLiteral("Vellix1"), local.object, off);
    harness::HostedControl outOfProcess(QStringLiteral("Vellix1"), remote.object, off);
    harness::VellixFacade a(outOfProcess, component::VellixMethods), b(inProcess, component::VellixMethods);
    microsecondsPerPut(a); // warm both up
    microsecondsPerPut(b);
    std::vector<double> ours, plain;
    for (int i = 0; i < runs; ++i) {
        ours.push_back(microsecondsPerPut(a));
        plain.push_back(microsecondsPerPut(b));
    }
    printPairedTimes("put ", ours, plain);

    ClickSide remoteSide, localSide;
    if (!remoteSide.start(QFileInfo(file).absolutePath(), &hosts) ||
        !localSide.start(QFileInfo(file).absolutePath(), nullptr))
        return 2;
    std::vector<double> clickOurs, clickPlain;
    for (int i = -1; i < runs; ++i) { // the first pair warms up
        const double a = remoteSide.clickToPaint(notes), b = localSide.clickToPaint(notes);
        if (a < 0 || b < 0) {
            std::fprintf(stderr, "no balloon was painted within ten seconds\n");
            return 2;
        }
        if (i < 0) continue;
        clickOurs.push_back(a);
        clickPlain.push_back(b);
    }
    printPairedTimes("click ", clickOurs, clickPlain);
    std::printf("rss %.1f %.1f\n", peakRssMb(QStringLiteral("self")),
                peakRssMb(QString::number(hosts.processOf(remote.object)->processId())));
    return 0;
}
