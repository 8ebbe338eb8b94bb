#include "firstpaintexit.h"

#include <QCoreApplication>
#include <QEvent>
#include <QSet>
#include <QWidget>

#include <cstdio>
#include <cstdlib>

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
