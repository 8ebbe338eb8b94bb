// Ends the process when one step stays under way longer than its limit: the
// last resort against a component that blocks without running an event loop,
// where no timer fires.
#pragma once

#include <condition_variable>
#include <mutex>
#include <thread>

namespace harness::record
{

class Watchdog
{
  public:
    explicit Watchdog(int limitMs);
    ~Watchdog();
    Watchdog(const Watchdog &) = delete;
    Watchdog &operator=(const Watchdog &) = delete;

    void enter(int line); // a step that started on this recording line
    void leave();

  private:
    void watch();

    const int limitMs_;
    std::mutex mutex_;
    std::condition_variable changed_;
    int line_ = 0; // 0: no step under way
    unsigned serial_ = 0;
    bool stopping_ = false;
    std::thread thread_;
};

} // namespace harness::record
