#include "endsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace harness
{

namespace
{

constexpr int Handled[] = {SIGTERM, SIGINT, SIGHUP};
// One harness per process: the handler needs the pipe without an object.
int pipeFds[2] = {-1, -1};

void onSignal(int signal)
{
    const unsigned char byte = static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t n = ::write(pipeFds[1], &byte, 1);
}

} // namespace

EndSignals::EndSignals(std::function<void(int signal)> end) : end_(std::move(end))
{
    if (::pipe2(pipeFds, O_CLOEXEC | O_NONBLOCK) != 0) return;
    notifier_ = std::make_unique<QSocketNotifier>(qintptr(pipeFds[0]), QSocketNotifier::Read);
    QObject::connect(notifier_.get(), &QSocketNotifier::activated, notifier_.get(), [this] {
        unsigned char byte = 0;
        while (::read(pipeFds[0], &byte, 1) == 1)
            end_(byte);
    });
    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int s : Handled)
        ::sigaction(s, &action, nullptr);
}

EndSignals::~EndSignals()
{
    for (const int s : Handled)
        std::signal(s, SIG_DFL);
    notifier_.reset();
    for (int &fd : pipeFds) {
        if (fd >= 0) ::close(fd);
        fd = -1;
    }
}

} // namespace harness
