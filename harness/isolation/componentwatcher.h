// Watches a component file for a new build. Linkers write a new file and
// rename it over the old one, so the folder is watched, and a burst of
// changes is taken as one once it has been quiet for a moment.
#pragma once

#include <QDateTime>
#include <QFileSystemWatcher>
#include <QTimer>

#include <functional>

namespace harness
{

class ComponentWatcher
{
  public:
    static constexpr int QuietMs = 300;

    ComponentWatcher(const QString &file, std::function<void()> rebuilt);

  private:
    void check();

    QString file_;
    std::function<void()> rebuilt_;
    QFileSystemWatcher watcher_;
    QTimer quiet_;
    QDateTime modified_;
    qint64 size_ = -1;
};

} // namespace harness
