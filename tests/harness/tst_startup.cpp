// Start-up against a recording component: the exact calls, in order, and how
// a failure at start-up ends the program.
#include "harnessfixture.h"

#include "harness/controls/controltable.h"

#include <QtTest>

using namespace component;

namespace
{

QStringList expectedStartup(const QString &load)
{
    return {
        QStringLiteral(R"(cmd put DialogTitle ["Select the file with the character..."])"),
        QStringLiteral(R"(cmd put Filter ["Files of the characters|*.acs"])"),
        QStringLiteral("cmd method ShowOpen"),
        QStringLiteral(R"(cmd get FileName -> %1)")
            .arg(load.isEmpty() ? QStringLiteral(R"("")") : QLatin1Char('"') + load + QLatin1Char('"')),
        load.isEmpty() ? QStringLiteral(R"(msa method Characters.Load ["Default"])")
                       : QStringLiteral(R"(msa method Characters.Load ["Default","%1"])").arg(load),
        QStringLiteral(R"(msa method Characters.Character ["Default"])"),
        QStringLiteral("msa put Character.Top [300]"),
        QStringLiteral("msa put Character.Left [400]"),
        QStringLiteral("msa method Character.Show"),
        QStringLiteral("Vellix1 get VAlignmentCaption -> 2"),
        QStringLiteral("Vellix1 put VAlignmentCaption [2]"),
        QStringLiteral("Vellix1 get HAlignmentText -> 0"),
        QStringLiteral("Vellix1 put HAlignmentText [0]"),
        QStringLiteral("Vellix1 get BalloonPlace -> 0"),
        QStringLiteral("Vellix1 put BalloonPlace [0]"),
        QStringLiteral("Vellix1 get BalloonColor -> 14811135"),
        QStringLiteral("Vellix1 get CaptionColor -> 0"),
        QStringLiteral("Vellix1 get TextColor -> 0"),
        QStringLiteral("Vellix1 get FrameColor -> 4934475"),
        QStringLiteral("Vellix1 get LineColor -> 14737632"),
        QStringLiteral("Vellix1 get ButtonColor -> 14811135"),
        QStringLiteral("Vellix1 get ButtonCaptionColor -> 0"),
        QStringLiteral("Vellix1 get LineSeparator -> true"),
        QStringLiteral("Vellix1 put LineSeparator [true]"),
        QStringLiteral(R"(Vellix1 putref Character ["<object>"])"),
        QStringLiteral("Vellix1 put Language [200]"),
    };
}

const harness::ProgramDescription &programNamed(const QString &name)
{
    return name == QLatin1String("morrowby") ? harness::morrowby() : harness::fennick();
}

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT
  private slots:
    void exactCalls_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("chosenFile");
        QTest::newRow("fennick, dialog cancelled") << "fennick"
                                                   << "";
        QTest::newRow("fennick, character chosen") << "fennick"
                                                   << "/data/robby.acs";
        QTest::newRow("morrowby, dialog cancelled") << "morrowby"
                                                    << "";
        QTest::newRow("morrowby, Cyrillic file name") << "morrowby"
                                                      << "/данные/робби.acs";
    }
    void exactCalls()
    {
        QFETCH(QString, program);
        QFETCH(QString, chosenFile);
        HarnessFixture f(programNamed(program));
        if (!chosenFile.isEmpty()) f.dialogs.fileAnswers.push_back(chosenFile);
        QVERIFY(f.start());
        QCOMPARE(f.takeCalls(), expectedStartup(chosenFile));
        QVERIFY(f.boxes.boxes.empty());
        QCOMPARE(f.dialogs.fileDialogs.size(), size_t(1));
        QCOMPARE(f.dialogs.fileDialogs[0].filter, QStringLiteral("Files of the characters (*.acs)"));
    }

    void controlsShowTheComponentsSettings()
    {
        HarnessFixture f(harness::morrowby());
        QVERIFY(f.start());
        harness::Controls &c = f.window->controls();
        QVERIFY(c.group("optAlignCaptionType").isSelected(2));
        QVERIFY(c.group("optAlignTextType").isSelected(0));
        QVERIFY(c.group("optBalloonPlace").isSelected(0));
        QVERIFY(c.group("optMsgType").isSelected(0));
        QVERIFY(c.group("optIconType").isSelected(0));
        QVERIFY(c.group("optbuttontype").isSelected(0));
        QCOMPARE(c.check("chkLineSeparator").value(), 1);
        QCOMPARE(c.cdLanguage->currentText(), QStringLiteral("English"));
        QCOMPARE(c.cdLanguage->count(), 2);
        QCOMPARE(c.cdLanguage->itemText(0), QStringLiteral("Русский"));
        QCOMPARE(harness::swatchColor(c.swatch("lblBackColor")), 0x00E1FFFF);
        QCOMPARE(harness::swatchColor(c.swatch("lblFrameColor")), 0x004B4B4B);
        QCOMPARE(c.txtCaption->text(), QStringLiteral("It is heading of a window"));
        QCOMPARE(c.txtText->text(), QStringLiteral("This is simple message, which should appear\r\n"
                                                   "on your screen. The sizes of a window are\r\n"
                                                   "automatically selected, proceeding from that text,\r\n"
                                                   "which needs to be displayed on the screen"));
        // Morrowby keeps Vellix1 elsewhere in its frame and stores English.
        QCOMPARE(c.hostSites.at(QStringLiteral("Vellix1"))->pos(), QPoint(32, 36));
        QCOMPARE(f.component->values.at(prop::Language), Value(int32_t(200)));
        const harness::HarnessState &s = f.window->state();
        QCOMPARE(s.ButtonsType, Value(int32_t(0)));
        QCOMPARE(s.ModalFlag, Value(Bool::of(true)));
        QCOMPARE(s.OnTopFlag, Value(Bool::of(true)));
        QVERIFY(s.AgentCharacter == f.agent->character);
    }

    // A separator stored as false leaves the box unchecked and the component unwritten.
    void separatorStoredOff()
    {
        HarnessFixture f(harness::fennick(), [](fakes::RecordingComponent &c) {
            c.values[prop::LineSeparator] = Bool::of(false);
        });
        QVERIFY(f.start());
        QCOMPARE(f.window->controls().check("chkLineSeparator").value(), 0);
        QVERIFY(!f.takeCalls().contains(QLatin1String("Vellix1 put LineSeparator [false]")));
    }

    void failuresEndTheProgram_data()
    {
        QTest::addColumn<std::function<void(HarnessFixture &)>>("breakIt");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("descriptionPart");
        QTest::newRow("character file refused")
            << std::function<void(HarnessFixture &)>([](HarnessFixture &f) {
                   f.dialogs.fileAnswers.push_back(QStringLiteral("/data/broken.acs"));
                   f.agent->refuseFiles = true;
               })
            << 440 << "Cannot load the character \"/data/broken.acs\"";
        QTest::newRow("unknown identifier") << std::function<void(HarnessFixture &)>([](HarnessFixture &f) {
            f.component->unsupported.insert(prop::HAlignmentText);
        }) << 438 << "Object doesn't support this property or method";
        QTest::newRow("alignment without a button")
            << std::function<void(HarnessFixture &)>(
                   [](HarnessFixture &f) { f.component->values[prop::VAlignmentCaption] = int32_t(3); })
            << 340 << "Control array element '3' doesn't exist";
        QTest::newRow("position without a button")
            << std::function<void(HarnessFixture &)>(
                   [](HarnessFixture &f) { f.component->values[prop::BalloonPlace] = int32_t(-1); })
            << 340 << "Control array element '-1' doesn't exist";
        // Start-up's selection raises the group's event; its error ends start-up there.
        QTest::newRow("position refused in the event start-up raises")
            << std::function<void(HarnessFixture &)>(
                   [](HarnessFixture &f) { f.component->refusedPuts.insert(prop::BalloonPlace); })
            << 380 << "Invalid property value";
        QTest::newRow("value of the wrong type")
            << std::function<void(HarnessFixture &)>([](HarnessFixture &f) {
                   f.component->values[prop::BalloonColor] = QStringLiteral("yellow");
               })
            << 13 << "Type mismatch";
    }
    void failuresEndTheProgram()
    {
        QFETCH(std::function<void(HarnessFixture &)>, breakIt);
        QFETCH(int, number);
        QFETCH(QString, descriptionPart);
        HarnessFixture f;
        QVERIFY(f.window->createControls());
        breakIt(f);
        QVERIFY(!f.window->load());
        QCOMPARE(f.exitCode, std::optional<int>(1));
        QCOMPARE(f.boxes.boxes.size(), size_t(1));
        const auto &box = f.boxes.boxes.front();
        QVERIFY2(box.text.startsWith(QStringLiteral("Run-time error '%1':\n\n").arg(number)),
                 qPrintable(box.text));
        QVERIFY2(box.text.contains(descriptionPart), qPrintable(box.text));
        QCOMPARE(box.style, 16);
        const QStringList trace = f.takeTrace();
        QVERIFY(trace.size() >= 2);
        QVERIFY(trace[trace.size() - 2].startsWith(
            QStringLiteral("{\"event\":\"error\",\"number\":%1,").arg(number)));
        QVERIFY(trace.last().startsWith(QLatin1String("{\"event\":\"messagebox\"")));
        // After the report nothing else runs.
        f.window->runEvent([] { QFAIL("a handler ran after the program ended"); });
    }

    void unattendedFailureShowsNoBox()
    {
        HarnessFixture f;
        f.unattended = true;
        QVERIFY(f.window->createControls());
        f.dialogs.fileAnswers.push_back(QStringLiteral("/data/broken.acs"));
        f.agent->refuseFiles = true;
        QVERIFY(!f.window->load());
        QCOMPARE(f.exitCode, std::optional<int>(1));
        QVERIFY(f.boxes.boxes.empty());
        QVERIFY(f.takeTrace().last().startsWith(QLatin1String("{\"event\":\"error\",\"number\":440,")));
    }

    void longPathIsShortenedInTheBoxOnly()
    {
        const QString path =
            QStringLiteral("/data/") + QString(80, QLatin1Char('c')) + QStringLiteral(".acs");
        HarnessFixture f;
        QVERIFY(f.window->createControls());
        f.dialogs.fileAnswers.push_back(path);
        f.agent->refuseFiles = true;
        QVERIFY(!f.window->load());
        const QString box = f.boxes.boxes.at(0).text;
        QVERIFY2(!box.contains(path) && box.contains(QChar(0x2026)), qPrintable(box));
        QVERIFY(f.takeTrace().join(QLatin1Char('\n')).contains(path));
    }

    void missingComponentIsReported()
    {
        HarnessFixture f;
        hosting::ClassRegistry empty;
        harness::FrmMain window(harness::fennick(),
                                {empty, f.boxes, f.trace, [&](int code) { f.exitCode = code; }, {}});
        QVERIFY(!window.createControls());
        QCOMPARE(f.exitCode, std::optional<int>(1));
        QVERIFY(f.boxes.boxes.at(0).text.contains(
            QStringLiteral("\"pVellix.Vellix\": no component provides this class")));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
