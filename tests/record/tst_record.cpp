// Recording a session on the window and replaying it: a scripted person with
// the reference component, a component that answers otherwise, recordings
// that cannot be replayed, and a component that never answers.
#include "harness/record/recorder.h"
#include "harness/record/replayer.h"
#include "harness/record/watchdog.h"
#include "platform/balloondriver/balloondriver.h"
#include "platform/balloondriver/localballoonaccess.h"
#include "sessionrig.h"

#include <QRadioButton>
#include <QtTest>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <thread>

using namespace harness::record;
using balloondriver::BalloonDriver;

namespace
{

// Answers the modal balloon that comes up while it lives, through the
// shared driver, as a person would.
struct Answering {
    explicit Answering(balloondriver::ModalAnswerer::Answer answer) : answerer(driver, std::move(answer)) {}
    bool answered() const { return answerer.appeared() && answerer.answerError().isEmpty(); }
    BalloonDriver driver; // made first: it remembers the windows already up
    balloondriver::ModalAnswerer answerer;
};

struct Outcome {
    int code = -1;
    QString out, err;
};

// Replays a recording on a fresh window until its last event or its failure.
Outcome replay(const QByteArray &recordingText, SessionRig::ComponentFactory component, int stepMs = 10000)
{
    QString error;
    std::optional<Recording> recording = parseRecording(recordingText, &error);
    if (!recording) return {2, {}, error};
    Replayer replayer(std::move(*recording), Replayer::Limits{stepMs, false});
    SessionRig rig(std::move(component), replayer.dialogs(), replayer.messages(),
                   [&](const QString &line) { replayer.traceLine(line); });
    if (!replayer.check(QStringLiteral("fennick"), rig.controls(), &error)) return {2, {}, error};
    QEventLoop loop;
    balloondriver::LocalBalloonAccess balloons;
    replayer.start(rig.controls(), balloons, [&] { loop.quit(); });
    loop.exec();
    Outcome outcome;
    QTextStream out(&outcome.out), err(&outcome.err);
    outcome.code = replayer.finish(out, err);
    return outcome;
}

QByteArray lines(std::initializer_list<const char *> body, bool ended = true)
{
    QByteArray text = R"({"recording":"balloon harness session","version":1,"program":"fennick"})"
                      "\n";
    for (const char *line : body)
        text += QByteArray(line) + '\n';
    if (ended) text += "{\"end\":\"session\"}\n";
    return text;
}

// The line number of the first line holding every piece.
int lineWith(const QByteArray &text, const QList<QByteArray> &pieces)
{
    const QList<QByteArray> all = text.split('\n');
    for (qsizetype i = 0; i < all.size(); ++i)
        if (std::all_of(pieces.begin(), pieces.end(),
                        [&](const QByteArray &p) { return all[i].contains(p); }))
            return int(i) + 1;
    return 0;
}

} // namespace

class TestRecord : public QObject
{
    Q_OBJECT
  private slots:
    void initTestCase();
    void replaysWhatWasRecorded();
    void reportsTheFirstDifference();
    void badRecordingNamesTheLine_data();
    void badRecordingNamesTheLine();
    void cutRecordingReadsUpToItsLastWholeLine_data();
    void cutRecordingReadsUpToItsLastWholeLine();
    void unknownControlNamesTheLine_data();
    void unknownControlNamesTheLine();
    void unansweredBalloonIsClosed();
    void watchdogEndsABlockedProcess();
    // Last: a failed replay leaves every event loop for good, as it ends the program.
    void stepThatNeverReturnsFailsInTime();

  private:
    QByteArray session_; // recorded in initTestCase
};

// A person's session: texts typed, options chosen, a colour picked, the
// icon dialog cancelled, each kind of balloon answered its own way, the
// language changed, and a modeless balloon left up while showing another.
void TestRecord::initTestCase()
{
    auto buffer = std::make_unique<QBuffer>();
    buffer->open(QIODevice::WriteOnly);
    QBuffer *written = buffer.get();
    Recorder recorder(std::move(buffer), QStringLiteral("fennick"));
    fakes::ScriptedDialogs person;
    person.fileAnswers = {std::nullopt, std::nullopt}; // start-up's character, then the icon
    person.colourAnswers = {QColor(0x12, 0x34, 0x56)};
    fakes::RecordingMessageBoxes shown;
    RecordingDialogs dialogs(person, recorder);
    RecordingMessageBoxes boxes(shown, recorder);
    SessionRig rig(SessionRig::reference(), dialogs, boxes,
                   [&](const QString &line) { recorder.traceLine(line); });
    balloondriver::LocalBalloonAccess balloons;
    recorder.watch(rig.controls(), balloons);
    rig.window->setEventObserver([&](QObject *control) { recorder.controlEvent(control); });
    harness::Controls &c = rig.controls();

    c.txtCaption->setText(QStringLiteral("Shall we?"));
    c.groups.at(QStringLiteral("optbuttontype"))->button(14)->click(); // Yes, No
    c.groups.at(QStringLiteral("optIconType"))->button(4)->click();
    {
        Answering answer([](QWidget *b) {
            return BalloonDriver::pressButtonCaptioned(b, {QStringLiteral("No"), QStringLiteral("Нет")});
        });
        c.buttons.at(QStringLiteral("cmbMsgShow"))->click();
        QVERIFY(answer.answered());
    }
    c.buttons.at(QStringLiteral("cmbBackColor"))->click();
    c.buttons.at(QStringLiteral("cmbCustomIcon"))->click();
    c.groups.at(QStringLiteral("optbuttontype"))->button(8)->click(); // Ok, Cancel
    {
        Answering answer([](QWidget *b) {
            const QString missing = BalloonDriver::typeText(b, QStringLiteral("naïve ✓"));
            return missing.isEmpty() ? BalloonDriver::pressButtonCaptioned(
                                           b, {QStringLiteral("Cancel"), QStringLiteral("Отмена")})
                                     : missing;
        });
        c.buttons.at(QStringLiteral("cmbMsgInput"))->click();
        QVERIFY(answer.answered());
    }
    c.txtText->setText(QStringLiteral("first\r\nsecond\r\nthird"));
    {
        Answering answer([](QWidget *b) {
            // Keys go where the keyboard focus is: the labels.
            for (Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Return})
                QTest::keyClick(b->focusWidget() ? b->focusWidget() : b, key);
            return QString();
        });
        c.buttons.at(QStringLiteral("cmbLabelsShow"))->click();
        QVERIFY(answer.answered());
    }
    c.cdLanguage->setCurrentIndex(0);
    emit c.cdLanguage->activated(0); // Russian
    c.checks.at(QStringLiteral("chkModal"))->click();
    const BalloonDriver modeless;
    c.buttons.at(QStringLiteral("cmbMsgShow"))->click(); // modeless: stays up
    c.buttons.at(QStringLiteral("cmbMsgShow"))->click(); // refused while it is up
    QVERIFY(modeless.balloon());
    modeless.balloon()->close();
    c.checks.at(QStringLiteral("chkModal"))->click();
    {
        Answering answer([](QWidget *b) {
            return BalloonDriver::pressButtonCaptioned(b, {QStringLiteral("Ok"), QStringLiteral("ОК")});
        });
        c.buttons.at(QStringLiteral("cmbMsgShow"))->click();
        QVERIFY(answer.answered());
    }
    recorder.end();
    session_ = written->data();

    // What a replay needs is there.
    QVERIFY(session_.contains(R"({"control":"txtCaption","do":"type","text":"Shall we?"})"));
    QVERIFY(session_.contains(R"({"answer":"balloon","button":7,"label":-1,"text":""})"));
    QVERIFY(session_.contains(R"({"answer":"balloon","button":2,"label":-1,"text":"naïve ✓"})"));
    QVERIFY(session_.contains(R"({"answer":"balloon","button":1,"label":2,"text":""})"));
    QVERIFY(session_.contains(R"({"answer":"colour","colour":"#123456"})"));
    QVERIFY(session_.contains(R"({"balloon":true,"control":"cmbMsgShow","do":"click"})"));
    QVERIFY(session_.contains(R"({"control":"cdLanguage","do":"pick","index":0})"));
    QVERIFY(session_.contains(R"({"control":"chkModal","do":"check","value":0})"));
    QVERIFY(session_.contains(R"({"trace":{"event":"messagebox","title":null,"style":0,"text":"7"}})"));
    QVERIFY(session_.endsWith("{\"end\":\"session\"}\n"));
}

void TestRecord::replaysWhatWasRecorded()
{
    const Outcome o = replay(session_, SessionRig::reference());
    QVERIFY2(o.code == 0, qPrintable(o.out + o.err));
    QVERIFY(o.out.startsWith(QLatin1String("Replay matches the recording: ")));
    QVERIFY2(o.err.isEmpty(), qPrintable(o.err));
}

void TestRecord::reportsTheFirstDifference()
{
    // Answers Yes where the reference answers No.
    const Outcome o = replay(session_, SessionRig::answeringOtherwise(7, 6));
    QCOMPARE(o.code, 1);
    const int line = lineWith(session_, {R"("member":"ShowVellix")", R"("result":{"Button":7)"});
    QVERIFY(line > 0);
    QVERIFY2(o.out.contains(QStringLiteral("(recording line %1):").arg(line)), qPrintable(o.out));
    QVERIFY2(o.out.contains(QLatin1String(R"("Button":7)")) && o.out.contains(QLatin1String(R"("Button":6)")),
             qPrintable(o.out));
}

void TestRecord::badRecordingNamesTheLine_data()
{
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<QString>("error");
    const char *click = R"({"do":"click","control":"cmbMsgShow"})";
    QTest::newRow("not JSON") << lines({click, "{\"do\":"}) << "line 3: not a JSON object";
    QTest::newRow("a JSON array") << lines({"[1,2]"}) << "line 2: not a JSON object (a JSON array)";
    QTest::newRow("empty file") << QByteArray() << "line 1: the recording is cut short (truncated)";
    QTest::newRow("lines after the end") << lines({}) + click + '\n' << "line 3: lines after the end";
    QTest::newRow("not a recording") << QByteArray("{\"event\":\"ready\"}\n{\"end\":\"session\"}\n")
                                     << "line 1: not a session recording";
    QTest::newRow("newer version")
        << QByteArray(R"({"recording":"balloon harness session","version":2,"program":"fennick"})"
                      "\n")
        << "line 1: recording version 2 is not supported; this program reads version 1";
    QTest::newRow("unknown action") << lines({R"({"do":"drag","control":"cmbMsgShow"})"})
                                    << "line 2: unknown action \"drag\"";
    QTest::newRow("unknown answer") << lines({R"({"answer":"font"})"}) << "line 2: unknown answer \"font\"";
    QTest::newRow("unknown entry") << lines({R"({"note":1})"}) << "line 2: unknown entry";
    QTest::newRow("index missing") << lines({R"({"do":"select","control":"optIconType"})"})
                                   << "line 2: \"index\" is missing";
    QTest::newRow("index not a number") << lines({R"({"do":"pick","control":"cdLanguage","index":"1"})"})
                                        << "line 2: \"index\" must be a whole number";
    QTest::newRow("check value 2") << lines({R"({"do":"check","control":"chkModal","value":2})"})
                                   << "line 2: \"value\" must be 0 or 1";
    QTest::newRow("not a colour") << lines({R"({"answer":"colour","colour":"#12345"})"})
                                  << "line 2: \"#12345\" is not a colour";
    QTest::newRow("trace not an object")
        << lines({R"({"trace":"x"})"}) << "line 2: \"trace\" must be an object";
}

void TestRecord::badRecordingNamesTheLine()
{
    QFETCH(QByteArray, recording);
    QFETCH(QString, error);
    QString why;
    QVERIFY(!parseRecording(recording, &why));
    QVERIFY2(why.startsWith(error), qPrintable(why));
}

// What a harness ended from outside leaves: no end line, perhaps half a line.
void TestRecord::cutRecordingReadsUpToItsLastWholeLine_data()
{
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<int>("lastWhole");
    QTest::addColumn<int>("events");
    const char *click = R"({"do":"click","control":"cmbMsgShow"})";
    QTest::newRow("cut mid-line") << lines({click}, false) + R"({"answer":"ball)" << 2 << 1;
    QTest::newRow("no end line") << lines({click, click}, false) << 3 << 2;
    QTest::newRow("header only") << lines({}, false) << 1 << 0;
}

void TestRecord::cutRecordingReadsUpToItsLastWholeLine()
{
    QFETCH(QByteArray, recording);
    QFETCH(int, lastWhole);
    QFETCH(int, events);
    QString why;
    const std::optional<Recording> parsed = parseRecording(recording, &why);
    QVERIFY2(parsed, qPrintable(why));
    QCOMPARE(parsed->cutAfterLine, std::optional<int>(lastWhole));
    QCOMPARE(int(parsed->events.size()), events);
    QVERIFY(!parseRecording(lines({}), &why)->cutAfterLine);
}

void TestRecord::unknownControlNamesTheLine_data()
{
    QTest::addColumn<QByteArray>("recording");
    QTest::addColumn<QString>("error");
    QTest::newRow("no such button") << lines({R"({"do":"click","control":"cmbExplode"})"})
                                    << R"(line 2: unknown control "cmbExplode" for "click")";
    QTest::newRow("a group clicked as a button") << lines({R"({"do":"click","control":"optIconType"})"})
                                                 << R"(line 2: unknown control "optIconType" for "click")";
    QTest::newRow("typed into a button") << lines({R"({"do":"type","control":"cmbMsgShow","text":"x"})"})
                                         << R"(line 2: unknown control "cmbMsgShow" for "type")";
    QTest::newRow("no such option") << lines({R"({"do":"select","control":"optMsgType","index":5})"})
                                    << "line 2: optMsgType has no button 5";
    QTest::newRow("other program")
        << QByteArray(R"({"recording":"balloon harness session","version":1,"program":"morrowby"})"
                      "\n{\"end\":\"session\"}\n")
        << "line 1: recorded with morrowby, not fennick";
}

void TestRecord::unknownControlNamesTheLine()
{
    QFETCH(QByteArray, recording);
    QFETCH(QString, error);
    const Outcome o = replay(recording, SessionRig::reference());
    QCOMPARE(o.code, 2);
    QCOMPARE(o.err, error);
}

// A modal call that shows nothing and spins its own event loop for ever.
void TestRecord::stepThatNeverReturnsFailsInTime()
{
    const auto hanging = [](const component::NamedValues &stored) {
        auto c = std::make_shared<fakes::RecordingComponent>(harness::fennick().methods, stored);
        c->onMethod = [](component::Method, component::Args &) {
            QEventLoop().exec();
            return component::Value(component::MsgResult{});
        };
        return c;
    };
    const QByteArray recording = lines({R"({"do":"click","control":"cmbMsgShow"})",
                                        R"({"answer":"balloon","button":1,"text":"","label":-1})"});
    const Outcome o = replay(recording, hanging, 200);
    QCOMPARE(o.code, 2);
    QCOMPARE(o.err, QStringLiteral("replay: line 2: the step did not finish within 200 ms: no balloon to "
                                   "answer appeared, or the component did not return\n"));
}

// A balloon the recording never saw (here: the recorded one was modeless)
// is closed, and the replay goes on to tell the difference.
void TestRecord::unansweredBalloonIsClosed()
{
    QByteArray modalNow = session_;
    // The option is selected already: the balloons stay modal.
    modalNow.replace(R"({"control":"chkModal","do":"check","value":0})",
                     R"({"control":"optMsgType","do":"select","index":0})");
    const Outcome o = replay(modalNow, SessionRig::reference());
    QCOMPARE(o.code, 1);
    QVERIFY2(o.err.contains(QLatin1String("a balloon the recording has no answer for; closed it")),
             qPrintable(o.err));
}

// A component that blocks without an event loop: only the watchdog's thread
// sees it. In a child process, since it ends the process.
void TestRecord::watchdogEndsABlockedProcess()
{
    int err[2];
    QVERIFY(pipe(err) == 0);
    const pid_t child = fork();
    QVERIFY(child >= 0);
    if (child == 0) {
        dup2(err[1], STDERR_FILENO);
        Watchdog watchdog(50);
        watchdog.enter(7);
        std::this_thread::sleep_for(std::chrono::seconds(5));
        _exit(0);
    }
    close(err[1]);
    int status = 0;
    QCOMPARE(waitpid(child, &status, 0), child);
    char text[200] = {};
    QVERIFY(read(err[0], text, sizeof text - 1) > 0);
    close(err[0]);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 2);
    QCOMPARE(QString::fromUtf8(text),
             QStringLiteral("replay: line 7: the component did not return within 50 ms; giving up\n"));
}

QTEST_MAIN(TestRecord)
#include "tst_record.moc"
