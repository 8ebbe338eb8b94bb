// The built-in robot: every frame fits its window, every state names real
// animations, and every animation can be left.
#include "defaultcharacter.h"

#include <QtTest>

using namespace agent;

namespace
{

int opaquePixels(const QImage &image)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qAlpha(image.pixel(x, y)) != 0;
    return count;
}

// Anything painted on the outermost pixels was probably cut off by the frame.
bool touchesTheEdge(const QImage &image)
{
    for (int i = 0; i < image.width(); ++i)
        if (qAlpha(image.pixel(i, 0)) || qAlpha(image.pixel(i, image.height() - 1))) return true;
    for (int j = 0; j < image.height(); ++j)
        if (qAlpha(image.pixel(0, j)) || qAlpha(image.pixel(image.width() - 1, j))) return true;
    return false;
}

} // namespace

class TestDefaultCharacter : public QObject
{
    Q_OBJECT

  private slots:
    void framesFitTheWindow_data();
    void framesFitTheWindow();
    void showingGrowsIntoView();
    void statesNameItsAnimations();
    void everyAnimationCanBeLeft();

  private:
    DefaultCharacter robot_;
};

void TestDefaultCharacter::framesFitTheWindow_data()
{
    QTest::addColumn<int>("animation");
    QTest::addColumn<int>("frame");
    for (int a = 0; a < robot_.animationCount(); ++a)
        for (int f = 0; f < robot_.frameCount(a); ++f)
            QTest::addRow("%s frame %d", qPrintable(robot_.animationName(a)), f) << a << f;
}

void TestDefaultCharacter::framesFitTheWindow()
{
    QFETCH(int, animation);
    QFETCH(int, frame);
    const QImage image = robot_.frameImage(animation, frame);
    QCOMPARE(image.size(), robot_.frameSize());
    QCOMPARE(opaquePixels(image) == 0, robot_.frameIsEmpty(animation, frame));
    QVERIFY(!touchesTheEdge(image));
}

void TestDefaultCharacter::showingGrowsIntoView()
{
    const std::optional<int> showing = robot_.findAnimation(robot_.stateAnimations(state::Showing).value(0));
    QVERIFY(showing);
    int previous = 0;
    for (int f = 0; f < 3; ++f) {
        const int area = opaquePixels(robot_.frameImage(*showing, f));
        QVERIFY2(area > previous, qPrintable(QStringLiteral("frame %1").arg(f)));
        previous = area;
    }
    int total = 0;
    for (int f = 0; f < robot_.frameCount(*showing); ++f)
        total += robot_.frameDurationMs(*showing, f);
    QVERIFY(total >= 300 && total <= 800);
}

void TestDefaultCharacter::statesNameItsAnimations()
{
    for (QLatin1StringView state :
         {state::Showing, state::IdlingLevel1, state::IdlingLevel2, state::IdlingLevel3}) {
        const QStringList names = robot_.stateAnimations(state);
        QVERIFY2(!names.isEmpty(), state.data());
        for (const QString &name : names)
            QVERIFY2(robot_.findAnimation(name.toUpper()), qPrintable(name));
    }
    QVERIFY(robot_.restPose());
}

void TestDefaultCharacter::everyAnimationCanBeLeft()
{
    for (int a = 0; a < robot_.animationCount(); ++a) {
        for (int start = 0; start < robot_.frameCount(a); ++start) {
            std::optional<int> frame = start;
            int steps = 0;
            while (frame && steps++ <= robot_.frameCount(a))
                frame = robot_.nextFrame(a, *frame, 0, true);
            QVERIFY2(!frame,
                     qPrintable(QStringLiteral("%1 from frame %2").arg(robot_.animationName(a)).arg(start)));
        }
    }
}

QTEST_MAIN(TestDefaultCharacter)
#include "tst_defaultcharacter.moc"
