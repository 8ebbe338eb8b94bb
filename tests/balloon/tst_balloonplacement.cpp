#include "placement.h"

#include <QTest>

#include <array>

using balloon::Place;
using balloon::Placement;

Q_DECLARE_METATYPE(Place)
Q_DECLARE_METATYPE(std::optional<QRect>)

namespace
{

const QRect desktop(0, 0, 1280, 1024);
const QSize balloonSize(300, 150);
const QSize characterSize(100, 100);

constexpr Place AR = Place::AboveRight, AL = Place::AboveLeft, BR = Place::BelowRight, BL = Place::BelowLeft;

// The side a 300 x 150 balloon takes when asked for auto, above right, above
// left, below right and below left: the asked side when it fits, else its
// vertical mirror, its horizontal mirror, the opposite corner; auto takes the
// first that fits in that same order of values.
struct Position {
    const char *name;
    QPoint topLeft;
    std::array<Place, 5> expected;
};

const QList<Position> positions{
    {"top-left corner", {0, 0}, {BR, BR, BR, BR, BR}},
    {"top edge", {590, 0}, {BR, BR, BL, BR, BL}},
    {"top-right corner", {1180, 0}, {BL, BL, BL, BL, BL}},
    {"left edge", {0, 462}, {AR, AR, AR, BR, BR}},
    {"centre", {590, 462}, {AR, AR, AL, BR, BL}},
    {"right edge", {1180, 462}, {AL, AL, AL, BL, BL}},
    {"bottom-left corner", {0, 924}, {AR, AR, AR, AR, AR}},
    {"bottom edge", {590, 924}, {AR, AR, AL, AR, AL}},
    {"bottom-right corner", {1180, 924}, {AL, AL, AL, AL, AL}},
};

const char *placeName(Place p)
{
    switch (p) {
    case Place::Auto:
        return "auto";
    case Place::AboveRight:
        return "above right";
    case Place::AboveLeft:
        return "above left";
    case Place::BelowRight:
        return "below right";
    case Place::BelowLeft:
        return "below left";
    }
    return "?";
}

bool sideIsRight(Place p)
{
    return p == Place::AboveRight || p == Place::BelowRight;
}

} // namespace

class TestBalloonPlacement : public QObject
{
    Q_OBJECT
  private slots:
    void besideCharacterOnOneScreen_data();
    void besideCharacterOnOneScreen();
    void staysOnTheCharactersScreen_data();
    void staysOnTheCharactersScreen();
    void withoutCharacterSitsByPrimaryCentre();
    void roomIsTheLargerSideOfTheCharacter_data();
    void roomIsTheLargerSideOfTheCharacter();
};

void TestBalloonPlacement::besideCharacterOnOneScreen_data()
{
    QTest::addColumn<QRect>("character");
    QTest::addColumn<Place>("asked");
    QTest::addColumn<Place>("expected");
    const std::array<Place, 5> asked{Place::Auto, AR, AL, BR, BL};
    for (const Position &pos : positions)
        for (size_t i = 0; i < asked.size(); ++i)
            QTest::addRow("%s, %s", pos.name, placeName(asked[i]))
                << QRect(pos.topLeft, characterSize) << asked[i] << pos.expected[i];
}

// The balloon touches the character on the chosen side without covering it,
// and its tail points at the middle of the facing edge.
void TestBalloonPlacement::besideCharacterOnOneScreen()
{
    QFETCH(QRect, character);
    QFETCH(Place, asked);
    QFETCH(Place, expected);

    const Placement p = balloon::placeBalloon(character, balloonSize, {desktop}, asked);

    QCOMPARE(p.side, expected);
    QCOMPARE(p.rect.size(), balloonSize);
    QVERIFY(desktop.contains(p.rect));
    QVERIFY(!p.rect.intersects(character));
    if (balloon::isAbove(expected))
        QCOMPARE(p.rect.bottom(), character.top() - 1);
    else
        QCOMPARE(p.rect.top(), character.bottom() + 1);
    QVERIFY(character.contains(p.tailTarget));
    QCOMPARE(p.tailTarget.x(), character.center().x() + 1);
    const int tailX = p.tailTarget.x();
    QVERIFY(sideIsRight(expected) ? p.rect.left() < tailX : p.rect.right() > tailX);
    QVERIFY(tailX > p.rect.left() && tailX < p.rect.right());
}

void TestBalloonPlacement::staysOnTheCharactersScreen_data()
{
    QTest::addColumn<QList<QRect>>("screens");
    QTest::addColumn<QRect>("character");
    QTest::addColumn<QSize>("size");
    QTest::addColumn<int>("screen");

    const QRect left(-1280, 0, 1280, 1024);
    const QRect right(1920, 200, 1024, 768);
    const QList<QRect> three{desktop, left, right};
    QTest::newRow("screen at negative coordinates") << three << QRect(-150, 40, 100, 100) << balloonSize << 1;
    QTest::newRow("second screen, character at its left edge")
        << three << QRect(1920, 500, 100, 100) << balloonSize << 2;
    QTest::newRow("character straddling two screens, more on the left")
        << QList<QRect>{desktop, left} << QRect(-80, 300, 100, 100) << balloonSize << 1;
    QTest::newRow("balloon larger than the screen")
        << three << QRect(2000, 400, 100, 100) << QSize(4000, 3000) << 2;
    QTest::newRow("balloon taller than the screen, character at bottom")
        << QList<QRect>{desktop} << QRect(600, 950, 100, 74) << QSize(300, 5000) << 0;
    QTest::newRow("character off every screen, nearest one taken")
        << three << QRect(1400, 2000, 100, 100) << balloonSize << 0;
    QTest::newRow("character with no size") << three << QRect(-600, 500, 0, 0) << balloonSize << 1;
    QTest::newRow("character at the far end of the coordinates")
        << three << QRect(1 << 24, 1 << 24, 1 << 24, 1 << 24) << balloonSize << 2;
}

// Wherever the character is, the balloon lies wholly on one screen, the
// character's, shrunk to it when larger, and the tail aims at the character.
void TestBalloonPlacement::staysOnTheCharactersScreen()
{
    QFETCH(QList<QRect>, screens);
    QFETCH(QRect, character);
    QFETCH(QSize, size);
    QFETCH(int, screen);

    for (Place asked :
         {Place::Auto, Place::AboveRight, Place::AboveLeft, Place::BelowRight, Place::BelowLeft}) {
        const Placement p = balloon::placeBalloon(character, size, screens, asked);
        QVERIFY2(screens[screen].contains(p.rect), placeName(asked));
        QCOMPARE(p.rect.size(), size.boundedTo(screens[screen].size()));
        QRect aimed = character;
        aimed.setSize(aimed.size().expandedTo(QSize(1, 1)));
        QVERIFY2(aimed.contains(p.tailTarget), placeName(asked));
    }
}

void TestBalloonPlacement::withoutCharacterSitsByPrimaryCentre()
{
    const QRect second(1280, 0, 1280, 1024);
    const Placement p = balloon::placeBalloon(std::nullopt, balloonSize, {desktop, second}, Place::Auto);
    QVERIFY(desktop.contains(p.rect));
    const QPoint centre = desktop.center();
    QVERIFY(qAbs(p.rect.center().x() - centre.x()) <= balloonSize.width());
    QVERIFY(qAbs(p.rect.center().y() - centre.y()) <= balloonSize.height());
}

void TestBalloonPlacement::roomIsTheLargerSideOfTheCharacter_data()
{
    QTest::addColumn<std::optional<QRect>>("character");
    QTest::addColumn<QSize>("room");

    // desktop is 1280 x 1024 at the origin.
    QTest::newRow("near the bottom: the room above")
        << std::optional(QRect(400, 900, 100, 100)) << QSize(1280, 900);
    QTest::newRow("near the top: the room below")
        << std::optional(QRect(400, 20, 100, 100)) << QSize(1280, 904);
    QTest::newRow("filling the screen's height: all of it")
        << std::optional(QRect(400, 100, 100, 850)) << QSize(1280, 1024);
    QTest::newRow("no character: the primary screen") << std::optional<QRect>() << QSize(1280, 1024);
}

void TestBalloonPlacement::roomIsTheLargerSideOfTheCharacter()
{
    QFETCH(std::optional<QRect>, character);
    QFETCH(QSize, room);
    QCOMPARE(balloon::roomBeside(character, {desktop}), room);
    // A balloon of that size placed there stays clear of the character.
    if (character && room.height() < desktop.height()) {
        const Placement p = balloon::placeBalloon(character, room, {desktop}, Place::Auto);
        QVERIFY(!p.rect.intersects(*character));
    }
}

QTEST_APPLESS_MAIN(TestBalloonPlacement)
#include "tst_balloonplacement.moc"
