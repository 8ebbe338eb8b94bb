// Colour sampling of balloon pictures: tolerance, transparency and bounds,
// which decide whether the drawing checks see a part at all.
#include "harness/verify/coloursampling.h"

#include <QPainter>
#include <QTest>

using namespace harness::verify::sampling;

class TestColourSampling : public QObject
{
    Q_OBJECT
  private slots:
    void readsWhatWasDrawn();
    void nearestNamesWhatCameInstead();
};

namespace
{

// 40x20 of yellow, a blue bar at x 10..19, y 5..6, a half-transparent red
// square at 30,10 (5x5) and a fully transparent column at x 0.
QImage picture()
{
    QImage image(40, 20, QImage::Format_ARGB32);
    image.fill(QColor(250, 236, 120));
    QPainter p(&image);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.fillRect(QRect(10, 5, 10, 2), QColor(0, 110, 225));
    p.fillRect(QRect(30, 10, 5, 5), QColor(255, 0, 0, 100));
    p.fillRect(QRect(0, 0, 1, 20), Qt::transparent);
    return image;
}

} // namespace

void TestColourSampling::readsWhatWasDrawn()
{
    const QImage image = picture();
    const QColor blue(0, 110, 225), yellow(250, 236, 120);
    QCOMPARE(countNear(image, blue), 20);
    QCOMPARE(countNear(image, QColor(10, 120, 240)), 20); // within the tolerance
    QCOMPARE(countNear(image, QColor(0, 110, 225 - 2 * tolerance)), 0);
    QCOMPARE(countNear(image, blue, QRect(15, 0, 40, 40)), 10);
    // Transparent and faint pixels are no colour at all.
    QCOMPARE(countNear(image, QColor(255, 0, 0)), 0);
    QCOMPARE(countUnlike(image, yellow), 20);
    QCOMPARE(boundsOf(image, blue), QRect(10, 5, 10, 2));
    QCOMPARE(boundsUnlike(image, yellow), QRect(10, 5, 10, 2));
    QVERIFY(boundsOf(image, QColor(0, 255, 0)).isEmpty());
    QCOMPARE(rowsUnlike(image, yellow, QRect(10, 0, 10, 20), 0.5), (QList<int>{5, 6}));
    QCOMPARE(rowsUnlike(image, yellow, QRect(0, 0, 40, 20), 0.5), QList<int>());
}

void TestColourSampling::nearestNamesWhatCameInstead()
{
    const QImage image = picture();
    // A colour not drawn: the nearest one drawn is named instead.
    QCOMPARE(nameOf(nearestTo(image, QColor(225, 110, 0))), QStringLiteral("#faec78"));
    QCOMPARE(nameOf(nearestTo(image, QColor(0, 100, 200))), QStringLiteral("#006ee1"));
    QImage empty(4, 4, QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    QCOMPARE(nameOf(nearestTo(empty, Qt::black)), QStringLiteral("nothing opaque"));
}

QTEST_GUILESS_MAIN(TestColourSampling)
#include "tst_coloursampling.moc"
