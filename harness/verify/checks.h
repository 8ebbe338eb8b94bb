// The contract checks that --verify runs, each against a fresh instance of
// the program's component class with the character attached.
//
// The catalogue is the same list in the same order in every process, so the
// runner names checks and a child process finds them by name.
#pragma once

#include "screenlayout.h"

#include "component/contract.h"
#include "platform/balloondriver/balloondriver.h"
#include "platform/hosting/classregistry.h"

#include <QList>
#include <QString>

#include <functional>

namespace harness::verify
{

// The checks answer balloons as an assistive tool does, through the driver.
using balloondriver::accessibleDescendants;
using balloondriver::AccessibleNode;
using balloondriver::BalloonDriver;
using balloondriver::ModalAnswerer;
using balloondriver::Sighting;
using balloondriver::visibleWindows;

// What a check found: nothing, or what was expected and what came.
struct Outcome {
    bool passed = true;
    QString expected;
    QString got;

    static Outcome pass() { return {}; }
    static Outcome fail(QString expected, QString got)
    {
        return {false, std::move(expected), std::move(got)};
    }
};

// Keeps the first failed expectation of a check.
class Verdict
{
  public:
    // True when `ok`; otherwise records the failure (if it is the first).
    bool expect(bool ok, const QString &expected, const QString &got);
    bool failed() const { return !outcome_.passed; }
    Outcome outcome() const { return outcome_; }

  private:
    Outcome outcome_;
};

// The steps of a modal call that a child reports, so that the parent tells a
// hang from a slow check.
enum class ModalStep { Call, Shown, Answered, Closed, Returned };

// Thrown by a modal call of a method that has hung too often to call again.
struct MethodHung {
    QString method;
};

// The component a program verifies: its class, method identifiers and the
// settings it starts from.
struct Target {
    QString componentClass;
    component::MethodIds methods;
    component::NamedValues stored;
};

struct SnapshotOptions {
    QString folder; // empty: no snapshot checks
    bool update = false;
};

// One message call's arguments.
struct Message {
    component::Method method = component::Method::ShowVellix;
    QString heading = QStringLiteral("Heading");
    QString text = QStringLiteral("Text of the message.");
    QStringList labels{QStringLiteral("First"), QStringLiteral("Second"), QStringLiteral("Third")};
    int32_t iconType = 0;
    int32_t msgType = 0;
    int32_t buttonsType = 7; // Ok
    bool modal = true;
    bool onTop = true;
};

// What a modal call showed and returned.
struct Shown {
    component::Result result;
    bool appeared = false;
    Sighting sighting;
    QString answerError;
    bool forcedClose = false;
};

// Shared by the checks of one child process.
class CheckContext
{
  public:
    CheckContext(Target target, hosting::ClassRegistry &registry, component::ObjectRef character,
                 SnapshotOptions snapshots);

    const Target &target() const { return target_; }
    const SnapshotOptions &snapshots() const { return snapshots_; }
    const component::ObjectRef &character() const { return character_; }

    // A new instance with the character attached, or null and why not.
    component::ObjectRef create(QString *error);

    using StepReporter = std::function<void(ModalStep, const QString &method)>;
    void setStepReporter(StepReporter reporter) { reporter_ = std::move(reporter); }
    void reportStep(ModalStep step, const QString &method = {}) const
    {
        if (reporter_) reporter_(step, method);
    }
    // Methods that hung in several checks already.
    void setHungMethods(QStringList methods) { hungMethods_ = std::move(methods); }
    bool isHung(const QString &method) const { return hungMethods_.contains(method); }
    // Where placement checks record what they saw; empty: nowhere.
    void setPlacementMap(QString folder) { placementMap_ = std::move(folder); }
    const QString &placementMap() const { return placementMap_; }
    // The check running now.
    void setCurrentCheck(QString name) { currentCheck_ = std::move(name); }
    const QString &currentCheck() const { return currentCheck_; }

  private:
    Target target_;
    hosting::ClassRegistry &registry_;
    component::ObjectRef character_;
    SnapshotOptions snapshots_;
    StepReporter reporter_;
    QStringList hungMethods_;
    QString placementMap_;
    QString currentCheck_;
};

// Calls on one fresh instance.
class CheckedInstance
{
  public:
    explicit CheckedInstance(CheckContext &context);
    ~CheckedInstance();

    bool ready() const { return object_ != nullptr; }
    const QString &creationError() const { return error_; }
    CheckContext &context() { return context_; }

    component::Result put(component::DispId id, component::Value value);
    component::Result putRef(component::DispId id, component::Value value);
    component::Result get(component::DispId id);
    component::Result call(const Message &message);
    // A modal call answered by `answer` once the balloon is up.
    Shown showModal(const Message &message, ModalAnswerer::Answer answer, bool withImage = false);
    // The message shown modeless and left up: its balloon window, or null
    // after recording in `v` why not.
    QWidget *showModeless(Message message, Verdict &v);

  private:
    CheckContext &context_;
    QList<QPointer<QWidget>> windowsBefore_;
    component::ObjectRef object_;
    QString error_;
};

struct Check {
    QString name;
    std::function<Outcome(CheckedInstance &)> run;
};

QList<Check> checkCatalog(const SnapshotOptions &snapshots, const QList<ScreenLayout> &layouts = {});

// Parts of the catalogue, one per source file.
void addPropertyChecks(QList<Check> &checks);
void addMessageChecks(QList<Check> &checks);
void addSnapshotChecks(QList<Check> &checks);
void addDrawingChecks(QList<Check> &checks);
void addPlacementChecks(QList<Check> &checks, const QList<ScreenLayout> &layouts);

// Shared by the check files.
QString describe(const component::Result &result);
QString describe(const component::MsgResult &result);
component::Picture verifyPicture();
QString methodName(component::Method method);
inline constexpr std::array<component::Method, 3> allMethods{
    component::Method::ShowVellix, component::Method::MsgInput, component::Method::MsgLabels};

} // namespace harness::verify
