// Window controls with the event rules the handlers rely on: a change made
// in code raises the control's click handler exactly where a user's change
// would, and nowhere else.
//
// A code-made change calls the handler directly, inside the event that made
// it. A user's change arrives as a Qt signal and goes through the window's
// event entry (userClicked / userPicked).
#pragma once

#include <QCheckBox>
#include <QComboBox>
#include <QObject>
#include <QPlainTextEdit>

#include <functional>
#include <map>

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
    // Selects the button with this index; raises the handler when it was not
    // selected. No such button is an error.
    void select(int index);

    std::function<void(int16_t)> onClick;

  signals:
    void userClicked(int16_t index);

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
    // Raises the handler only when the value really changes.
    void setValue(int value);

    std::function<void()> onClick;

  signals:
    void userClicked();

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
    void addItemAt(int index, const QString &text);
    int selectedIndex() const { return currentIndex(); }
    // Raises the handler when the selected item changes; -1 selects none.
    void setSelectedIndex(int index);

    std::function<void()> onClick;

  signals:
    void userPicked();

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

} // namespace harness
