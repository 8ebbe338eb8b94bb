#include "componentwatcher.h"

#include <QFileInfo>

namespace harness
{

ComponentWatcher::ComponentWatcher(const QString &file, std::function<void()> rebuilt)
    : file_(file), rebuilt_(std::move(rebuilt))
{
    const QFileInfo info(file_);
    modified_ = info.lastModified();
    size_ = info.size();
    quiet_.setSingleShot(true);
    quiet_.setInterval(QuietMs);
    QObject::connect(&quiet_, &QTimer::timeout, &watcher_, [this] { check(); });
    QObject::connect(&watcher_, &QFileSystemWatcher::directoryChanged, &quiet_, qOverload<>(&QTimer::start));
    watcher_.addPath(info.absolutePath());
}

void ComponentWatcher::check()
{
    const QFileInfo info(file_);
    // A half-written or removed file is no build yet; the next change comes.
    if (!info.exists() || info.size() == 0) return;
    if (info.lastModified() == modified_ && info.size() == size_) return;
    modified_ = info.lastModified();
    size_ = info.size();
    // A folder removed and made again is watched anew.
    if (watcher_.directories().isEmpty()) watcher_.addPath(info.absolutePath());
    rebuilt_();
}

} // namespace harness
