// The placement lab's pure parts: the layouts it reads, the spots it puts
// the character on, and the contract it judges a balloon by.
#include "harness/verify/placementrules.h"
#include "harness/verify/screenlayout.h"

#include <QTest>

using namespace harness::verify;
using namespace harness::verify::placement;

namespace
{

const QRect fullHd(0, 0, 1920, 1080);
const QRect leftScreen(-1920, 0, 1920, 1080);
const QSize character(128, 128);
const QSize balloon(300, 150);

// A balloon of `size` on `side` (1 to 4) of `c`, its tail 28 pixels in from its edge.
QRect beside(const QRect &c, int side, QSize size = balloon)
{
    const int x = c.left() + c.width() / 2;
    const bool above = side == 1 || side == 2, right = side == 1 || side == 3;
    const int left = right ? x - 28 : x + 28 - size.width() + 1;
    return {QPoint(left, above ? c.top() - size.height() : c.bottom() + 1), size};
}

Seen seen(const QRect &r)
{
    return {r, QRegion(r)};
}

QString json(const QString &screens)
{
    return QStringLiteral("{\"screens\": [%1]}").arg(screens);
}

} // namespace

class TestPlacementLab : public QObject
{
    Q_OBJECT
  private slots:
    void layoutsRead_data();
    void layoutsRead();
    void shippedLayoutsAllRead();
    void spots_data();
    void spots();
    void judged_data();
    void judged();
    void textClipped_data();
    void textClipped();
};

void TestPlacementLab::layoutsRead_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("json");
    QTest::addColumn<QString>("error"); // empty: read
    const QString one = QStringLiteral("{\"x\": 0, \"y\": 0, \"width\": 800, \"height\": 600, \"dpr\": 2}");
    QTest::newRow("one screen") << QStringLiteral("a") << json(one) << QString();
    QTest::newRow("not JSON") << QStringLiteral("a") << QStringLiteral("{screens")
                              << QStringLiteral("not JSON");
    QTest::newRow("no screens") << QStringLiteral("a") << QStringLiteral("{\"screens\": []}")
                                << QStringLiteral("no \"screens\" array");
    QTest::newRow("size missing") << QStringLiteral("a") << json(QStringLiteral("{\"x\": 0, \"y\": 0}"))
                                  << QStringLiteral("screen 0: x, y, width and height");
    QTest::newRow("fractional") << QStringLiteral("a")
                                << json(QStringLiteral("{\"x\": 0.5, \"y\": 0, \"width\": 8, \"height\": 6}"))
                                << QStringLiteral("screen 0: x, y, width and height");
    QTest::newRow("huge") << QStringLiteral("a")
                          << json(QStringLiteral("{\"x\": 0, \"y\": 0, \"width\": 1e12, \"height\": 6}"))
                          << QStringLiteral("screen 0: x, y, width and height");
    QTest::newRow("overlapping") << QStringLiteral("a") << json(one + QLatin1Char(',') + one)
                                 << QStringLiteral("screen 1 overlaps screen 0");
    QTest::newRow("dpr") << QStringLiteral("a")
                         << json(QStringLiteral(
                                "{\"x\": 0, \"y\": 0, \"width\": 8, \"height\": 6, \"dpr\": 9}"))
                         << QStringLiteral("screen 0: dpr must be 1 to 4");
    QTest::newRow("name with a dot") << QStringLiteral("my.desk") << json(one)
                                     << QStringLiteral("the layout name \"my.desk\"");
    QTest::newRow("Cyrillic name") << QStringLiteral("стол") << json(one)
                                   << QStringLiteral("the layout name");
}

void TestPlacementLab::layoutsRead()
{
    QFETCH(QString, name);
    QFETCH(QString, json);
    QFETCH(QString, error);
    QString why;
    const std::optional<ScreenLayout> layout = parseLayout(name, json.toUtf8(), &why);
    QCOMPARE(layout.has_value(), error.isEmpty());
    if (layout) {
        QCOMPARE(layout->geometries(), QList<QRect>{QRect(0, 0, 800, 600)});
        QCOMPARE(layout->screens.first().dpr, 2.0);
    } else {
        QVERIFY2(why.startsWith(error), qPrintable(why));
    }
}

void TestPlacementLab::shippedLayoutsAllRead()
{
    const QList<ScreenLayout> layouts = shippedLayouts();
    QCOMPARE(layouts.size(), 8);
    int scaled = 0;
    for (const ScreenLayout &layout : layouts)
        for (const LayoutScreen &screen : layout.screens)
            scaled += screen.dpr == 2 ? 1 : 0;
    QCOMPARE(scaled, 2);
}

void TestPlacementLab::spots_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<int>("count");
    QTest::newRow("one screen") << QList<QRect>{fullHd} << 9 + 4;
    QTest::newRow("side by side") << QList<QRect>{leftScreen, fullHd} << 2 * 9 + 6 + 1;
    QTest::newRow("stacked") << QList<QRect>{fullHd, fullHd.translated(0, 1080)} << 2 * 9 + 6 + 1;
    QTest::newRow("apart") << QList<QRect>{fullHd, fullHd.translated(3000, 0)} << 2 * (9 + 4);
}

void TestPlacementLab::spots()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(int, count);
    const QList<Spot> spots = spotsOn(screens, character);
    QCOMPARE(spots.size(), count);
    QStringList names;
    for (const Spot &spot : spots) {
        names.append(spot.name);
        QCOMPARE(spot.character.size(), character);
        const bool centreOn = std::any_of(screens.begin(), screens.end(), [&](const QRect &s) {
            return s.contains(spot.character.center());
        });
        QVERIFY2(centreOn, qPrintable(spot.name));
        const int holding = int(std::count_if(screens.begin(), screens.end(),
                                              [&](const QRect &s) { return s.contains(spot.character); }));
        const bool straddles = spot.name.startsWith(QLatin1String("border"));
        const bool off = spot.name.contains(QLatin1String("off"));
        QCOMPARE(holding, straddles || off ? 0 : 1);
    }
    names.removeDuplicates();
    QCOMPARE(names.size(), count);
}

void TestPlacementLab::judged_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("character");
    QTest::addColumn<int>("place");
    QTest::addColumn<QRect>("balloon");
    QTest::addColumn<QString>("expected"); // empty: passes
    QTest::addColumn<QString>("got");
    const QList<QRect> one{fullHd};
    const QRect middle(QPoint(900, 500), character);
    const QRect top(QPoint(900, 0), character);
    const QRect topRight(QPoint(1920 - 128, 0), character);
    QTest::newRow("place kept") << one << middle << 2 << beside(middle, 2) << QString() << QString();
    QTest::newRow("place 0 takes above right")
        << one << middle << 0 << beside(middle, 1) << QString() << QString();
    QTest::newRow("place 0 not below left") << one << middle << 0 << beside(middle, 4)
                                            << QStringLiteral("BalloonPlace 0: the balloon above right")
                                            << QStringLiteral("it at (693,628 300x150), below left");
    QTest::newRow("place ignored") << one << middle << 3 << beside(middle, 1)
                                   << QStringLiteral("BalloonPlace 3: the balloon below right")
                                   << QStringLiteral("it at (936,350 300x150), above right");
    QTest::newRow("no room above: mirrored vertically")
        << one << top << 2 << beside(top, 4) << QString() << QString();
    QTest::newRow("no room above: not mirrored horizontally")
        << one << top << 2 << beside(top, 3) << QStringLiteral("BalloonPlace 2: the balloon below left")
        << QStringLiteral("below right");
    QTest::newRow("corner: mirrored both ways")
        << one << topRight << 1 << beside(topRight, 4) << QString() << QString();
    QTest::newRow("nothing fits: anywhere on the screen")
        << one << middle << 1 << QRect(0, 0, 1920, 1080) << QString() << QString();
    QTest::newRow("other screen") << QList<QRect>{leftScreen, fullHd} << middle << 0
                                  << beside(middle, 1).translated(-1920, 0)
                                  << QStringLiteral(
                                         "the balloon wholly on screen 1 (0,0 1920x1080), which holds "
                                         "the character's centre (963,563)")
                                  << QStringLiteral("on screen 0 (-1920,0 1920x1080)");
    QTest::newRow("split") << QList<QRect>{leftScreen, fullHd} << middle << 0 << QRect(-100, 300, 300, 150)
                           << QStringLiteral("the balloon wholly on screen 1")
                           << QStringLiteral("split by a screen border");
    QTest::newRow("off the screens") << one << middle << 0 << QRect(1800, 300, 300, 150)
                                     << QStringLiteral("the balloon wholly on screen 0")
                                     << QStringLiteral("partly off the screens");
    QTest::newRow("covering") << one << middle << 1 << beside(middle, 1).translated(0, 40)
                              << QStringLiteral("the character (900,500 128x128) uncovered")
                              << QStringLiteral("covering 3680 pixels");
    QTest::newRow("not reaching") << one << middle << 1 << beside(middle, 1).translated(0, -40)
                                  << QStringLiteral(
                                         "the balloon's outline within 8 pixels of the character's top")
                                  << QStringLiteral("reaching no nearer than 41 pixels");
}

void TestPlacementLab::judged()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, character);
    QFETCH(int, place);
    QFETCH(QRect, balloon);
    QFETCH(QString, expected);
    QFETCH(QString, got);
    const Verdict verdict = judge(screens, character, place, seen(balloon));
    QCOMPARE(verdict.passed, expected.isEmpty());
    QVERIFY2(verdict.expected.startsWith(expected), qPrintable(verdict.expected));
    QVERIFY2(verdict.got.contains(got), qPrintable(verdict.got));
}

void TestPlacementLab::textClipped_data()
{
    QTest::addColumn<QList<QRect>>("atOne");
    QTest::addColumn<QList<QRect>>("atTwo"); // both within a window of the same logical size
    QTest::addColumn<QString>("got");        // empty: not clipped
    const QList<QRect> parts{QRect(10, 10, 200, 20), QRect(10, 40, 250, 60)};
    QTest::newRow("wholly shown at both") << parts << parts << QString();
    QTest::newRow("a pixel of rounding")
        << parts << QList<QRect>{QRect(10, 10, 201, 19), parts[1]} << QString();
    QTest::newRow("cut by the window's edge at scale 2")
        << parts << QList<QRect>{parts[0], QRect(10, 120, 250, 60)}
        << QStringLiteral(
               "text part 2 at (1930,120 250x60), not wholly inside the window (1920,0 300x150) at scale 2");
    QTest::newRow("cut at scale 1") << QList<QRect>{QRect(-5, 10, 200, 20)} << QList<QRect>{parts[0]}
                                    << QStringLiteral(
                                           "not wholly inside the window (0,0 300x150) at scale 1");
    QTest::newRow("shrunk to fit at scale 2")
        << parts << QList<QRect>{QRect(10, 10, 100, 20), parts[1]}
        << QStringLiteral("text part 1 of 100x20 at scale 2 where the window's scale asks 200x20");
    QTest::newRow("hidden at scale 2") << parts << QList<QRect>{parts[0], QRect(10, 40, 0, 0)}
                                       << QStringLiteral("text part 2 at (1930,40 0x0)");
    QTest::newRow("lost at scale 2") << parts << QList<QRect>{parts[0]}
                                     << QStringLiteral("2 text parts at scale 1 but 1 at scale 2");
    QTest::newRow("no text at all") << QList<QRect>() << QList<QRect>()
                                    << QStringLiteral("no text part to be seen at scale 1");
}

void TestPlacementLab::textClipped()
{
    QFETCH(QList<QRect>, atOne);
    QFETCH(QList<QRect>, atTwo);
    QFETCH(QString, got);
    // The second screen lies right of the first: the same balloon, moved.
    const QPoint offset(1920, 0);
    QList<QRect> moved;
    for (const QRect &r : atTwo)
        moved.append(r.translated(offset));
    const QString clipped =
        clippedText({QRect(0, 0, 300, 150), atOne}, {QRect(0, 0, 300, 150).translated(offset), moved});
    QCOMPARE(clipped.isEmpty(), got.isEmpty());
    QVERIFY2(clipped.contains(got), qPrintable(clipped));
}

QTEST_GUILESS_MAIN(TestPlacementLab)
#include "tst_placementlab.moc"
