// Unattended, dialogs and boxes are answered without reaching the providers
// that show them, each with one line; attended, everything goes through.
#include "platform/dialogs/unattendedanswers.h"

#include <QtTest>

namespace
{

class Shown final : public dialogs::DialogProvider, public dialogs::MessageBoxService
{
  public:
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override
    {
        ++calls;
        return QStringLiteral("/chosen.acs");
    }
    std::optional<QColor> pickColor(const QColor &) override
    {
        ++calls;
        return QColor(Qt::red);
    }
    int show(const QString &, int, const std::optional<QString> &) override
    {
        ++calls;
        return 6;
    }
    int calls = 0;
};

struct Rig {
    Shown shown;
    bool unattended = true;
    QStringList lines;
    dialogs::UnattendedAnswers answers{shown, shown, [this] { return unattended; },
                                       [this](const QString &line) { lines << line; }};
};

} // namespace

class TestUnattendedAnswers : public QObject
{
    Q_OBJECT
  private slots:
    void cautiousAnswer_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<int>("answer");
        QTest::newRow("OK only, critical") << 16 << 1;
        QTest::newRow("OK, Cancel") << 1 << 2;
        QTest::newRow("Abort, Retry, Ignore") << 2 << 3;
        QTest::newRow("Yes, No, Cancel, question") << 3 + 32 << 2;
        QTest::newRow("Yes, No") << 4 << 7;
        QTest::newRow("Retry, Cancel") << 5 << 2;
        QTest::newRow("unknown button set") << 9 << 1;
    }
    void cautiousAnswer()
    {
        QFETCH(int, style);
        QFETCH(int, answer);
        Rig rig;
        QCOMPARE(rig.answers.show(QStringLiteral("Sure?"), style, std::nullopt), answer);
        QCOMPARE(rig.shown.calls, 0);
    }

    void unattendedNothingIsShownAndEachAnswerIsReported()
    {
        Rig rig;
        QCOMPARE(rig.answers.openFile(QStringLiteral("Select the file\nwith the character..."), {}, {}),
                 std::nullopt);
        QCOMPARE(rig.answers.pickColor(Qt::blue), std::nullopt);
        QCOMPARE(rig.answers.show(QStringLiteral("Пусто\r\nв окне 🎈"), 4, QStringLiteral("Title")), 7);
        QCOMPARE(rig.shown.calls, 0);
        QCOMPARE(rig.lines,
                 QStringList({
                     QStringLiteral("unattended: the file dialog \"Select the file with the "
                                    "character...\" is answered as a cancel"),
                     QStringLiteral("unattended: the colour dialog is answered as a cancel"),
                     QStringLiteral("unattended: the message box \"Пусто в окне 🎈\" is answered with 7"),
                 }));
    }

    void attendedEverythingGoesThrough()
    {
        Rig rig;
        rig.unattended = false;
        QCOMPARE(rig.answers.openFile({}, {}, {}), QStringLiteral("/chosen.acs"));
        QCOMPARE(rig.answers.pickColor(Qt::blue), QColor(Qt::red));
        QCOMPARE(rig.answers.show(QStringLiteral("Sure?"), 4, std::nullopt), 6);
        QCOMPARE(rig.shown.calls, 3);
        QVERIFY(rig.lines.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestUnattendedAnswers)
#include "tst_unattendedanswers.moc"
