// The indicator-caching style must draw what Fusion draws: copied indicators look like
// indicators drawn in place, in every state, a painter the copy cannot match
// is drawn in place, and group boxes keep Fusion's frame.
#include "harness/controls/layoutfont.h"
#include "harness/look/indicatorcachestyle.h"

#include <QGroupBox>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOptionButton>
#include <QtTest>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <memory>

namespace
{

using Draw = std::function<void(QPainter &)>;

QImage onWindowBackground(const QPalette &palette, const Draw &draw)
{
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(palette.color(QPalette::Window));
    QPainter p(&image);
    draw(p);
    return image;
}

int largestDifference(const QImage &a, const QImage &b)
{
    int largest = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            largest = std::max({largest, std::abs(qRed(p) - qRed(q)), std::abs(qGreen(p) - qGreen(q)),
                                std::abs(qBlue(p) - qBlue(q)), std::abs(qAlpha(p) - qAlpha(q))});
        }
    return largest;
}

} // namespace

class TestIndicatorCacheStyle : public QObject
{
    Q_OBJECT
  private:
    std::unique_ptr<QStyle> plain_{QStyleFactory::create(QStringLiteral("Fusion"))};
    harness::IndicatorCacheStyle cached_{QStyleFactory::create(QStringLiteral("Fusion"))};

    QImage drawn(const QStyle &style, QStyle::PrimitiveElement element, const QStyleOptionButton &option,
                 const QTransform &transform = {})
    {
        return onWindowBackground(option.palette, [&](QPainter &p) {
            p.setTransform(transform);
            style.drawPrimitive(element, &option, &p);
        });
    }

  private slots:
    void copyLooksLikeDrawing_data()
    {
        QTest::addColumn<int>("element");
        QTest::addColumn<int>("state");
        const int enabled = QStyle::State_Enabled;
        const struct {
            const char *name;
            int state;
        } states[] = {
            {"off", enabled | QStyle::State_Off},
            {"on", enabled | QStyle::State_On},
            {"pressed", enabled | QStyle::State_On | QStyle::State_Sunken},
            {"hovered with focus",
             enabled | QStyle::State_Off | QStyle::State_MouseOver | QStyle::State_HasFocus},
            {"disabled on", QStyle::State_On},
            {"partly", enabled | QStyle::State_NoChange},
        };
        for (const auto &s : states) {
            QTest::addRow("option button %s", s.name) << int(QStyle::PE_IndicatorRadioButton) << s.state;
            QTest::addRow("check box %s", s.name) << int(QStyle::PE_IndicatorCheckBox) << s.state;
        }
    }

    void copyLooksLikeDrawing()
    {
        QFETCH(int, element);
        QFETCH(int, state);
        QStyleOptionButton option;
        option.state = QStyle::State(state);
        option.rect = QRect(7, 9, 15, 15);
        option.palette = plain_->standardPalette();
        const auto e = QStyle::PrimitiveElement(element);
        const QImage expected = drawn(*plain_, e, option);
        // The first draw fills the cache, the second copies from it; a copy
        // may round a blended edge pixel differently by one step.
        QVERIFY(largestDifference(drawn(cached_, e, option), expected) <= 1);
        QVERIFY(largestDifference(drawn(cached_, e, option), expected) <= 1);
    }

    void eachPaletteGetsItsOwnCopy()
    {
        QStyleOptionButton option;
        option.state = QStyle::State_Enabled | QStyle::State_On;
        option.rect = QRect(4, 4, 15, 15);
        option.palette = plain_->standardPalette();
        drawn(cached_, QStyle::PE_IndicatorRadioButton, option);
        option.palette.setColor(QPalette::Base, Qt::darkRed);
        option.palette.setColor(QPalette::Text, Qt::yellow);
        const QImage expected = drawn(*plain_, QStyle::PE_IndicatorRadioButton, option);
        QVERIFY(largestDifference(drawn(cached_, QStyle::PE_IndicatorRadioButton, option), expected) <= 1);
    }

    void scaledOrHalfPixelPainterIsDrawnInPlace()
    {
        QStyleOptionButton option;
        option.state = QStyle::State_Enabled | QStyle::State_On;
        option.rect = QRect(2, 2, 15, 15);
        option.palette = plain_->standardPalette();
        for (const QTransform &t : {QTransform::fromScale(2, 2), QTransform::fromTranslate(0.5, 0)})
            QCOMPARE(drawn(cached_, QStyle::PE_IndicatorCheckBox, option, t),
                     drawn(*plain_, QStyle::PE_IndicatorCheckBox, option, t));
    }

    void groupBoxesKeepFusionsFrame_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<bool>("checkable");
        QTest::newRow("titled") << QStringLiteral("Buttons type") << false;
        QTest::newRow("untitled") << QString() << false;
        QTest::newRow("checkable without title") << QString() << true;
    }

    void groupBoxesKeepFusionsFrame()
    {
        QFETCH(QString, title);
        QFETCH(bool, checkable);
        auto drawnBy = [&](QStyle *style) {
            QGroupBox box(title);
            box.setFont(harness::layoutFont());
            box.setCheckable(checkable);
            box.setStyle(style);
            box.resize(180, 90);
            QImage image(box.size(), QImage::Format_ARGB32_Premultiplied);
            image.fill(Qt::white);
            box.render(&image);
            return image;
        };
        QCOMPARE(drawnBy(&cached_), drawnBy(plain_.get()));
    }
};

QTEST_MAIN(TestIndicatorCacheStyle)
#include "tst_indicatorcachestyle.moc"
