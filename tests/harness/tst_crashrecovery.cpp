// The window with its component in a host process that crashes: the crash
// costs the one call, is reported once, and the component comes back with
// the options the user had set; repeated crashes stop the restarts.
#include "harness/isolation/componenthosts.h"
#include "harness/isolation/componentwatcher.h"
#include "harnessfixture.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>

#include <cstdio>
#include <signal.h>

using namespace component;
using namespace harness;

namespace
{

// ButtonsType values that make the test component end its process.
constexpr int Segfault = 11, Abort = 12, Exit3 = 13;

QJsonObject json(const QString &line)
{
    return QJsonDocument::fromJson(line.toUtf8()).object();
}

// The trace of a reload: its line first, then the options put again.
bool reloadedWithPlace3(const QStringList &trace)
{
    return !trace.isEmpty() &&
           json(trace.first()).value(QLatin1String("event")).toString() ==
               QLatin1String("component-reloaded") &&
           trace.join(QLatin1Char('\n'))
               .contains(QLatin1String(R"("member":"BalloonPlace","kind":"put","args":[3],"result":null)"));
}

// Puts a new build in place as a linker does: written beside, renamed over.
bool replaceBuild(const QString &file, const QByteArray &bytes)
{
    const QString beside = file + QStringLiteral(".new");
    QFile out(beside);
    if (!out.open(QIODevice::WriteOnly) || out.write(bytes) != bytes.size()) return false;
    out.close();
    return ::rename(QFile::encodeName(beside).constData(), QFile::encodeName(file).constData()) == 0;
}

QByteArray contents(const QString &file)
{
    QFile in(file);
    return in.open(QIODevice::ReadOnly) ? in.readAll() : QByteArray();
}

} // namespace

class TestCrashRecovery : public QObject
{
    Q_OBJECT
    std::unique_ptr<ComponentHosts> hosts;
    std::unique_ptr<HarnessFixture> f;
    std::vector<bool> modalEdges;

    // A fixture whose component comes from folder instead of the ending one.
    void restartWith(const QString &folder)
    {
        f.reset();
        f = std::make_unique<HarnessFixture>(*hosts, folder);
        QVERIFY(f->start());
        f->takeTrace();
    }
    qint64 hostPid() const
    {
        const ComponentProcess *process =
            hosts->processOf(f->window->hosted(QStringLiteral("Vellix1"))->object());
        return process ? process->processId() : 0;
    }

    // BalloonPlace as the component in its host has it.
    std::optional<int32_t> balloonPlace() const
    {
        Args none;
        const Result place = f->window->hosted(QStringLiteral("Vellix1"))
                                 ->object()
                                 ->invoke(prop::BalloonPlace, CallKind::PropertyGet, none);
        return place.ok() ? asLong(place.value()) : std::nullopt;
    }

    void show(int buttonsType)
    {
        f->window->controls().group("optbuttontype").select(int16_t(buttonsType));
        QTest::mouseClick(&f->window->controls().button("cmbMsgShow"), Qt::LeftButton);
    }

  private slots:
    void init()
    {
        ComponentProcess::Settings settings;
        settings.hostProgram = QStringLiteral(HOST_PROGRAM);
        settings.hangTimeoutMs = 200;
        hosts = std::make_unique<ComponentHosts>(settings);
        modalEdges.clear();
        hosts->setModalPolicy(modalPolicy(fennick().methods, [this](bool entering) {
            modalEdges.push_back(entering);
            f->window->setEnabled(!entering);
        }));
        f = std::make_unique<HarnessFixture>(*hosts, QStringLiteral(ENDING_COMPONENT_DIR));
        QVERIFY(f->start());
        f->takeTrace();
    }
    void cleanup()
    {
        f.reset(); // the window's controls before their processes
        hosts.reset();
    }

    void aCrashCostsOneCall_data()
    {
        QTest::addColumn<int>("buttonsType");
        QTest::addColumn<QString>("end");
        // Under the address sanitizer a segfault ends by its report's abort.
        QTest::newRow("segfault") << Segfault << QStringLiteral("signal SIG(SEGV|ABRT)|exit code 1");
        QTest::newRow("abort") << Abort << QStringLiteral("signal SIGABRT");
        QTest::newRow("exit(3)") << Exit3 << QStringLiteral("exit code 3");
    }
    void aCrashCostsOneCall()
    {
        QFETCH(int, buttonsType);
        QFETCH(QString, end);
        f->window->controls().group("optBalloonPlace").button(3)->click();
        f->takeTrace();

        show(buttonsType);
        QVERIFY(!f->exitCode);
        QCOMPARE(f->boxes.boxes.size(), size_t(1));
        const auto &box = f->boxes.boxes.front();
        QCOMPARE(box.title, QStringLiteral("Component crashed"));
        QVERIFY2(box.text.contains(QLatin1String("endingcomponent")), qPrintable(box.text));
        QVERIFY2(box.text.contains(QLatin1String("ShowVellix(")), qPrintable(box.text));
        QVERIFY2(box.text.contains(QRegularExpression(end)), qPrintable(box.text));
        QVERIFY(f->window->isEnabled());

        // One crash line, then the options put again, as at start-up.
        const QStringList trace = f->takeTrace();
        QVERIFY(!trace.isEmpty());
        const QJsonObject crash = json(trace.first());
        QCOMPARE(crash.value(QLatin1String("event")).toString(), QStringLiteral("component-crashed"));
        QCOMPARE(crash.value(QLatin1String("member")).toString(), QStringLiteral("ShowVellix"));
        QVERIFY(QRegularExpression(end).match(crash.value(QLatin1String("end")).toString()).hasMatch());
        QVERIFY(
            trace.join(QLatin1Char('\n'))
                .contains(QLatin1String(R"("member":"BalloonPlace","kind":"put","args":[3],"result":null)")));

        // The next call reaches the new process and shows the answer.
        show(0);
        QVERIFY(!f->exitCode);
        QCOMPARE(f->boxes.boxes.size(), size_t(2));
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
        // The modal call kept the window from input while it was out.
        QCOMPARE(modalEdges, (std::vector<bool>{true, false, true, false}));
    }

    void threeCrashesWithinAMinuteStopTheRestarts()
    {
        f->boxes.answers = {1, 1, 7, 6};
        show(Segfault);
        show(Segfault);
        show(Segfault);
        QCOMPARE(f->boxes.boxes.size(), size_t(3));
        QCOMPARE(f->boxes.boxes[1].style & 0xF, 0);
        QVERIFY(f->boxes.boxes[2].style & 4); // Yes/No: start again?
        QVERIFY(f->boxes.boxes[2].text.contains(QLatin1String("3 times within a minute")));

        // Left stopped: the report comes again at once, and Yes starts it.
        f->takeTrace();
        show(0);
        QCOMPARE(f->boxes.boxes.size(), size_t(4));
        QVERIFY(f->boxes.boxes[3].text.contains(QLatin1String("ShowVellix(")));
        QVERIFY(f->boxes.boxes[3].text.contains(QLatin1String("Start the component again?")));
        QVERIFY(!f->takeTrace().join(QLatin1Char('\n')).contains(QLatin1String("component-crashed")));
        show(0);
        QCOMPARE(f->boxes.boxes.size(), size_t(5));
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
        QVERIFY(!f->exitCode);
    }

    // A hang is asked about: waiting on keeps it, No ends it as a crash.
    void aHangingPropertyIsEndedWhenTheUserSaysSo()
    {
        f->window->controls().group("optBalloonPlace").button(2)->click();
        f->boxes.answers = {6, 7};
        f->window->controls().group("optBalloonPlace").button(4)->click();
        QVERIFY(!f->exitCode);
        QCOMPARE(f->boxes.boxes.size(), size_t(3));
        QCOMPARE(f->boxes.boxes[0].title, QStringLiteral("Component not answering"));
        QVERIFY(f->boxes.boxes[0].text.contains(QLatin1String("BalloonPlace for 0.2 seconds")));
        QCOMPARE(f->boxes.boxes[2].title, QStringLiteral("Component crashed"));
        QVERIFY2(
            f->boxes.boxes[2].text.contains(QLatin1String("setting BalloonPlace = 4: it stopped answering")),
            qPrintable(f->boxes.boxes[2].text));
        // Started again with the place that was set before, not the one that hung.
        const QString trace = f->takeTrace().join(QLatin1Char('\n'));
        QVERIFY(trace.contains(
            QLatin1String(R"("member":"BalloonPlace","kind":"put","args":[2],"result":null)")));
        show(0);
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
    }

    void aNewBuildTakesOverWithTheOptions()
    {
        f->window->controls().group("optBalloonPlace").button(3)->click();
        f->takeTrace();
        f->window->reloadComponent();
        QVERIFY(f->boxes.boxes.empty()); // a reload is expected: no box
        QVERIFY(reloadedWithPlace3(f->takeTrace()));
        show(0);
        QCOMPARE(f->boxes.boxes.size(), size_t(1));
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
    }

    void aBuildThatFailsToLoadLeavesTheOldOneRunning_data()
    {
        QTest::addColumn<QByteArray>("build");
        QTest::addColumn<QString>("why");
        QTest::newRow("not a plugin") << QByteArray("\x7f"
                                                    "ELF, but not really")
                                      << QStringLiteral("pVellix.Vellix");
        QTest::newRow("a plugin of another class")
            << contents(QStringLiteral(BROKEN_COMPONENT)) << QStringLiteral("pVellix.Vellix");
        // Found by its metadata, refused by the dynamic loader in the new host.
        QTest::newRow("a plugin that cannot be loaded")
            << contents(QStringLiteral(BROKEN_BALLOON))
            << QStringLiteral("harness_test_symbol_nobody_defines");
    }
    void aBuildThatFailsToLoadLeavesTheOldOneRunning()
    {
        QFETCH(QByteArray, build);
        QFETCH(QString, why);
        QVERIFY(!build.isEmpty());
        QTemporaryDir dir;
        const QString file = dir.filePath(QFileInfo(QStringLiteral(ENDING_COMPONENT)).fileName());
        QVERIFY(QFile::copy(QStringLiteral(ENDING_COMPONENT), file));
        restartWith(dir.path());
        f->window->controls().group("optBalloonPlace").button(3)->click();
        const qint64 before = hostPid();
        QVERIFY(before > 0);
        f->takeTrace();

        QVERIFY(replaceBuild(file, build));
        f->window->reloadComponent();
        QVERIFY(!f->exitCode);
        QCOMPARE(f->boxes.boxes.size(), size_t(1));
        QCOMPARE(f->boxes.boxes.front().title, QStringLiteral("Component not reloaded"));
        const QString &text = f->boxes.boxes.front().text;
        QVERIFY2(text.contains(QLatin1String("the previous one keeps running")), qPrintable(text));
        QVERIFY2(text.contains(why), qPrintable(text));
        QVERIFY(!f->takeTrace().join(QLatin1Char('\n')).contains(QLatin1String("component-reloaded")));

        // The next call is answered by the old build, which kept its options.
        QCOMPARE(hostPid(), before);
        show(0);
        QCOMPARE(f->boxes.boxes.size(), size_t(2));
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
        QCOMPARE(balloonPlace(), std::optional<int32_t>(3));
    }

    // The reference balloon, modeless, is on the screen of the old host when
    // the new build takes over: it goes with its host, and the next balloon
    // is the new host's, with the options set before.
    void aReloadWhileAModelessBalloonIsUp()
    {
        restartWith(QStringLiteral(REFERENCE_COMPONENT_DIR));
        f->window->controls().check("chkModal").setValue(0);
        f->window->controls().group("optBalloonPlace").button(3)->click();
        show(0);
        const QString refused = QStringLiteral("Window of the message already on the screen.");
        QCOMPARE(f->boxes.boxes.size(), size_t(1));
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
        show(0); // the first balloon is still up
        QCOMPARE(f->boxes.boxes.back().text, refused);
        const qint64 old = hostPid();
        QVERIFY(old > 0);
        f->takeTrace();

        f->window->reloadComponent();
        QVERIFY(!f->exitCode);
        QCOMPARE(f->boxes.boxes.size(), size_t(2)); // a reload is expected: no box
        QVERIFY(reloadedWithPlace3(f->takeTrace()));
        // The old host has ended (and was waited for), its balloon with it.
        QVERIFY(hostPid() != old);
        QCOMPARE(::kill(pid_t(old), 0), -1);

        // Not refused: the new host has no balloon up yet.
        show(0);
        QCOMPARE(f->boxes.boxes.size(), size_t(3));
        QCOMPARE(f->boxes.boxes.back().text, QStringLiteral("0"));
        QCOMPARE(balloonPlace(), std::optional<int32_t>(3));
    }

    // A linker's write-and-rename is one new build; other files are not.
    void theWatcherSeesARebuildOnce()
    {
        QTemporaryDir dir;
        const QString file = dir.filePath(QStringLiteral("component.so"));
        auto write = [](const QString &path, const QByteArray &bytes) {
            QFile out(path);
            QVERIFY(out.open(QIODevice::WriteOnly));
            out.write(bytes);
        };
        write(file, "first build");
        int rebuilt = 0;
        const ComponentWatcher watcher(file, [&rebuilt] { ++rebuilt; });
        write(dir.filePath(QStringLiteral("notes.txt")), "unrelated");
        QTest::qWait(ComponentWatcher::QuietMs * 2);
        QCOMPARE(rebuilt, 0);
        write(dir.filePath(QStringLiteral("component.so.tmp")), "second build, longer");
        QVERIFY(QFile::remove(file));
        QVERIFY(QFile::rename(dir.filePath(QStringLiteral("component.so.tmp")), file));
        QTRY_COMPARE(rebuilt, 1);
        QTest::qWait(ComponentWatcher::QuietMs * 2);
        QCOMPARE(rebuilt, 1);
    }

    void unattendedACrashEndsTheRun()
    {
        f->unattended = true;
        show(Exit3);
        QCOMPARE(f->exitCode, std::optional<int>(1));
        QVERIFY(f->boxes.boxes.empty());
        QCOMPARE(json(f->takeTrace().first()).value(QLatin1String("event")).toString(),
                 QStringLiteral("component-crashed"));
    }
};

QTEST_MAIN(TestCrashRecovery)
#include "tst_crashrecovery.moc"
