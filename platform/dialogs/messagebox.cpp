#include "messagebox.h"

#include <QCoreApplication>
#include <QMessageBox>

namespace dialogs
{

namespace
{

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case style::Critical:
        return QMessageBox::Critical;
    case style::Question:
        return QMessageBox::Question;
    case style::Exclamation:
        return QMessageBox::Warning;
    case style::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

QMessageBox::StandardButtons buttonsFor(int style)
{
    switch (style & 0x0F) {
    case 1:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case 2:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case 3:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case 4:
        return QMessageBox::Yes | QMessageBox::No;
    case 5:
        return QMessageBox::Retry | QMessageBox::Cancel;
    default:
        return QMessageBox::Ok;
    }
}

int answerFor(int button)
{
    switch (button) {
    case QMessageBox::Cancel:
        return 2;
    case QMessageBox::Abort:
        return 3;
    case QMessageBox::Retry:
        return 4;
    case QMessageBox::Ignore:
        return 5;
    case QMessageBox::Yes:
        return 6;
    case QMessageBox::No:
        return 7;
    default:
        return 1;
    }
}

} // namespace

int QtMessageBox::show(const QString &text, int style, const std::optional<QString> &title)
{
    QMessageBox box(iconFor(style), title.value_or(QCoreApplication::applicationName()), text,
                    buttonsFor(style), parent_);
    box.setObjectName(QStringLiteral("messageBox"));
    return answerFor(box.exec());
}

} // namespace dialogs
