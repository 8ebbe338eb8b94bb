// The window as a user first meets it: every caption inside its control in
// the program's font, the start position clear of the character and its
// balloons, and windows announced as windows.
#include "harnessfixture.h"

#include "harness/controls/commandbutton.h"
#include "harness/controls/controltable.h"
#include "harness/controls/layoutfont.h"
#include "harness/window/accessibleframes.h"
#include "harness/window/windowplacement.h"

#include <QAccessible>
#include <QCheckBox>
#include <QGroupBox>
#include <QRadioButton>
#include <QtTest>

namespace
{

// Where a control draws its caption, or nothing for controls without one.
std::optional<QRect> captionRoom(QWidget *w)
{
    QStyle *style = w->style();
    if (auto *radio = qobject_cast<QRadioButton *>(w)) {
        QStyleOptionButton o;
        o.initFrom(radio);
        return style->subElementRect(QStyle::SE_RadioButtonContents, &o, radio);
    }
    if (auto *check = qobject_cast<QCheckBox *>(w)) {
        QStyleOptionButton o;
        o.initFrom(check);
        return style->subElementRect(QStyle::SE_CheckBoxContents, &o, check);
    }
    if (auto *button = qobject_cast<harness::CommandButton *>(w)) return button->captionRoom();
    if (auto *label = qobject_cast<QLabel *>(w)) return label->contentsRect();
    if (auto *group = qobject_cast<QGroupBox *>(w)) {
        // The title is laid out at its text's width; it must stay inside the frame.
        QStyleOptionGroupBox o;
        o.initFrom(group);
        o.text = group->title();
        o.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        o.lineWidth = 1;
        const QRect title = style->subControlRect(QStyle::CC_GroupBox, &o, QStyle::SC_GroupBoxLabel, group);
        return title.intersected(group->rect());
    }
    return std::nullopt;
}

QString captionOf(QWidget *w)
{
    if (auto *b = qobject_cast<QAbstractButton *>(w)) return b->text();
    if (auto *l = qobject_cast<QLabel *>(w)) return l->text();
    if (auto *g = qobject_cast<QGroupBox *>(w)) return g->title();
    return {};
}

const harness::WindowPlacementInput onScreen(QRect available)
{
    // The built-in character where start-up puts it, the window with room for
    // its frame, a sample-text balloon and the colour dialog.
    return {available,       QRect(400, 300, 128, 128), QSize(515, 480),
            QSize(360, 170), QSize(560, 420),           QPoint(80, 106)};
}

QRect keptOut(const harness::WindowPlacementInput &in)
{
    const int centre = in.character.center().x();
    return QRect(QPoint(centre + 28 - in.balloon.width(), in.character.top() - in.balloon.height()),
                 QPoint(centre - 28 + in.balloon.width(), in.character.bottom() + in.balloon.height()))
        .united(in.character);
}

} // namespace

class TestLayout : public QObject
{
    Q_OBJECT
  private slots:
    void initTestCase()
    {
        QApplication::setFont(harness::layoutFont());
        harness::announceWindowsAsFrames();
    }

    void captionsFitTheirControls_data()
    {
        QTest::addColumn<bool>("morrowby");
        QTest::newRow("fennick") << false;
        QTest::newRow("morrowby") << true;
    }
    void captionsFitTheirControls()
    {
        QFETCH(bool, morrowby);
        HarnessFixture f(morrowby ? harness::morrowby() : harness::fennick());
        QCOMPARE(QFontInfo(f.window->font()).family(), QStringLiteral("DejaVu Sans Condensed"));
        QStringList clipped;
        int measured = 0;
        for (QWidget *w : f.window->findChildren<QWidget *>()) {
            const QString caption = captionOf(w);
            const std::optional<QRect> room = captionRoom(w);
            if (caption.isEmpty() || !room) continue;
            ++measured;
            // Command buttons may wrap their caption; nothing else does.
            auto *button = qobject_cast<harness::CommandButton *>(w);
            const int flags = button ? button->captionFlags() : Qt::TextSingleLine;
            const QSize needed = w->fontMetrics().boundingRect(*room, flags, caption).size();
            if (needed.width() > room->width() || needed.height() > room->height())
                clipped << QStringLiteral("%1 \"%2\": %3x%4 in %5x%6")
                               .arg(w->objectName(), caption)
                               .arg(needed.width())
                               .arg(needed.height())
                               .arg(room->width())
                               .arg(room->height());
        }
        QVERIFY2(measured > 40, qPrintable(QString::number(measured)));
        QVERIFY2(clipped.isEmpty(), qPrintable(clipped.join(QLatin1String("; "))));
    }

    void startPositionKeepsClear_data()
    {
        QTest::addColumn<QRect>("available");
        QTest::addColumn<bool>("roomy");
        QTest::newRow("800x600: too small, design place") << QRect(0, 0, 800, 600) << false;
        QTest::newRow("1024x768: too small, design place") << QRect(0, 0, 1024, 768) << false;
        QTest::newRow("1366x768 less a panel") << QRect(0, 0, 1366, 740) << true;
        QTest::newRow("1920x1080 less a top bar") << QRect(0, 27, 1920, 1053) << true;
        QTest::newRow("2560x1440") << QRect(0, 0, 2560, 1440) << true;
        QTest::newRow("portrait 1080x1920") << QRect(0, 0, 1080, 1920) << true;
        QTest::newRow("second screen to the left") << QRect(-1920, 0, 3840, 1080) << true;
    }
    void startPositionKeepsClear()
    {
        QFETCH(QRect, available);
        QFETCH(bool, roomy);
        const harness::WindowPlacementInput in = onScreen(available);
        const QPoint corner = harness::placeMainWindow(in);
        if (!roomy) {
            QCOMPARE(corner, in.design);
            return;
        }
        const QRect window(corner, in.window);
        QRect dialog(QPoint(0, 0), in.dialog);
        dialog.moveCenter(window.center());
        for (const QRect &r : {window, dialog}) {
            QVERIFY2(available.contains(r), qPrintable(QStringLiteral("%1,%2").arg(r.x()).arg(r.y())));
            QVERIFY(!r.intersects(keptOut(in)));
        }
    }

    void designPlaceWhenAlreadyClear()
    {
        harness::WindowPlacementInput in = onScreen(QRect(0, 0, 1920, 1080));
        in.character.moveTo(1500, 800);
        QCOMPARE(harness::placeMainWindow(in), in.design);
    }

    void windowsAreAnnouncedAsWindows()
    {
        HarnessFixture f;
        QAccessibleInterface *window = QAccessible::queryAccessibleInterface(f.window.get());
        QVERIFY(window);
        QCOMPARE(window->role(), QAccessible::Window);
        QCOMPARE(window->text(QAccessible::Name),
                 QStringLiteral("Testing of core (Please excuse me for bad English)"));
        QWidget tool(nullptr, Qt::Tool | Qt::FramelessWindowHint);
        QCOMPARE(QAccessible::queryAccessibleInterface(&tool)->role(), QAccessible::Window);
        QWidget inside(f.window.get());
        QCOMPARE(QAccessible::queryAccessibleInterface(&inside)->role(), QAccessible::Client);
    }

    void swatchesOfOneColourStaySeparateBoxes()
    {
        HarnessFixture f;
        QVERIFY(f.start());
        QLabel &swatch = f.window->controls().swatch("lblTextColor");
        harness::setSwatchColor(swatch, 0);
        swatch.resize(swatch.size());
        const QImage image = swatch.grab().toImage();
        // The frame's edge differs from the black inside.
        QVERIFY(image.pixelColor(image.width() - 1, image.height() / 2) != QColor(Qt::black));
        QCOMPARE(image.pixelColor(image.width() / 2, image.height() / 2), QColor(Qt::black));
    }

    void longPathsAreShortenedInTheMiddle_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString longPath = QStringLiteral("/home/someone/characters/") + QString(60, QLatin1Char('x')) +
                                 QStringLiteral("/robby.acs");
        QTest::newRow("short words kept") << "Cannot load the character \"/a/b.acs\": truncated"
                                          << "Cannot load the character \"/a/b.acs\": truncated";
        QTest::newRow("long path elided")
            << QStringLiteral("Cannot load \"%1\": truncated").arg(longPath)
            << QStringLiteral("Cannot load \"/home/someone/characters/%1\u2026%2/robby.acs\": truncated")
                   .arg(QString(3, QLatin1Char('x')), QString(17, QLatin1Char('x')));
    }
    void longPathsAreShortenedInTheMiddle()
    {
        QFETCH(QString, text);
        QFETCH(QString, shown);
        QCOMPARE(harness::elideLongWords(text), shown);
    }
};

QTEST_MAIN(TestLayout)
#include "tst_layout.moc"
