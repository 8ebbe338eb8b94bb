// Loaded into every Qt program of a benchmark run (QT_QPA_GENERIC_PLUGINS=
// paintprobe), so that a window's first paint is seen the same way in
// whichever process owns the window. For each shown window of the class
// named in BENCH_PAINT_WINDOW it writes 'p' to the file descriptor in
// BENCH_PAINT_FD at its first paint and then closes it, and 'h' when it is
// hidden, so that the benchmark knows the next window may be asked for.
#include <QCoreApplication>
#include <QEvent>
#include <QGenericPlugin>
#include <QPointer>
#include <QWidget>

#include <unistd.h>

namespace
{

class PaintProbe final : public QObject
{
  public:
    PaintProbe(int fd, QByteArray windowClass) : fd_(fd), windowClass_(std::move(windowClass)) {}

    bool eventFilter(QObject *object, QEvent *event) override
    {
        if (!object->isWidgetType()) return false;
        auto *widget = static_cast<QWidget *>(object);
        switch (event->type()) {
        case QEvent::Show:
            if (watched(widget)) awaiting_.append(widget);
            break;
        case QEvent::Paint:
            if (awaiting_.removeAll(widget->window()) > 0) {
                note('p');
                // Closed once this paint is done, as a person would.
                QMetaObject::invokeMethod(widget->window(), &QWidget::close, Qt::QueuedConnection);
            }
            break;
        case QEvent::Hide:
            if (watched(widget)) note('h');
            break;
        default:
            break;
        }
        return false;
    }

  private:
    bool watched(const QWidget *widget) const
    {
        return widget->isWindow() && windowClass_ == widget->metaObject()->className();
    }
    void note(char what)
    {
        // The reader may be slow; a lost byte shows as a timeout there.
        [[maybe_unused]] const ssize_t n = ::write(fd_, &what, 1);
    }

    int fd_;
    QByteArray windowClass_;
    QList<QPointer<QWidget>> awaiting_;
};

class PaintProbePlugin final : public QGenericPlugin
{
    Q_OBJECT
    Q_PLUGIN_METADATA(IID QGenericPluginFactoryInterface_iid FILE "paintprobe.json")
  public:
    QObject *create(const QString &, const QString &) override
    {
        bool ok = false;
        const int fd = qEnvironmentVariableIntValue("BENCH_PAINT_FD", &ok);
        if (!ok || fd < 0) return nullptr;
        auto *probe = new PaintProbe(fd, qgetenv("BENCH_PAINT_WINDOW"));
        QCoreApplication::instance()->installEventFilter(probe);
        return probe;
    }
};

} // namespace

#include "paintprobe.moc"
