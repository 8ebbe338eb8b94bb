#include "watchdog.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>

namespace harness::record
{

Watchdog::Watchdog(int limitMs) : limitMs_(limitMs), thread_(&Watchdog::watch, this) {}

Watchdog::~Watchdog()
{
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

void Watchdog::enter(int line)
{
    {
        const std::lock_guard lock(mutex_);
        line_ = line;
        ++serial_;
    }
    changed_.notify_all();
}

void Watchdog::leave()
{
    enter(0);
}

void Watchdog::watch()
{
    std::unique_lock lock(mutex_);
    while (!stopping_) {
        if (line_ == 0) {
            changed_.wait(lock);
            continue;
        }
        const unsigned serial = serial_;
        const bool moved = changed_.wait_for(lock, std::chrono::milliseconds(limitMs_),
                                             [&] { return stopping_ || serial_ != serial; });
        if (!moved) {
            std::fprintf(stderr, "replay: line %d: the component did not return within %d ms; giving up\n",
                         line_, limitMs_);
            std::fflush(stderr);
            std::_Exit(2);
        }
    }
}

} // namespace harness::record
