#include "balloonsettings.h"
#include "balloonshape.h"
#include "balloonwidget.h"
#include "edgemode.h"

#include <QApplication>
#include <QImage>
#include <QTest>

#include <memory>

using namespace balloon;

namespace
{

const QRect screen(0, 0, 1024, 768);
// The balloon goes above a character low on the screen, below one at the top.
const QRect characterLow(400, 600, 96, 96);
const QRect characterHigh(400, 10, 96, 96);
constexpr qreal outlineWidth = 1.5; // the balloon's pen

std::unique_ptr<BalloonWidget> placedBalloon(Shape shape, const QRect &character, int buttonsType = 7)
{
    BalloonRequest request;
    request.heading = QStringLiteral("Heading");
    request.shape = shape;
    request.buttonsType = buttonsType;
    request.modal = false;
    auto w = std::make_unique<BalloonWidget>(request, BalloonSettings().style());
    w->placeBeside(character, {screen});
    return w;
}

void addShapeRows()
{
    QTest::addColumn<Shape>("shape");
    QTest::addColumn<QRect>("character");
    QTest::newRow("arrow above") << Shape::Arrow << characterLow;
    QTest::newRow("arrow below") << Shape::Arrow << characterHigh;
    QTest::newRow("think above") << Shape::Think << characterLow;
    QTest::newRow("think below") << Shape::Think << characterHigh;
}

QImage renderedOnTransparent(BalloonWidget &w)
{
    QImage image(w.size(), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    w.render(&image);
    return image;
}

} // namespace

class TestBalloonEdges : public QObject
{
    Q_OBJECT
  private slots:
    void cleanup();
    void platformDecides_data();
    void platformDecides();
    void offscreenIsMasked();
    void maskPathCutsToTheOutline_data() { addShapeRows(); }
    void maskPathCutsToTheOutline();
    void smoothPathBlendsTheEdge_data() { addShapeRows(); }
    void smoothPathBlendsTheEdge();
    void eachPlacementAsksAgain();
    void transparentCornerTakesNoClick();
};

void TestBalloonEdges::cleanup()
{
    setEdgeModeCheck({});
    QVERIFY(QApplication::topLevelWidgets().isEmpty());
}

void TestBalloonEdges::platformDecides_data()
{
    QTest::addColumn<QString>("platform");
    QTest::addColumn<bool>("compositor");
    QTest::addColumn<EdgeMode>("expected");
    QTest::newRow("xcb with a compositor") << "xcb" << true << EdgeMode::Smooth;
    QTest::newRow("xcb without a compositor") << "xcb" << false << EdgeMode::Mask;
    QTest::newRow("wayland") << "wayland" << false << EdgeMode::Smooth;
    QTest::newRow("wayland-egl") << "wayland-egl" << false << EdgeMode::Smooth;
    QTest::newRow("offscreen") << "offscreen" << true << EdgeMode::Mask;
    QTest::newRow("minimal") << "minimal" << true << EdgeMode::Mask;
    QTest::newRow("unknown") << "eglfs" << true << EdgeMode::Mask;
    QTest::newRow("none") << "" << true << EdgeMode::Mask;
}

void TestBalloonEdges::platformDecides()
{
    QFETCH(QString, platform);
    QFETCH(bool, compositor);
    QFETCH(EdgeMode, expected);
    int asked = 0;
    const auto running = [&] {
        ++asked;
        return compositor;
    };
    QCOMPARE(edgeModeFor(platform, running), expected);
    // Only X11 has a compositor to ask about.
    QCOMPARE(asked, platform == QLatin1String("xcb") ? 1 : 0);
}

void TestBalloonEdges::offscreenIsMasked()
{
    QCOMPARE(QGuiApplication::platformName(), QStringLiteral("offscreen"));
    QCOMPARE(currentEdgeMode(), EdgeMode::Mask);
    const auto w = placedBalloon(Shape::Arrow, characterLow);
    QVERIFY(!w->mask().isEmpty());
}

void TestBalloonEdges::maskPathCutsToTheOutline()
{
    QFETCH(Shape, shape);
    QFETCH(QRect, character);
    setEdgeModeCheck([] { return EdgeMode::Mask; });
    const auto w = placedBalloon(shape, character);
    QVERIFY(!w->mask().isEmpty());
    QCOMPARE(w->mask(), maskFor(w->outline(), outlineWidth));
    QVERIFY(w->mask() != QRegion(w->rect()));
}

void TestBalloonEdges::smoothPathBlendsTheEdge()
{
    QFETCH(Shape, shape);
    QFETCH(QRect, character);
    setEdgeModeCheck([] { return EdgeMode::Smooth; });
    const auto w = placedBalloon(shape, character);
    QVERIFY(w->mask().isEmpty());

    const QImage image = renderedOnTransparent(*w);
    // The mask path's region, one pixel wider for its rounding to whole pixels.
    const QRegion masked = maskFor(w->outline(), outlineWidth);
    QRegion covered = masked;
    for (const QPoint step : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)})
        covered += masked.translated(step);
    int blended = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const int alpha = qAlpha(image.pixel(x, y));
            // Nothing is drawn where the mask would have cut.
            if (!covered.contains(QPoint(x, y)) && alpha != 0)
                QFAIL(qPrintable(
                    QStringLiteral("pixel %1,%2 outside the outline has alpha %3").arg(x).arg(y).arg(alpha)));
            if (alpha > 0 && alpha < 255) ++blended;
        }
    }
    QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
    QCOMPARE(qAlpha(image.pixel(image.width() - 1, 0)), 0);
    const QPoint inside = bodyRect(QSizeF(w->size()), isAbove(w->placement().side)).center().toPoint();
    QCOMPARE(qAlpha(image.pixel(inside)), 255);
    QVERIFY2(blended > 20, qPrintable(QString::number(blended)));
}

void TestBalloonEdges::eachPlacementAsksAgain()
{
    EdgeMode mode = EdgeMode::Smooth;
    int asked = 0;
    setEdgeModeCheck([&] {
        ++asked;
        return mode;
    });
    const auto first = placedBalloon(Shape::Arrow, characterLow);
    QVERIFY(first->mask().isEmpty());
    mode = EdgeMode::Mask; // the compositor went away
    const auto second = placedBalloon(Shape::Arrow, characterLow);
    QVERIFY(!second->mask().isEmpty());
    mode = EdgeMode::Smooth; // and came back
    const auto third = placedBalloon(Shape::Arrow, characterLow);
    QVERIFY(third->mask().isEmpty());
    QCOMPARE(asked, 3);
}

void TestBalloonEdges::transparentCornerTakesNoClick()
{
    setEdgeModeCheck([] { return EdgeMode::Smooth; });
    const auto w = placedBalloon(Shape::Arrow, characterLow, 0); // closed by a click
    w->show();
    QVERIFY(QTest::qWaitForWindowExposed(w.get()));
    QTest::mouseClick(w.get(), Qt::LeftButton, {}, QPoint(1, 1));
    QVERIFY(!w->isFinished());
    const QPoint inside = bodyRect(QSizeF(w->size()), isAbove(w->placement().side)).center().toPoint();
    QTest::mouseClick(w.get(), Qt::LeftButton, {}, inside);
    QVERIFY(w->isFinished());
}

QTEST_MAIN(TestBalloonEdges)
#include "tst_balloonedges.moc"
