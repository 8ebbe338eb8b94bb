// Stand-ins for everything outside the window: a component that records its
// calls, an agent control, scripted dialogs and message boxes.
#pragma once

#include "component/contract.h"
#include "platform/dialogs/dialogprovider.h"
#include "platform/dialogs/messagebox.h"

#include <deque>
#include <functional>
#include <map>
#include <set>

namespace fakes
{

using namespace component;

struct Call {
    DispId id;
    CallKind kind;
    std::vector<Value> args;
};

// Keeps its properties, starting from the stored settings, and records calls.
class RecordingComponent : public DispatchObject
{
  public:
    RecordingComponent(MethodIds methods, const NamedValues &stored);
    Result invoke(DispId id, CallKind kind, Args &args) override;

    std::vector<Call> calls;
    std::map<DispId, Value> values;
    std::set<DispId> unsupported;                   // answered with error 438
    std::set<DispId> refusedPuts;                   // puts answered with error 380
    std::function<Result(Method, Args &)> onMethod; // default: an empty MsgResult
    MethodIds methods;
};

class FakeCharacter : public DispatchObject
{
  public:
    Result invoke(DispId id, CallKind kind, Args &args) override;
    std::vector<Call> calls;
};

class FakeAgent : public DispatchObject
{
  public:
    Result invoke(DispId id, CallKind kind, Args &args) override;
    std::vector<Call> calls;
    bool refuseFiles = false;
    std::shared_ptr<FakeCharacter> character = std::make_shared<FakeCharacter>();
};

class ScriptedDialogs : public dialogs::DialogProvider
{
  public:
    std::optional<QString> openFile(const QString &title, const QString &filter,
                                    const QString &initial) override;
    std::optional<QColor> pickColor(const QColor &initial) override;

    std::deque<std::optional<QString>> fileAnswers;  // nothing left: cancel
    std::deque<std::optional<QColor>> colourAnswers; // nothing left: cancel
    struct Shown {
        QString title, filter;
    };
    std::vector<Shown> fileDialogs;
    std::vector<QColor> colourDialogs; // the colour each one started from
};

class RecordingMessageBoxes : public dialogs::MessageBoxService
{
  public:
    struct Box {
        QString text;
        int style;
        std::optional<QString> title;
    };
    int show(const QString &text, int style, const std::optional<QString> &title) override
    {
        boxes.push_back({text, style, title});
        if (answers.empty()) return 1;
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::vector<Box> boxes;
    std::deque<int> answers; // nothing left: OK
};

} // namespace fakes
