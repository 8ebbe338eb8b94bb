// The component host: loads a component plugin on the harness's request and
// serves its calls over the socket the harness handed down. It ends when the
// harness closes the connection.
//
//   balloon-harness-host --fd N [--name NAME] [--wait-for-debugger]
#include "platform/balloondriver/localballoonaccess.h"
#include "platform/hosting/classregistry.h"
#include "platform/hosting/remote/channel.h"
#include "platform/platformwarnings.h"

#include <QApplication>
#include <QFile>
#include <QPluginLoader>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sys/prctl.h>
#include <thread>
#include <unistd.h>

namespace
{

bool traced()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly)) return false;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("TracerPid:")) return line.mid(10).trimmed() != "0";
    return false;
}

void waitForDebugger()
{
    // Yama lets only ancestors trace a process; a debugger started from
    // another terminal is no ancestor.
    ::prctl(PR_SET_PTRACER, PR_SET_PTRACER_ANY, 0, 0, 0);
    std::fprintf(stderr, "balloon-harness-host: process %d waits for a debugger (gdb -p %d)\n",
                 int(::getpid()), int(::getpid()));
    while (!traced())
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
}

} // namespace

int main(int argc, char **argv)
{
    int fd = -1;
    const char *name = "component";
    bool debug = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--fd") == 0 && i + 1 < argc)
            fd = std::atoi(argv[++i]);
        else if (std::strcmp(argv[i], "--name") == 0 && i + 1 < argc)
            name = argv[++i];
        else if (std::strcmp(argv[i], "--wait-for-debugger") == 0)
            debug = true;
    }
    if (fd < 0) {
        std::fprintf(stderr, "balloon-harness-host: started by the harness only (no --fd)\n");
        return 2;
    }
    if (debug) waitForDebugger();

    // The accessible application is named after the component, so that a
    // script finds the balloon's process by it.
    QApplication::setApplicationName(QString::fromLocal8Bit(name));
    QApplication app(argc, argv);
    platform::dropUnsupportedFeatureWarnings();
    QApplication::setQuitOnLastWindowClosed(false);

    auto channel = std::make_shared<hosting::Channel>(fd);
    std::vector<std::unique_ptr<QPluginLoader>> loaders;
    std::shared_ptr<balloondriver::LocalBalloonAccess> balloons;
    channel->setCreateHandler([&loaders, &balloons](const wire::CreateMessage &m) -> component::Result {
        // Record and replay read and answer the balloon where it is: here.
        if (m.classId == QLatin1String(balloondriver::BalloonAccessClass)) {
            if (!balloons) balloons = std::make_shared<balloondriver::LocalBalloonAccess>();
            return component::Value(balloondriver::serveBalloonAccess(balloons));
        }
        auto loader = std::make_unique<QPluginLoader>(m.file);
        const hosting::Created created = hosting::loadComponent(*loader, m.classId, m.stored);
        if (loader->isLoaded()) loaders.push_back(std::move(loader));
        if (!created.object)
            return component::DispatchError{component::error::CannotCreateObject, created.error};
        return component::Value(created.object);
    });
    // Without the harness there is nobody to serve: end at once, whatever
    // nested event loop a component is in.
    channel->setOnBroken([] { std::_Exit(0); });
    channel->watch();
    return app.exec();
}
