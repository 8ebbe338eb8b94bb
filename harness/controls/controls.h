// Window controls with the event rules the handlers rely on: a change made
// in code raises the control's click event exactly where a user's change
// would, and nowhere else.
//
// Each family has one signal for its click event, emitted for the user's
// change and for a change made in code alike; the window connects it to the
// handler through its event entry. A code-made change emits it synchronously,
// inside the event that made the change.
#pragma once

#include "component/value.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QObject>
#include <QPlainTextEdit>

#include <map>
#include <optional>

class QButtonGroup;
class QRadioButton;

namespace harness
{

// An indexed array of option buttons sharing one frame and one handler.
class OptionGroup : public QObject
{
    Q_OBJECT
  public:
    OptionGroup(const QString &name, QObject *parent);

    void addButton(QRadioButton *button, int index);
    QRadioButton *button(int index) const;
    bool isSelected(int index) const;
    // Selects the button with this index; raises the click event when it was
    // not selected. No such button is an error.
    void select(int index);

  signals:
    // The click event: a button that was not selected became selected.
    void clicked(int16_t index);

  private:
    QButtonGroup *group_;
    std::map<int, QRadioButton *> buttons_;
};

// Values 0 unchecked, 1 checked, 2 greyed. The user toggles between 0 and 1;
// only code sets the greyed state.
class CheckBox : public QCheckBox
{
    Q_OBJECT
  public:
    explicit CheckBox(QWidget *parent = nullptr);

    int value() const;
    // Raises the click event only when the value really changes.
    void setValue(int value);

  signals:
    // The click event: the value changed, by the user or by setValue().
    void valueChanged();

  protected:
    void nextCheckState() override;
};

// The drop-down list with an editable text field. Adding or clearing items
// raises nothing; typing raises nothing and adds nothing, Enter included.
class LanguageList : public QComboBox
{
    Q_OBJECT
  public:
    explicit LanguageList(QWidget *parent = nullptr);

    void clearItems();
    // An item stands for a value, which the click handler reads.
    void addItemAt(int index, const QString &text, int32_t value);
    int selectedIndex() const { return currentIndex(); }
    // The selected item's value; nothing when no item is selected.
    std::optional<int32_t> selectedValue() const;
    // Raises the click event when the selected item changes; -1 selects none.
    void setSelectedIndex(int index);

  signals:
    // The click event: the user picked an item (even the selected one), or
    // setSelectedIndex() changed the selection.
    void clicked();

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
};

// The multi-line text box: its text is lines joined with CR LF.
class TextBox : public QPlainTextEdit
{
    Q_OBJECT
  public:
    explicit TextBox(QWidget *parent = nullptr);
    QString text() const;
    void setText(const QString &text);
};

// The image control: shows a picture unstretched and hands it out.
class PictureBox : public QLabel
{
    Q_OBJECT
  public:
    explicit PictureBox(QWidget *parent = nullptr);
    const component::Picture &picture() const { return picture_; }
    void setPicture(const component::Picture &picture);

  private:
    component::Picture picture_;
};

// A swatch label shows one colour as its background, 0x00BBGGRR.
void setSwatchColor(QLabel &swatch, int32_t colorRef);
int32_t swatchColor(const QLabel &swatch);

} // namespace harness
