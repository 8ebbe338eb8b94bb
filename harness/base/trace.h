// A JSON-lines record of what the harness asks of its controls and shows to
// the user, for component authors and tests. Each line is flushed at once.
#pragma once

#include "component/dispatch.h"
#include "platform/dialogs/messagebox.h"

#include <QIODevice>
#include <QString>

#include <functional>
#include <memory>
#include <optional>

namespace harness
{

class Trace
{
  public:
    Trace() = default; // off: records nothing
    explicit Trace(std::unique_ptr<QIODevice> out) : out_(std::move(out)) {}

    // "-" writes to standard output. Empty when the file cannot be opened.
    static std::optional<Trace> open(const QString &target, QString *error);

    bool enabled() const { return out_ != nullptr || tap_ != nullptr; }
    // Also hands every line, without its newline, to a listener.
    void setTap(std::function<void(const QString &line)> tap) { tap_ = std::move(tap); }

    struct Call {
        const QString &control;
        component::DispId id;
        QLatin1String member;
        component::CallKind kind;
        const std::vector<component::Value> &argsBefore; // as passed
        const component::Args &argsAfter;                // by-reference arguments may have changed
    };
    void dispatch(const Call &call, const component::Result &result);
    void messageBox(const std::optional<QString> &title, int style, const QString &text);
    void ready();
    struct Crash {
        const QString &control;
        const QString &file;
        QLatin1String member;
        component::CallKind kind;
        const std::vector<component::Value> &args;
        const QString &end; // "signal SIGSEGV", "exit code 3"
        const QStringList &stderrLines;
    };
    void componentCrashed(const Crash &crash);
    void componentReloaded(const QString &control, const QString &file);
    void error(int32_t number, const QString &description);

    static QString toJson(const component::Value &value);

  private:
    void write(const QString &line);
    std::unique_ptr<QIODevice> out_;
    std::function<void(const QString &line)> tap_;
};

// Message boxes, recorded in the trace as they are shown.
class TracedMessageBox final : public dialogs::MessageBoxService
{
  public:
    TracedMessageBox(dialogs::MessageBoxService &boxes, Trace &trace) : boxes_(boxes), trace_(trace) {}
    int show(const QString &text, int style, const std::optional<QString> &title) override
    {
        trace_.messageBox(title, style, text);
        return boxes_.show(text, style, title);
    }

  private:
    dialogs::MessageBoxService &boxes_;
    Trace &trace_;
};

} // namespace harness
