#include "firstpaintexit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSet>
#include <QWidget>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace harness
{
namespace
{

class FirstPaintExit final : public QObject
{
  public:
    explicit FirstPaintExit(int windows) : windows_(windows) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType()) return false;
        painted_.insert(static_cast<QWidget *>(watched)->window());
        if (painted_.size() >= windows_ && !leaving_) {
            // This paint event is the first of its window's pass: leave once the
            // pass (every child painted, the window flushed) is over. Tearing the
            // windows down is not part of start-up.
            leaving_ = true;
            QMetaObject::invokeMethod(
                this,
                [] {
                    // The moment itself, for the benchmark: ending the
                    // process (a host's socket, idle threads) is no part of
                    // start-up, and takes longer on one side than the other.
                    timespec now{};
                    ::clock_gettime(CLOCK_MONOTONIC, &now);
                    std::printf("first-paint-monotonic-ns %lld\n",
                                static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec);
                    std::fflush(nullptr);
                    std::_Exit(0);
                },
                Qt::QueuedConnection);
        }
        return false;
    }

  private:
    int windows_;
    bool leaving_ = false;
    QSet<const QWidget *> painted_;
};

} // namespace

void exitAfterFirstPaintIfAsked()
{
    const int windows = qEnvironmentVariableIntValue("HARNESS_EXIT_AFTER_FIRST_PAINT");
    if (windows <= 0) return;
    QCoreApplication::instance()->installEventFilter(new FirstPaintExit(windows));
}

} // namespace harness
