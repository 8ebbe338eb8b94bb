// The window's controls: what raises a handler and what does not, the text
// boxes' line breaks, layout, focus and names for assistive technology.
#include "harnessfixture.h"

#include "harness/controls/controltable.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalSpy>
#include <QtTest>

using namespace component;

namespace
{

// Clicks where a radio button takes clicks: on its indicator, not its row.
void clickRadio(QRadioButton *radio)
{
    QStyleOptionButton option;
    option.initFrom(radio);
    const QRect r = radio->style()->subElementRect(QStyle::SE_RadioButtonClickRect, &option, radio);
    QTest::mouseClick(radio, Qt::LeftButton, {}, r.center());
}

// Types text as one key event, as an input method would: QTest only types Latin-1.
void typeText(QWidget *w, const QString &text)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, text);
    QApplication::sendEvent(w, &press);
}

} // namespace

class TestControls : public QObject
{
    Q_OBJECT
    std::unique_ptr<HarnessFixture> f;

  private slots:
    void init()
    {
        f = std::make_unique<HarnessFixture>();
        QVERIFY(f->start());
        f->takeTrace();
    }
    void cleanup() { f.reset(); }

    void optionGroupRaisesOnlyOnANewSelection()
    {
        harness::OptionGroup &place = f->window->controls().group("optBalloonPlace");
        place.select(0); // already selected
        QCOMPARE(f->takeCalls(), QStringList());
        place.select(4);
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put BalloonPlace [4]")});
        clickRadio(place.button(2));
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put BalloonPlace [2]")});
        clickRadio(place.button(2)); // clicking the selected one changes nothing
        QCOMPARE(f->takeCalls(), QStringList());
    }

    void groupsInOtherFramesStayAsTheyAre()
    {
        harness::Controls &c = f->window->controls();
        clickRadio(c.group("optIconType").button(1));
        QCOMPARE(f->window->state().IconType, Value(int32_t(1)));
        QVERIFY(c.group("optMsgType").isSelected(0));
        QVERIFY(c.group("optbuttontype").isSelected(0));
        QVERIFY(c.group("optAlignCaptionType").isSelected(2));
    }

    void checkBoxRaisesOnlyOnARealChange()
    {
        harness::CheckBox &separator = f->window->controls().check("chkLineSeparator");
        separator.setValue(1);
        QCOMPARE(f->takeCalls(), QStringList());
        separator.setValue(2); // greyed counts as off
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put LineSeparator [false]")});
        separator.setValue(0);
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put LineSeparator [false]")});
        QTest::mouseClick(&separator, Qt::LeftButton);
        QCOMPARE(separator.value(), 1);
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put LineSeparator [true]")});
        QTest::mouseClick(&separator, Qt::LeftButton); // the user never reaches the greyed state
        QCOMPARE(separator.value(), 0);
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put LineSeparator [false]")});
        separator.toggle(); // an assistive tool's Toggle sets the state without a click
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put LineSeparator [true]")});
    }

    void languageListRaisesOnlyForASelection()
    {
        harness::LanguageList &list = *f->window->controls().cdLanguage;
        list.clearItems();
        list.addItemAt(0, QStringLiteral("English"), 200);
        list.addItemAt(0, QStringLiteral("Русский"), 100);
        QCOMPARE(list.selectedIndex(), -1);
        QCOMPARE(f->takeCalls(), QStringList());
        list.setSelectedIndex(0);
        QCOMPARE(f->takeCalls(), QStringList{QStringLiteral("Vellix1 put Language [100]")});
        list.setSelectedIndex(0);
        list.setSelectedIndex(-1); // no selection changes nothing
        QCOMPARE(f->takeCalls(), QStringList());
    }

    // Each family raises its event through one signal, once per change,
    // whether the user or code made it.
    void oneSignalPerChangeFromUserAndCode()
    {
        harness::Controls &c = f->window->controls();
        harness::OptionGroup &place = c.group("optBalloonPlace");
        harness::CheckBox &modal = c.check("chkModal");
        harness::LanguageList &language = *c.cdLanguage;
        QSignalSpy placeClicks(&place, &harness::OptionGroup::clicked);
        QSignalSpy modalChanges(&modal, &harness::CheckBox::valueChanged);
        QSignalSpy languageClicks(&language, &harness::LanguageList::clicked);

        place.select(3);
        place.select(3);
        clickRadio(place.button(1));
        QCOMPARE(placeClicks.count(), 2);
        QCOMPARE(placeClicks.at(0).at(0).value<int16_t>(), int16_t(3));
        QCOMPARE(placeClicks.at(1).at(0).value<int16_t>(), int16_t(1));

        modal.setValue(2);
        modal.setValue(2);
        QTest::mouseClick(&modal, Qt::LeftButton);
        QCOMPARE(modalChanges.count(), 2);

        language.setSelectedIndex(0);
        language.setSelectedIndex(0);
        QTest::keyClick(&language, Qt::Key_Down); // the user picks the next item
        QCOMPARE(language.selectedIndex(), 1);
        QCOMPARE(languageClicks.count(), 2);
        QCOMPARE(f->takeCalls(), (QStringList{QStringLiteral("Vellix1 put BalloonPlace [3]"),
                                              QStringLiteral("Vellix1 put BalloonPlace [1]"),
                                              QStringLiteral("Vellix1 put Language [100]"),
                                              QStringLiteral("Vellix1 put Language [200]")}));
    }

    void typingInTheLanguageFieldRaisesNothing()
    {
        f->window->show();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        harness::LanguageList &list = *f->window->controls().cdLanguage;
        list.lineEdit()->setFocus();
        list.lineEdit()->selectAll();
        typeText(list.lineEdit(), QStringLiteral("Русский"));
        QTest::keyClick(list.lineEdit(), Qt::Key_Return);
        list.lineEdit()->selectAll();
        QTest::keyClicks(list.lineEdit(), QStringLiteral("Klingon"));
        QTest::keyClick(list.lineEdit(), Qt::Key_Enter);
        QCOMPARE(list.count(), 2);
        QCOMPARE(list.selectedIndex(), 1);
        QCOMPARE(list.currentText(), QStringLiteral("Klingon"));
        QCOMPARE(f->takeCalls(), QStringList());
    }

    void messageTextKeepsCrLfAndEnterPressesNothing()
    {
        f->window->show();
        QVERIFY(QTest::qWaitForWindowActive(f->window.get()));
        harness::TextBox &text = *f->window->controls().txtText;
        text.setText(QStringLiteral("один\r\n\r\nשלום 👋"));
        QCOMPARE(text.text(), QStringLiteral("один\r\n\r\nשלום 👋"));
        text.setFocus();
        text.moveCursor(QTextCursor::End);
        QTest::keyClick(&text, Qt::Key_Return);
        QTest::keyClicks(&text, QStringLiteral("x"));
        QCOMPARE(text.text(), QStringLiteral("один\r\n\r\nשלום 👋\r\nx"));
        QCOMPARE(f->takeCalls(), QStringList());
        QVERIFY(f->boxes.boxes.empty());
    }

    void layoutFollowsTheTable()
    {
        harness::FrmMain &w = *f->window;
        QCOMPARE(w.size(), QSize(507, 448));
        QCOMPARE(w.windowTitle(), QStringLiteral("Testing of core (Please excuse me for bad English)"));
        for (const harness::ControlDef &def : harness::controls()) {
            QWidget *widget = w.findChild<QWidget *>(QString::fromLatin1(def.name));
            QVERIFY2(widget, def.name);
            if (qstrcmp(def.name, "Vellix1") != 0) QCOMPARE(widget->geometry(), harness::toPixels(def.twips));
            QCOMPARE(widget->accessibleDescription(), QString::fromLatin1(def.name));
            QVERIFY2(!widget->accessibleName().isEmpty(), def.name);
            const char *frame = def.container ? def.container : nullptr;
            QCOMPARE(widget->parentWidget()->objectName(), QString::fromLatin1(frame ? frame : "frmMain"));
        }
        // The wide "above right" button, and groups inside their own frames.
        QRadioButton *aboveRight = w.controls().group("optBalloonPlace").button(1);
        QCOMPARE(aboveRight->geometry(), QRect(10, 32, 107, 19));
        QCOMPARE(aboveRight->parentWidget()->objectName(), QStringLiteral("fraBalloonPlace"));
        QCOMPARE(w.controls().group("optbuttontype").button(14)->geometry().top(),
                 harness::toPixels(240 + 240 * 14));
    }

    void focusStartsAtShowVellixAndFollowsTheTabOrder()
    {
        harness::FrmMain &w = *f->window;
        w.show();
        QVERIFY(QTest::qWaitForWindowActive(&w));
        QPushButton &first = w.controls().button("cmbMsgShow");
        first.setFocus();
        QCOMPARE(first.nextInFocusChain()->objectName(), QStringLiteral("optMsgType"));
        w.controls().txtText->setFocus();
        QTest::keyClick(w.controls().txtText, Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w.controls().group("optIconType").button(6));
        for (const char *never : {"fraType", "lblBackColor", "lblLanguage", "imgCustomIcon"})
            QCOMPARE(w.findChild<QWidget *>(QLatin1String(never))->focusPolicy(), Qt::NoFocus);
    }
};

QTEST_MAIN(TestControls)
#include "tst_controls.moc"
