// A property put through the harness's dispatch path to the reference
// component loaded in process, and to the same component in a host process,
// in interleaved pairs. Prints "put <µs in process> ..." as printPairedTimes
// does (ours = out of process), then the peak RSS of the harness side and of
// the host in MB.
//   bench_isolation RUNS HOST_PROGRAM COMPONENT_FILE
#include "harness/base/vellixfacade.h"
#include "harness/isolation/componenthosts.h"
#include "pairedtimes.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QPluginLoader>

#include <chrono>
#include <cstdio>

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

} // namespace

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 4) {
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
    std::printf("rss %.1f %.1f\n", peakRssMb(QStringLiteral("self")),
                peakRssMb(QString::number(hosts.processOf(remote.object)->processId())));
    return 0;
}
