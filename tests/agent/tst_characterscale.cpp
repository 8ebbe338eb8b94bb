// The character on a high-density screen: run with QT_SCALE_FACTOR set (CTest
// runs it at 1, 2 and 1.5). Each character pixel becomes a whole block of
// device pixels, exact copies without smoothing.
#include "agentcharacter.h"
#include "defaultcharacter.h"

#include <QApplication>
#include <QtTest>

class TestCharacterScale : public QObject
{
    Q_OBJECT

  private slots:
    void pixelsAreWholeBlocks();
};

void TestCharacterScale::pixelsAreWholeBlocks()
{
    agent::AgentCharacter character(std::make_unique<agent::DefaultCharacter>());
    character.show(true);
    agent::CharacterWindow &window = character.window();
    const qreal ratio = window.devicePixelRatioF();
    const int scale = window.pixelScale();
    QCOMPARE(scale,
             std::max(1, qRound(qEnvironmentVariable("QT_SCALE_FACTOR", QStringLiteral("1")).toDouble())));

    const QImage frame = window.frame();
    const QImage shown = window.grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    // The window covers the enlarged frame in device pixels.
    QVERIFY(shown.width() >= frame.width() * scale && shown.width() <= frame.width() * scale + qCeil(ratio));
    if (qFuzzyCompare(ratio, qreal(scale))) QCOMPARE(shown.size(), frame.size() * scale);

    int differing = 0;
    for (int y = 0; y < frame.height() * scale; ++y)
        for (int x = 0; x < frame.width() * scale; ++x)
            differing += shown.pixel(x, y) != frame.pixel(x / scale, y / scale);
    QCOMPARE(differing, 0);

    character.hide();
}

QTEST_MAIN(TestCharacterScale)
#include "tst_characterscale.moc"
