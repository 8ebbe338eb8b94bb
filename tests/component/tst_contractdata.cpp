// The contract's tables agree with each other: every Long property has the
// values it accepts, the button sets use each button once, and Esc's answer
// follows the documented preference.
#include "component/buttons.h"
#include "component/contract.h"

#include <QTest>

#include <set>

using namespace component;

class TestContractData : public QObject
{
    Q_OBJECT

  private slots:
    void everyLongPropertyHasARangeHoldingItsDefault()
    {
        for (const PropertyInfo &p : properties) {
            const QString name = QString::fromLatin1(p.name.data(), qsizetype(p.name.size()));
            QCOMPARE(rangeOf(p.id).has_value(), p.type == ValueType::Int32);
            for (const auto &[id, value] : defaultSettings)
                if (id == p.id && p.type == ValueType::Int32)
                    QVERIFY2(rangeOf(id)->contains(std::get<int32_t>(value)), qPrintable(name));
        }
        for (Language language : languages)
            QVERIFY(rangeOf(prop::Language)->contains(int32_t(language)));
        QVERIFY(!rangeOf(prop::Language)->contains(150));
    }

    void buttonSetsHoldDistinctButtons()
    {
        QCOMPARE(buttonSetCount, buttonsTypeRange.high + 1);
        QVERIFY(buttonSet(0).empty());
        QVERIFY(buttonSet(-1).empty());
        QVERIFY(buttonSet(buttonSetCount).empty());
        for (int set = 1; set < buttonSetCount; ++set) {
            const std::span<const ButtonKind> buttons = buttonSet(set);
            QVERIFY(!buttons.empty());
            QCOMPARE(std::set<ButtonKind>(buttons.begin(), buttons.end()).size(), buttons.size());
            for (ButtonKind kind : buttons)
                QCOMPARE(findButtonCaption(int(kind)), &captionOf(kind));
        }
    }

    void escapeAnswersTheFirstCancelLikeButton_data()
    {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("answer");
        QTest::newRow("none") << 0 << 0;
        QTest::newRow("Abort, Retry, Ignore") << 1 << 0;
        QTest::newRow("Back, Next, Snooze") << 4 << int(ButtonKind::Snooze);
        QTest::newRow("Ok") << 7 << int(ButtonKind::Ok);
        QTest::newRow("Yes, Yes for all, No, Cancel") << 12 << int(ButtonKind::Cancel);
        QTest::newRow("Yes, No") << 14 << int(ButtonKind::No);
    }
    void escapeAnswersTheFirstCancelLikeButton()
    {
        QFETCH(int, set);
        QFETCH(int, answer);
        QCOMPARE(escapeButton(buttonSet(set)), answer);
    }

    void captionsComeInBothLanguages()
    {
        QCOMPARE(buttonCaption(ButtonKind::YesForAll, Language::English), QStringLiteral("Yes for all"));
        QCOMPARE(buttonCaption(ButtonKind::YesForAll, Language::Russian), QStringLiteral("Да для всех"));
        QCOMPARE(buttonKeyName(ButtonKind::YesForAll), QStringLiteral("YesForAll"));
    }
};

QTEST_MAIN(TestContractData)
#include "tst_contractdata.moc"
