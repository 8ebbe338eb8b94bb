#include "balloonsettings.h"
#include "balloonwidget.h"
#include "textmeasure.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QTest>

using namespace balloon;

namespace
{

const QRect screen(0, 0, 1024, 768);
const QRect character(400, 600, 96, 96);

std::unique_ptr<BalloonWidget> placedBalloon(const QString &text, MessageKind kind = MessageKind::Plain,
                                             QStringList labels = {})
{
    BalloonRequest request;
    request.kind = kind;
    request.heading = QStringLiteral("Heading");
    request.text = text;
    request.labels = std::move(labels);
    request.icon = IconType::Inform;
    request.buttonsType = 8;
    auto w = std::make_unique<BalloonWidget>(request, BalloonSettings().style());
    w->placeBeside(character, {screen});
    return w;
}

// Every visible part of the balloon lies inside the window.
bool contentInside(const QWidget &balloon)
{
    const QRect inside = balloon.rect();
    for (const QWidget *child : balloon.findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (!child->isHidden() && !inside.contains(child->geometry())) return false;
    return true;
}

} // namespace

class TestBalloonSizing : public QObject
{
    Q_OBJECT
  private slots:
    void followsContent_data();
    void followsContent();
    void unbrokenWordWrapsAnywhere();
    void measuringStopsAtTheCap();
    void longLabelListScrolls();
};

void TestBalloonSizing::followsContent_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("wide"); // reaches the readable measure
    QTest::addColumn<bool>("scrolls");

    QTest::newRow("short text") << QStringLiteral("Hello.") << false << false;
    QTest::newRow("long text") << QStringLiteral("A sentence that goes on. ").repeated(20) << true << false;
    QTest::newRow("unbroken text") << QString(600, QLatin1Char('x')) << true << false;
    QTest::newRow("harness sample text, four lines that fit")
        << QStringLiteral(
               "This is simple message, which should appear\r\non your screen. The sizes of a window are\r\n"
               "automatically selected, proceeding from that text,\r\nwhich needs to be displayed on the "
               "screen")
        << true << false;
    QTest::newRow("many lines") << QStringLiteral("line\r\n").repeated(500) << false << true;
    QTest::newRow("huge text") << QStringLiteral("word ").repeated(200 * 1024) << true << true;
}

void TestBalloonSizing::followsContent()
{
    QFETCH(QString, text);
    QFETCH(bool, wide);
    QFETCH(bool, scrolls);

    const auto balloon = placedBalloon(text);
    QVERIFY(screen.contains(balloon->geometry()));

    balloon->show();
    QVERIFY(QTest::qWaitForWindowExposed(balloon.get()));
    const auto *view = balloon->findChild<QPlainTextEdit *>(QLatin1String(BalloonWidget::textName));
    QVERIFY(view);
    const int textWidth = view->width();
    const int readable = QFontMetrics(view->font()).averageCharWidth() * 64;
    if (wide)
        QVERIFY2(textWidth >= std::min(readable, 240) - 8, qPrintable(QString::number(textWidth)));
    else
        QVERIFY2(textWidth < readable, qPrintable(QString::number(textWidth)));
    QVERIFY(textWidth <= std::max(readable, 520));
    QCOMPARE(view->verticalScrollBar()->maximum() > 0, scrolls);
    QVERIFY(contentInside(*balloon));
    QCOMPARE(view->toPlainText().size(),
             QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")).size());
}

void TestBalloonSizing::unbrokenWordWrapsAnywhere()
{
    const QFont font = QApplication::font();
    const TextExtent one = measureText(QStringLiteral("x"), font, 200, 1000);
    const TextExtent word = measureText(QString(500, QLatin1Char('x')), font, 200, 1000);
    QVERIFY(word.size.width() <= 200);
    QVERIFY(word.size.height() >= 5 * one.size.height());
    QVERIFY(!word.overflows);
}

void TestBalloonSizing::measuringStopsAtTheCap()
{
    const QString huge =
        QStringLiteral("word ").repeated(200 * 1024) + QLatin1Char('\n') + QString(300000, QLatin1Char('y'));
    const TextExtent e = measureText(huge, QApplication::font(), 300, 500);
    QVERIFY(e.overflows);
    QCOMPARE(e.size.height(), 500);
}

void TestBalloonSizing::longLabelListScrolls()
{
    QStringList labels;
    for (int i = 0; i < 10000; ++i)
        labels << QStringLiteral("Label %1").arg(i);
    const auto balloon = placedBalloon(QString(), MessageKind::Labels, labels);
    balloon->show();
    QVERIFY(QTest::qWaitForWindowExposed(balloon.get()));
    QVERIFY(screen.contains(balloon->geometry()));
    QVERIFY(contentInside(*balloon));
    QVERIFY(balloon->height() < 500);
}

QTEST_MAIN(TestBalloonSizing)
#include "tst_balloonsizing.moc"
