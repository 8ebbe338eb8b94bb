// The handlers of the option groups, check boxes, colour and icon buttons and
// the three message buttons, against a recording component and scripted
// dialogs and message boxes.
#include "harnessfixture.h"

#include "harness/handlers/colourhandlers.h"
#include "harness/handlers/messageactions.h"

#include <QBuffer>
#include <QImageWriter>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>

using namespace component;
using Box = fakes::RecordingMessageBoxes::Box;

Q_DECLARE_METATYPE(Value)

namespace
{

QString pictureArg(const QString &source, int size)
{
    return QStringLiteral(R"(Vellix1 putref CustomIcon ["<picture %1 %2x%2>"])").arg(source).arg(size);
}

} // namespace

class TestHandlers : public QObject
{
    Q_OBJECT
    std::unique_ptr<HarnessFixture> f;

    void startFixture(const harness::ProgramDescription &program = harness::fennick())
    {
        f = std::make_unique<HarnessFixture>(program);
        QVERIFY(f->start());
        f->takeTrace();
    }
    void clickButton(const char *name)
    {
        QTest::mouseClick(&f->window->controls().button(name), Qt::LeftButton);
    }

  private slots:
    void init() { startFixture(); }
    void cleanup()
    {
        QVERIFY(!f || !f->exitCode);
        f.reset();
    }

    void optionGroups_data()
    {
        QTest::addColumn<QString>("group");
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("calls");
        QTest::addColumn<QString>("stateField");
        QTest::addColumn<int>("stateValue");
        QTest::newRow("heading top") << "optAlignCaptionType" << 0
                                     << QStringList{QStringLiteral("Vellix1 put VAlignmentCaption [0]")} << ""
                                     << 0;
        QTest::newRow("heading center")
            << "optAlignCaptionType" << 1 << QStringList{QStringLiteral("Vellix1 put VAlignmentCaption [1]")}
            << "" << 0;
        QTest::newRow("text right") << "optAlignTextType" << 1
                                    << QStringList{QStringLiteral("Vellix1 put HAlignmentText [1]")} << ""
                                    << 0;
        QTest::newRow("text center") << "optAlignTextType" << 2
                                     << QStringList{QStringLiteral("Vellix1 put HAlignmentText [2]")} << ""
                                     << 0;
        QTest::newRow("position bottom left")
            << "optBalloonPlace" << 4 << QStringList{QStringLiteral("Vellix1 put BalloonPlace [4]")} << ""
            << 0;
        QTest::newRow("buttons yes no") << "optbuttontype" << 14 << QStringList{} << "ButtonsType" << 14;
        QTest::newRow("buttons abort retry ignore")
            << "optbuttontype" << 1 << QStringList{} << "ButtonsType" << 1;
        QTest::newRow("icon danger") << "optIconType" << 5 << QStringList{} << "IconType" << 5;
        QTest::newRow("icon custom before any file")
            << "optIconType" << 6 << QStringList{pictureArg(QStringLiteral("default"), 32)} << "IconType"
            << 6;
        QTest::newRow("window think") << "optMsgType" << 1 << QStringList{} << "MsgType" << 1;
    }
    void optionGroups()
    {
        QFETCH(QString, group);
        QFETCH(int, index);
        QFETCH(QStringList, calls);
        QFETCH(QString, stateField);
        QFETCH(int, stateValue);
        harness::HarnessState &s = f->window->state();
        const harness::HarnessState before = s;
        f->window->controls().group(qPrintable(group)).button(index)->click();
        QCOMPARE(f->takeCalls(), calls);
        const std::map<QString, std::pair<const Value *, const Value *>> fields{
            {QStringLiteral("MsgType"), {&s.MsgType, &before.MsgType}},
            {QStringLiteral("IconType"), {&s.IconType, &before.IconType}},
            {QStringLiteral("ButtonsType"), {&s.ButtonsType, &before.ButtonsType}}};
        for (const auto &[name, values] : fields)
            QCOMPARE(*values.first, name == stateField ? Value(int32_t(stateValue)) : *values.second);
    }

    void windowTypeReadsItsButtons()
    {
        harness::OptionGroup &type = f->window->controls().group("optMsgType");
        type.select(1);
        QCOMPARE(f->window->state().MsgType, Value(int32_t(1)));
        emit type.clicked(0); // the index handed in does not matter; the buttons do
        QCOMPARE(f->window->state().MsgType, Value(int32_t(1)));
        type.select(0);
        QCOMPARE(f->window->state().MsgType, Value(int32_t(0)));
    }

    void checkBoxes_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("value");
        QTest::addColumn<bool>("expected");
        QTest::newRow("modal off") << "chkModal" << 0 << false;
        QTest::newRow("modal greyed counts as off") << "chkModal" << 2 << false;
        QTest::newRow("on top off") << "chkOnTop" << 0 << false;
        QTest::newRow("on top greyed counts as off") << "chkOnTop" << 2 << false;
    }
    void checkBoxes()
    {
        QFETCH(QString, box);
        QFETCH(int, value);
        QFETCH(bool, expected);
        harness::CheckBox &check = f->window->controls().check(qPrintable(box));
        check.setValue(value);
        const Value &field =
            box == QLatin1String("chkModal") ? f->window->state().ModalFlag : f->window->state().OnTopFlag;
        QCOMPARE(field, Value(Bool::of(expected)));
        check.setValue(1);
        QCOMPARE(field, Value(Bool::of(true)));
        QCOMPARE(f->takeCalls(), QStringList());
    }

    void colourButtons_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("cancel");
        for (int i = 0; i < int(harness::colourButtons().size()); ++i) {
            const harness::ColourButton &b = harness::colourButtons()[size_t(i)];
            QTest::addRow("%s picked", b.button) << i << false;
            QTest::addRow("%s cancelled", b.button) << i << true;
        }
    }
    void colourButtons()
    {
        QFETCH(int, row);
        QFETCH(bool, cancel);
        const harness::ColourButton &b = harness::colourButtons()[size_t(row)];
        QLabel &swatch = f->window->controls().swatch(b.swatch);
        const int32_t before = harness::swatchColor(swatch);
        const QString name = QString::fromLatin1(findProperty(b.property)->name.data());
        if (!cancel) f->dialogs.colourAnswers.push_back(QColor(0x12, 0x34, 0x56));
        const int32_t after = cancel ? before : 0x563412;

        clickButton(b.button);

        QCOMPARE(f->dialogs.colourDialogs.back(), colorFromRef(before));
        QCOMPARE(f->takeCalls(), (QStringList{
                                     QStringLiteral("Vellix1 get %1 -> %2").arg(name).arg(before),
                                     QStringLiteral("cmd put Color [%1]").arg(before),
                                     QStringLiteral("cmd method ShowColor"),
                                     QStringLiteral("cmd get Color -> %1").arg(after),
                                     QStringLiteral("Vellix1 put %1 [%2]").arg(name).arg(after),
                                     QStringLiteral("Vellix1 get %1 -> %2").arg(name).arg(after),
                                 }));
        QCOMPARE(harness::swatchColor(swatch), after);
    }

    void customIcon_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("answer"); // "icon", "cancel" or "junk"
        QTest::addColumn<QString>("boxText");
        QTest::newRow("icon chosen") << "fennick"
                                     << "icon"
                                     << "";
        QTest::newRow("dialog cancelled") << "fennick"
                                          << "cancel"
                                          << "You have not chosen a icon!";
        QTest::newRow("not an icon") << "fennick"
                                     << "junk"
                                     << "could not be used as an icon";
        QTest::newRow("morrowby icon chosen") << "morrowby"
                                              << "icon"
                                              << "";
    }
    void customIcon()
    {
        QFETCH(QString, program);
        QFETCH(QString, answer);
        QFETCH(QString, boxText);
        const bool morrowby = program == QLatin1String("morrowby");
        startFixture(morrowby ? harness::morrowby() : harness::fennick());
        QTemporaryDir dir;
        const QString iconFile = dir.filePath(QStringLiteral("значок.ico"));
        QImage image(16, 16, QImage::Format_ARGB32);
        image.fill(Qt::darkCyan);
        QVERIFY(QImageWriter(iconFile, "ico").write(image));
        const QString junkFile = dir.filePath(QStringLiteral("notes.ico"));
        QFile junk(junkFile);
        QVERIFY(junk.open(QIODevice::WriteOnly) && junk.write("not a picture") > 0);
        junk.close();
        if (answer == QLatin1String("icon"))
            f->dialogs.fileAnswers.push_back(iconFile);
        else if (answer == QLatin1String("junk"))
            f->dialogs.fileAnswers.push_back(junkFile);

        clickButton("cmbCustomIcon");

        const auto &shown = f->dialogs.fileDialogs.back();
        QCOMPARE(shown.title, QStringLiteral("Select the icon file..."));
        QCOMPARE(shown.filter,
                 morrowby ? QStringLiteral("Файлы значков (**.ico)") : QStringLiteral("Icons (*.ico)"));
        const bool chosen = answer == QLatin1String("icon");
        const QStringList calls = f->takeCalls();
        QCOMPARE(calls.first(), QStringLiteral(R"(cmd put FileName [""])"));
        QCOMPARE(calls.last(), chosen ? pictureArg(iconFile, 16) : pictureArg(QStringLiteral("default"), 32));
        QCOMPARE(f->window->controls().imgCustomIcon->picture().source,
                 chosen ? iconFile : QStringLiteral("default"));
        QCOMPARE(f->window->state().IconType, Value(int32_t(0))); // the icon type is not touched
        if (boxText.isEmpty()) {
            QVERIFY(f->boxes.boxes.empty());
        } else {
            QCOMPARE(f->boxes.boxes.size(), size_t(1));
            QVERIFY2(f->boxes.boxes[0].text.contains(boxText), qPrintable(f->boxes.boxes[0].text));
            QCOMPARE(f->boxes.boxes[0].style, 16);
            QCOMPARE(f->boxes.boxes[0].title, std::optional<QString>(QStringLiteral("Error")));
        }
    }

    void messageReports_data()
    {
        QTest::addColumn<QString>("button");
        QTest::addColumn<MsgResult>("result");
        QTest::addColumn<QString>("report");
        QTest::addColumn<int>("style");
        QTest::newRow("plain") << "cmbMsgShow" << MsgResult{7, -1, {}, 0} << "7" << 0;
        QTest::newRow("plain closed without a button") << "cmbMsgShow" << MsgResult{0, -1, {}, 0} << "0" << 0;
        QTest::newRow("input") << "cmbMsgInput" << MsgResult{1, -1, QStringLiteral("Привет, мир 👋 שלום"), 0}
                               << "You have entered the text: Привет, мир 👋 שלום Button: 1" << 0;
        QTest::newRow("input empty") << "cmbMsgInput" << MsgResult{2, -1, {}, 0}
                                     << "You have entered the text:  Button: 2" << 0;
        QTest::newRow("labels") << "cmbLabelsShow" << MsgResult{6, 2, {}, 0} << "Label selected: 2 Button: 6"
                                << 0;
        QTest::newRow("labels none chosen")
            << "cmbLabelsShow" << MsgResult{0, -1, {}, 0} << "Label selected: -1 Button: 0" << 0;
        for (const char *b : {"cmbMsgShow", "cmbMsgInput", "cmbLabelsShow"})
            QTest::addRow("%s refused", b)
                << b << MsgResult{0, 0, {}, 1} << "Window of the message already on the screen." << 16;
    }
    void messageReports()
    {
        QFETCH(QString, button);
        QFETCH(MsgResult, result);
        QFETCH(QString, report);
        QFETCH(int, style);
        f->component->onMethod = [result](Method, Args &) { return Result(Value(result)); };
        clickButton(qPrintable(button));
        QCOMPARE(f->boxes.boxes.size(), size_t(1));
        const Box &box = f->boxes.boxes[0];
        QCOMPARE(box.text, report);
        QCOMPARE(box.style, style);
        QCOMPARE(box.title, style == 16 ? std::optional<QString>(QStringLiteral("Error")) : std::nullopt);
        const QStringList trace = f->takeTrace();
        QVERIFY(trace.last().startsWith(QLatin1String("{\"event\":\"messagebox\"")));
    }

    // Any text reaches the trace intact, in a line whose keys keep their order.
    void traceKeepsAnyText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("quotes and backslashes") << "say \"C:\\temp\\\"";
        QTest::newRow("CR LF and tab") << "one\r\ntwo\tthree";
        QTest::newRow("control characters") << QStringLiteral("\x01\x08\x0c\x1f\x7f");
        QTest::newRow("Cyrillic, Hebrew and emoji") << "Привет 👋 שלום";
    }
    void traceKeepsAnyText()
    {
        QFETCH(QString, text);
        auto buffer = std::make_unique<QBuffer>();
        buffer->open(QIODevice::ReadWrite);
        QBuffer *out = buffer.get();
        harness::Trace trace(std::move(buffer));
        trace.messageBox(text, 16, text);
        const QByteArray line = out->data().trimmed();
        QVERIFY2(line.startsWith("{\"event\":\"messagebox\",\"title\":\""), line.constData());
        QJsonParseError error;
        const QJsonObject o = QJsonDocument::fromJson(line, &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(o.value(QStringLiteral("title")).toString(), text);
        QCOMPARE(o.value(QStringLiteral("text")).toString(), text);
        QVERIFY(line.indexOf("\"style\"") < line.indexOf("\"text\""));
    }

    void methodArguments_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QString>("button");
        QTest::addColumn<int>("id");
        QTest::newRow("fennick ShowVellix") << "fennick"
                                            << "cmbMsgShow" << 0x60030013;
        QTest::newRow("fennick MsgLabels") << "fennick"
                                           << "cmbLabelsShow" << 0x60030014;
        QTest::newRow("fennick MsgInput") << "fennick"
                                          << "cmbMsgInput" << 0x60030015;
        QTest::newRow("morrowby ShowVellix") << "morrowby"
                                             << "cmbMsgShow" << 0x60030014;
        QTest::newRow("morrowby MsgLabels") << "morrowby"
                                            << "cmbLabelsShow" << 0x60030015;
        QTest::newRow("morrowby MsgInput") << "morrowby"
                                           << "cmbMsgInput" << 0x60030016;
    }
    void methodArguments()
    {
        QFETCH(QString, program);
        QFETCH(QString, button);
        QFETCH(int, id);
        startFixture(program == QLatin1String("morrowby") ? harness::morrowby() : harness::fennick());
        f->window->controls().group("optIconType").select(4);
        f->window->controls().group("optbuttontype").select(13);
        f->window->controls().check("chkOnTop").setValue(0);
        f->window->controls().txtCaption->setText(QStringLiteral("Заголовок"));
        f->window->controls().txtText->setText(QStringLiteral("one\r\ntwo"));
        clickButton(qPrintable(button));
        const fakes::Call &call = f->component->calls.back();
        QCOMPARE(call.id, id);
        QCOMPARE(call.kind, CallKind::Method);
        const bool labels = button == QLatin1String("cmbLabelsShow");
        const std::vector<Value> expected{
            Value(QStringLiteral("Заголовок")),
            labels ? Value(QStringList{QStringLiteral("one"), QStringLiteral("two")})
                   : Value(QStringLiteral("one\r\ntwo")),
            Value(int32_t(4)),
            Value(int32_t(0)),
            Value(int32_t(13)),
            Value(Bool::of(true)),
            Value(Bool::of(false))};
        QVERIFY(call.args == expected);
    }

    void longHeadingReachesTheComponentWhole()
    {
        // Beyond the 32,767 characters a single-line box keeps by default.
        const QString heading(100000, QLatin1Char('h'));
        f->window->controls().txtCaption->setText(heading);
        clickButton("cmbMsgShow");
        QVERIFY(f->component->calls.back().args.at(0) == Value(heading));
    }

    void labelsFromText_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("labels");
        QTest::newRow("empty text, no labels") << "" << QStringList{};
        QTest::newRow("one label") << "a" << QStringList{QStringLiteral("a")};
        QTest::newRow("trailing CR LF, last label empty") << "a\r\n"
                                                          << QStringList{QStringLiteral("a"), QString()};
        QTest::newRow("empty pieces kept") << "\r\n\r\n" << QStringList{QString(), QString(), QString()};
        QTest::newRow("lone LF is no separator") << "a\nb" << QStringList{QStringLiteral("a\nb")};
        QTest::newRow("Cyrillic and emoji")
            << "Да 👍\r\nНет 👎" << QStringList{QStringLiteral("Да 👍"), QStringLiteral("Нет 👎")};
        QTest::newRow("sample text")
            << "This is simple message, which should appear\r\non your screen. The sizes of a window are\r\n"
               "automatically selected, proceeding from that text,\r\nwhich needs to be displayed on the "
               "screen"
            << QStringList{QStringLiteral("This is simple message, which should appear"),
                           QStringLiteral("on your screen. The sizes of a window are"),
                           QStringLiteral("automatically selected, proceeding from that text,"),
                           QStringLiteral("which needs to be displayed on the screen")};
    }
    void labelsFromText()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, labels);
        QCOMPARE(harness::MessageActions::splitLabels(text), labels);
    }

    // A component may change what it is handed by reference; the harness keeps the change.
    void componentChangesTheHarnessState()
    {
        f->component->onMethod = [](Method, Args &args) {
            args[2].set(Value(int32_t(5)));
            args[3].set(Value(int32_t(1)));
            args[5].set(Value(Bool::of(false)));
            args[1].set(Value(QStringList{QStringLiteral("changed")}));
            return Result(Value(MsgResult{}));
        };
        clickButton("cmbLabelsShow");
        const harness::HarnessState &s = f->window->state();
        QCOMPARE(s.IconType, Value(int32_t(5)));
        QCOMPARE(s.MsgType, Value(int32_t(1)));
        QCOMPARE(s.ModalFlag, Value(Bool::of(false)));
        // The controls are not refreshed from the state.
        QVERIFY(f->window->controls().group("optIconType").isSelected(0));
        QVERIFY(f->takeTrace()
                    .join(QLatin1Char('\n'))
                    .contains(QLatin1String(R"("changed":{"2":["changed"],"3":5,"4":1,"6":false})")));
    }

    void failingMethodEndsTheProgram()
    {
        f->component->onMethod = [](Method, Args &) { return Result(error::wrongArgCount()); };
        clickButton("cmbMsgInput");
        QCOMPARE(f->exitCode, std::optional<int>(1));
        QVERIFY(f->boxes.boxes.at(0).text.startsWith(QLatin1String("Run-time error '450':")));
        f->exitCode.reset();
    }

    void methodReturningNoResultEndsTheProgram()
    {
        f->component->onMethod = [](Method, Args &) { return Result(Value(int32_t(1))); };
        clickButton("cmbMsgShow");
        QCOMPARE(f->exitCode, std::optional<int>(1));
        QVERIFY(f->boxes.boxes.at(0).text.startsWith(QLatin1String("Run-time error '13':")));
        f->exitCode.reset();
    }
};

QTEST_MAIN(TestHandlers)
#include "tst_handlers.moc"
