#include "frmmain.h"

#include "harness/base/harnesserror.h"
#include "harness/base/storedsettings.h"
#include "harness/controls/controltable.h"
#include "harness/controls/windowbuilder.h"
#include "platform/balloondriver/ownwindow.h"
#include "platform/platformclasses.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QLoggingCategory>
#include <QRegularExpression>
#include <QScopedValueRollback>
#include <QThread>
#include <QTimer>

#include <cstdio>

Q_LOGGING_CATEGORY(lcHarness, "harness.window", QtInfoMsg)

namespace harness
{

using namespace component;

QString elideLongWords(const QString &text)
{
    // Longer than this, a word (in practice a path) would not fit on one
    // line of a message box, which would then break it anywhere.
    constexpr qsizetype Longest = 60;
    constexpr qsizetype Kept = (Longest - 1) / 2;
    static const QRegularExpression longWord(QStringLiteral("\\S{%1,}").arg(Longest + 1));
    QString result;
    qsizetype done = 0;
    for (const QRegularExpressionMatch &m : longWord.globalMatch(text)) {
        const QString word = m.captured();
        result +=
            text.mid(done, m.capturedStart() - done) + word.left(Kept) + QChar(0x2026) + word.right(Kept);
        done = m.capturedEnd();
    }
    return result + text.mid(done);
}

FrmMain::FrmMain(const ProgramDescription &program, Platform platform)
    : program_(program), platform_(std::move(platform)), messages_(platform_.messages, platform_.trace)
{
    setObjectName(QStringLiteral("frmMain"));
    balloondriver::markOwnWindow(this);
    setWindowTitle(QString::fromUtf8(WindowCaption));
    setFixedSize(toPixels(ClientWidthTwips), toPixels(ClientHeightTwips));
    controls_ = buildWindow(this, program_);
}

FrmMain::~FrmMain() = default;

HostedControl *FrmMain::hosted(const QString &name) const
{
    for (HostedControl *c : {vellix1_.get(), cmd_.get(), msa_.get()})
        if (c && c->name() == name) return c;
    return nullptr;
}

balloondriver::BalloonAccess &FrmMain::balloons()
{
    if (!balloons_)
        balloons_ = std::make_unique<ComponentBalloons>(
            platform_.hosts, [this] { return vellix1_ ? vellix1_->object() : component::ObjectRef(); });
    return *balloons_;
}

bool FrmMain::createControls()
{
    if (platform_.hosts) {
        crashRecovery_ = std::make_unique<CrashRecovery>(CrashRecovery::Platform{
            *platform_.hosts, platform_.trace, messages_, platform_.unattended,
            [this] { return platform_.registry.create(program_.componentClass, storedSettings(program_)); },
            [] { return QDateTime::currentMSecsSinceEpoch(); }});
        platform_.hosts->setHangHandler([this](DispId id, CallKind, int waitedMs) {
            return crashRecovery_->waitOn(memberName(program_.methods, id), waitedMs);
        });
    }
    runEvent([this] {
        auto create = [this](const QString &name, const QString &classId, const NamedValues &stored) {
            hosting::Created created = platform_.registry.create(classId, stored);
            if (!created.object) throw HarnessError(error::CannotCreateObject, created.error);
            qCDebug(lcHarness) << name << "is" << classId << "from" << created.origin;
            return std::make_unique<HostedControl>(name, created.object, platform_.trace);
        };
        vellix1_ = create(QStringLiteral("Vellix1"), program_.componentClass, storedSettings(program_));
        cmd_ = create(QStringLiteral("cmd"), platform::CommonDialogClass, {});
        msa_ = create(QStringLiteral("msa"), platform::AgentClass, {});
    });
    if (terminated_) return false;
    vellix_ = std::make_unique<VellixFacade>(*vellix1_, program_.methods);
    cmdFacade_ = std::make_unique<CommonDialogFacade>(*cmd_);
    msaFacade_ = std::make_unique<AgentFacade>(*msa_);
    context_ = std::make_unique<HarnessContext>(HarnessContext{program_, controls_, state_, *vellix_,
                                                               *cmdFacade_, *msaFacade_, platform_.trace,
                                                               messages_, platform_.speech});
    options_ = std::make_unique<OptionHandlers>(*context_);
    colours_ = std::make_unique<ColourHandlers>(*context_);
    messageActions_ = std::make_unique<MessageActions>(*context_);
    connectEvents();
    return true;
}

bool FrmMain::load()
{
    if (!context_) return false;
    runEvent([this] { Startup(*context_).run(); });
    return !terminated_;
}

void FrmMain::runEvent(const std::function<void()> &handler)
{
    if (terminated_) return;
    // A handler that changes a control in code raises that control's event
    // inside its own, on the same turn of the event loop: its error ends the
    // raising handler too, and is reported there. An event arriving from a
    // nested event loop (a modal dialog's) is an entry of its own, so no error
    // crosses the loop.
    const int loopLevel = QThread::currentThread()->loopLevel();
    if (loopLevel == runningLoopLevel_) {
        handler();
        return;
    }
    const QScopedValueRollback running(runningLoopLevel_, loopLevel);
    // Only what a person did is recorded, not the events it raised in code.
    if (observer_)
        if (QObject *control = sender()) observer_(control);
    try {
        handler();
    } catch (const ComponentCrash &crash) {
        recover(crash);
    } catch (const HarnessError &e) {
        fail(e.number(), e.description());
    } catch (const std::exception &e) {
        fail(error::ComponentFailed, QString::fromUtf8(e.what()));
    }
}

void FrmMain::fail(int32_t number, const QString &description)
{
    terminated_ = true;
    platform_.trace.error(number, description);
    if (platform_.unattended && platform_.unattended()) {
        std::fprintf(stderr, "%s: run-time error %d: %s\n", qPrintable(QCoreApplication::applicationName()),
                     int(number), qPrintable(description));
    } else {
        messages_.show(
            QStringLiteral("Run-time error '%1':\n\n%2").arg(number).arg(elideLongWords(description)),
            dialogs::style::Critical, QCoreApplication::applicationName());
    }
    platform_.terminate(1);
}

void FrmMain::reloadComponent()
{
    if (!crashRecovery_ || !vellix1_) return;
    // Not under a modal call that is still out: its host must stay.
    if (!isEnabled()) {
        QTimer::singleShot(ComponentWatcher::QuietMs, this, [this] { reloadComponent(); });
        return;
    }
    runEvent([this] { crashRecovery_->reload(*vellix1_); });
}

// The handler that made the call ends here, as after a dismissed box; the
// program goes on with the component started again.
void FrmMain::recover(const ComponentCrash &crash)
{
    HostedControl *control = hosted(crash.control);
    try {
        if (crashRecovery_ && control && crashRecovery_->recover(*control, crash)) return;
    } catch (const HarnessError &e) {
        fail(e.number(), e.description());
        return;
    }
    // Nobody is there to read the report (it went to standard error).
    terminated_ = true;
    platform_.terminate(1);
}

void FrmMain::connectEvents()
{
    using GroupHandler = void (OptionHandlers::*)(int16_t);
    const std::pair<const char *, GroupHandler> groups[] = {
        {"optAlignCaptionType", &OptionHandlers::optAlignCaptionType},
        {"optAlignTextType", &OptionHandlers::optAlignTextType},
        {"optBalloonPlace", &OptionHandlers::optBalloonPlace},
        {"optbuttontype", &OptionHandlers::optbuttontype},
        {"optIconType", &OptionHandlers::optIconType},
        {"optMsgType", &OptionHandlers::optMsgType},
    };
    for (const auto &[name, handler] : groups)
        connect(&controls_.group(name), &OptionGroup::clicked, this,
                [this, handler](int16_t index) { runEvent([&] { (options_.get()->*handler)(index); }); });

    using CheckHandler = void (OptionHandlers::*)();
    const std::pair<const char *, CheckHandler> checks[] = {
        {"chkLineSeparator", &OptionHandlers::chkLineSeparator},
        {"chkModal", &OptionHandlers::chkModal},
        {"chkOnTop", &OptionHandlers::chkOnTop},
    };
    for (const auto &[name, handler] : checks)
        connect(&controls_.check(name), &CheckBox::valueChanged, this,
                [this, handler] { runEvent([&] { (options_.get()->*handler)(); }); });

    connect(controls_.cdLanguage, &LanguageList::clicked, this,
            [this] { runEvent([this] { options_->cdLanguage(); }); });

    for (const ColourButton &row : colourButtons())
        connect(&controls_.button(row.button), &QPushButton::clicked, this,
                [this, &row] { runEvent([&] { colours_->pickColour(row); }); });
    connect(&controls_.button("cmbCustomIcon"), &QPushButton::clicked, this,
            [this] { runEvent([this] { colours_->cmbCustomIcon(); }); });
    connect(&controls_.button("cmbMsgShow"), &QPushButton::clicked, this,
            [this] { runEvent([this] { messageActions_->cmbMsgShow(); }); });
    connect(&controls_.button("cmbMsgInput"), &QPushButton::clicked, this,
            [this] { runEvent([this] { messageActions_->cmbMsgInput(); }); });
    connect(&controls_.button("cmbLabelsShow"), &QPushButton::clicked, this,
            [this] { runEvent([this] { messageActions_->cmbLabelsShow(); }); });
}

} // namespace harness
