// Ends the program on SIGTERM, SIGINT and SIGHUP (a logout, Ctrl+C in the
// terminal) the way closing its window does, so that the trace and the
// recording get their last lines. The handler only writes to a pipe; the
// ending itself runs in the event loop.
#pragma once

#include <functional>
#include <memory>

class QSocketNotifier;

namespace harness
{

class EndSignals
{
  public:
    explicit EndSignals(std::function<void(int signal)> end);
    ~EndSignals();
    EndSignals(const EndSignals &) = delete;
    EndSignals &operator=(const EndSignals &) = delete;

  private:
    std::function<void(int signal)> end_;
    std::unique_ptr<QSocketNotifier> notifier_;
};

} // namespace harness
