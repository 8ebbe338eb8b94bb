// The sizing arithmetic on its own: which part decides the width, and how
// the text and the label list share a height that is too small for both.
#include "balloonsizing.h"

#include <QTest>

using namespace balloon;

class TestBalloonSizingRules : public QObject
{
    Q_OBJECT

  private slots:
    void widthFollowsTheWidestPart_data()
    {
        QTest::addColumn<int>("heading");
        QTest::addColumn<int>("text");
        QTest::addColumn<bool>("input");
        QTest::addColumn<int>("buttonRow");
        QTest::addColumn<int>("width");
        // readable 400, room 600 throughout
        QTest::newRow("short content keeps the minimum") << 50 << 60 << false << 0 << 160;
        QTest::newRow("an input field widens") << 0 << 60 << true << 0 << 260;
        QTest::newRow("long text stops at the readable measure") << 0 << 900 << false << 0 << 400;
        QTest::newRow("a button row passes the measure") << 0 << 60 << false << 500 << 500;
        QTest::newRow("but not the room") << 0 << 60 << false << 700 << 600;
    }
    void widthFollowsTheWidestPart()
    {
        QFETCH(int, heading);
        QFETCH(int, text);
        QFETCH(bool, input);
        QFETCH(int, buttonRow);
        QFETCH(int, width);
        WidthParts parts;
        parts.readable = 400;
        parts.room = 600;
        parts.heading = heading;
        parts.text = text;
        parts.input = input;
        parts.buttonRow = buttonRow;
        QCOMPARE(contentWidth(parts), width);
    }

    void textAndLabelsShareTooLittleHeight()
    {
        HeightParts parts;
        parts.fixed = 60;
        parts.available = 260; // 200 to share
        parts.text = true;
        parts.labels = true;
        parts.labelCount = 50;
        parts.rowHeight = 20;
        parts.frameWidth = 1;

        parts.textWanted = 40;
        Heights fits = shareHeights(parts);
        QCOMPARE(fits.labels, 200 - 40);
        QCOMPARE(fits.text, 40);
        QVERIFY(!fits.textScrolls);

        parts.textWanted = 1000;
        const Heights tight = shareHeights(parts);
        QCOMPARE(tight.labels, 100); // half, more than three rows
        QCOMPARE(tight.text, 100);
        QVERIFY(tight.textScrolls);
        QCOMPARE(tight.content, parts.fixed + 200);
    }

    void noRoomStillLeavesAFewLines()
    {
        HeightParts parts;
        parts.fixed = 500;
        parts.available = 100;
        parts.text = true;
        parts.textWanted = 300;
        QCOMPARE(roomToShare(parts), 40);
        const Heights h = shareHeights(parts);
        QCOMPARE(h.text, 40);
        QVERIFY(h.textScrolls);
        QCOMPARE(h.labels, 0);
    }
};

QTEST_MAIN(TestBalloonSizingRules)
#include "tst_balloonsizingrules.moc"
