#include "controls.h"

#include "component/colorref.h"
#include "component/dispatch.h"
#include "harness/base/harnesserror.h"

#include <QButtonGroup>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRadioButton>
#include <QSignalBlocker>

namespace harness
{

OptionGroup::OptionGroup(const QString &name, QObject *parent)
    : QObject(parent), group_(new QButtonGroup(this))
{
    setObjectName(name);
    group_->setExclusive(true);
    // select() blocks the group's signals and emits clicked itself, so this
    // sees only the user.
    connect(group_, &QButtonGroup::idToggled, this, [this](int id, bool checked) {
        if (checked) emit clicked(int16_t(id));
    });
}

void OptionGroup::addButton(QRadioButton *button, int index)
{
    group_->addButton(button, index);
    buttons_[index] = button;
}

QRadioButton *OptionGroup::button(int index) const
{
    const auto it = buttons_.find(index);
    return it == buttons_.end() ? nullptr : it->second;
}

bool OptionGroup::isSelected(int index) const
{
    const QRadioButton *b = button(index);
    return b && b->isChecked();
}

void OptionGroup::select(int index)
{
    QRadioButton *b = button(index);
    if (!b) throw HarnessError(340, QStringLiteral("Control array element '%1' doesn't exist").arg(index));
    if (b->isChecked()) return;
    {
        const QSignalBlocker blocker(group_);
        b->setChecked(true);
    }
    emit clicked(int16_t(index));
}

CheckBox::CheckBox(QWidget *parent) : QCheckBox(parent)
{
    // Any change not made by setValue() is the user's: a click, a key, or an
    // assistive tool's toggle, which sets the state without a click.
    connect(this, &QCheckBox::stateChanged, this, &CheckBox::valueChanged);
}

int CheckBox::value() const
{
    switch (checkState()) {
    case Qt::Checked:
        return 1;
    case Qt::PartiallyChecked:
        return 2;
    default:
        return 0;
    }
}

void CheckBox::setValue(int value)
{
    if (value < 0 || value > 2)
        throw HarnessError(component::error::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    if (value == this->value()) return;
    {
        const QSignalBlocker blocker(this);
        setCheckState(value == 1 ? Qt::Checked : value == 2 ? Qt::PartiallyChecked : Qt::Unchecked);
    }
    // Emitted once the state is complete, not from inside QCheckBox.
    emit valueChanged();
}

void CheckBox::nextCheckState()
{
    setCheckState(checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
}

LanguageList::LanguageList(QWidget *parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    lineEdit()->installEventFilter(this);
    installEventFilter(this);
    connect(this, &QComboBox::activated, this, &LanguageList::clicked);
}

void LanguageList::clearItems()
{
    const QSignalBlocker blocker(this);
    const QString text = currentText();
    clear();
    setEditText(text);
}

void LanguageList::addItemAt(int index, const QString &text, int32_t value)
{
    if (index < 0 || index > count())
        throw HarnessError(component::error::InvalidProcedureCall,
                           QStringLiteral("Invalid procedure call or argument"));
    const QSignalBlocker blocker(this);
    const int selected = currentIndex();
    const QString editText = currentText();
    insertItem(index, text, value);
    // Adding an item never changes the selection; Qt would select the first one.
    const int keep = selected < 0 ? -1 : (selected >= index ? selected + 1 : selected);
    setCurrentIndex(keep);
    if (keep < 0) setEditText(editText);
}

void LanguageList::setSelectedIndex(int index)
{
    if (index < -1 || index >= count())
        throw HarnessError(component::error::InvalidPropertyValue, QStringLiteral("Invalid property value"));
    if (index == currentIndex()) return;
    {
        const QSignalBlocker blocker(this);
        setCurrentIndex(index);
    }
    emit clicked();
}

std::optional<int32_t> LanguageList::selectedValue() const
{
    if (currentIndex() < 0) return std::nullopt;
    return currentData().toInt();
}

bool LanguageList::eventFilter(QObject *watched, QEvent *event)
{
    // Enter in the text field would pick a matching item; here it does nothing.
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && (watched == lineEdit() || watched == this))
            return true;
    }
    return QComboBox::eventFilter(watched, event);
}

TextBox::TextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setTabChangesFocus(true);
}

QString TextBox::text() const
{
    QString text = toPlainText();
    text.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return text;
}

void TextBox::setText(const QString &text)
{
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    setPlainText(plain);
}

PictureBox::PictureBox(QWidget *parent) : QLabel(parent)
{
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(false);
}

void PictureBox::setPicture(const component::Picture &picture)
{
    picture_ = picture;
    setPixmap(QPixmap::fromImage(picture.image));
}

void setSwatchColor(QLabel &swatch, int32_t colorRef)
{
    QPalette p = swatch.palette();
    p.setColor(QPalette::Window, component::colorFromRef(colorRef));
    swatch.setPalette(p);
}

int32_t swatchColor(const QLabel &swatch)
{
    return component::colorRefFrom(swatch.palette().color(QPalette::Window));
}

} // namespace harness
