#include "balloonsettings.h"
#include "balloonwidget.h"
#include "textblocks.h"
#include "textmeasure.h"

#include <QApplication>
#include <QListView>
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

// The text without its spaces and line breaks: what a view must keep of it,
// however it breaks the lines.
QString visibleCharacters(const QString &text)
{
    QString kept;
    for (QChar c : text)
        if (!c.isSpace()) kept += c;
    return kept;
}

// Scrolls to the end until the view holds no more.
void scrollToTheEnd(QPlainTextEdit &view)
{
    QScrollBar *bar = view.verticalScrollBar();
    for (int previous = -1; bar->maximum() != previous;) {
        previous = bar->maximum();
        bar->setValue(bar->maximum());
    }
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
    void textBlocksBoundLayout_data();
    void textBlocksBoundLayout();
    void headingsAndLabelsAreOneLine_data();
    void headingsAndLabelsAreOneLine();
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
    QTest::newRow("a million characters without a break")
        << QString(1 << 20, QLatin1Char('x')) << true << true;
    QTest::newRow("a million line breaks") << QString(1 << 20, QLatin1Char('\n')) << false << true;
}

void TestBalloonSizing::followsContent()
{
    QFETCH(QString, text);
    QFETCH(bool, wide);
    QFETCH(bool, scrolls);

    const auto balloon = placedBalloon(text);
    QVERIFY(screen.contains(balloon->geometry()));
    // However long the text, the balloon leaves the character in view.
    QVERIFY(!balloon->geometry().intersects(character));

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
    // All of it can be scrolled to, nothing lost or added.
    auto *scrolled = const_cast<QPlainTextEdit *>(view);
    scrollToTheEnd(*scrolled);
    QCOMPARE(visibleCharacters(view->toPlainText()), visibleCharacters(text));
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

void TestBalloonSizing::textBlocksBoundLayout_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("blocks"); // the start of the result; | stands for U+2028

    QTest::newRow("a few lines stay paragraphs")
        << QStringLiteral("a\r\nb\rc\n\nd") << QStringLiteral("a\nb\nc\n\nd");
    QTest::newRow("many short lines share a block")
        << QStringLiteral("a\r\n").repeated(sharedBlockLines + 1) << QStringLiteral("a|a|a|a");
    QTest::newRow("a long paragraph is cut at its last space before the limit")
        << QString(pieceLimit - 10, QLatin1Char('a')) + QStringLiteral(" bb cc") +
               QString(20, QLatin1Char('d'))
        << QString(pieceLimit - 10, QLatin1Char('a')) + QStringLiteral(" bb\ncc");
    QTest::newRow("an unbroken run is cut at the limit")
        << QString(pieceLimit + 5, QLatin1Char('x'))
        << QString(pieceLimit, QLatin1Char('x')) + QStringLiteral("\nxxxxx");
    QTest::newRow("never inside a surrogate pair")
        << QString(pieceLimit - 1, QLatin1Char('x')) + QStringLiteral("😀😀")
        << QString(pieceLimit - 1, QLatin1Char('x')) + QStringLiteral("\n😀😀");
}

void TestBalloonSizing::textBlocksBoundLayout()
{
    QFETCH(QString, text);
    QFETCH(QString, blocks);
    const QString shaped = textBlocks(text);
    QCOMPARE(shaped.left(blocks.size()), QString(blocks).replace(QLatin1Char('|'), QChar::LineSeparator));
    QCOMPARE(visibleCharacters(shaped), visibleCharacters(text));
}

void TestBalloonSizing::headingsAndLabelsAreOneLine_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("line");
    QTest::newRow("plain") << QStringLiteral("Heading") << QStringLiteral("Heading");
    QTest::newRow("line breaks and tabs") << QStringLiteral("a\r\nb\tc\u2028d") << QStringLiteral("a  b c d");
    QTest::newRow("a million line breaks")
        << QString(1 << 20, QLatin1Char('\n')) << QString(10, QLatin1Char(' ')) + QChar(0x2026);
    QTest::newRow("cut before a surrogate pair")
        << QStringLiteral("123456789😀") << QStringLiteral("123456789") + QChar(0x2026);
}

void TestBalloonSizing::headingsAndLabelsAreOneLine()
{
    QFETCH(QString, text);
    QFETCH(QString, line);
    QCOMPARE(oneLine(text, 10), line);
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

    // Huge labels are shortened once, for good.
    const auto huge = placedBalloon(QString(), MessageKind::Labels,
                                    {QString(1 << 20, QLatin1Char('a')), QStringLiteral("b\nc")});
    const auto *list = huge->findChild<QListView *>(QLatin1String(BalloonWidget::labelsName));
    QVERIFY(list);
    QVERIFY(list->model()->index(0, 0).data().toString().size() < 1000);
    QCOMPARE(list->model()->index(1, 0).data().toString(), QStringLiteral("b c"));
}

QTEST_MAIN(TestBalloonSizing)
#include "tst_balloonsizing.moc"
