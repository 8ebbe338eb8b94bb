#include "unattendedanswers.h"

namespace dialogs
{

namespace
{

// Answers as QtMessageBox reports them.
constexpr int Ok = 1, Cancel = 2, Abort = 3, No = 7;

QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    return text;
}

} // namespace

int UnattendedAnswers::cautiousAnswer(int style)
{
    switch (style & 0x0F) {
    case 1: // OK, Cancel
    case 3: // Yes, No, Cancel
    case 5: // Retry, Cancel
        return Cancel;
    case 2: // Abort, Retry, Ignore
        return Abort;
    case 4: // Yes, No
        return No;
    default:
        return Ok;
    }
}

std::optional<QString> UnattendedAnswers::openFile(const QString &title, const QString &filter,
                                                   const QString &initialFile)
{
    if (!unattended_()) return dialogs_.openFile(title, filter, initialFile);
    report_(QStringLiteral("unattended: the file dialog \"%1\" is answered as a cancel").arg(oneLine(title)));
    return std::nullopt;
}

std::optional<QColor> UnattendedAnswers::pickColor(const QColor &initial)
{
    if (!unattended_()) return dialogs_.pickColor(initial);
    report_(QStringLiteral("unattended: the colour dialog is answered as a cancel"));
    return std::nullopt;
}

int UnattendedAnswers::show(const QString &text, int style, const std::optional<QString> &title)
{
    if (!unattended_()) return boxes_.show(text, style, title);
    const int answer = cautiousAnswer(style);
    report_(QStringLiteral("unattended: the message box \"%1\" is answered with %2")
                .arg(oneLine(text))
                .arg(answer));
    return answer;
}

} // namespace dialogs
