#include "messageactions.h"

#include "platform/dialogs/messagebox.h"

namespace harness
{

using namespace component;

QStringList MessageActions::splitLabels(const QString &text)
{
    if (text.isEmpty()) return {};
    return text.split(QLatin1String("\r\n"), Qt::KeepEmptyParts, Qt::CaseSensitive);
}

bool MessageActions::refused(const MsgResult &result)
{
    if (result.Status != 1) return false;
    c_.messages.show(QStringLiteral("Window of the message already on the screen."), dialogs::style::Critical,
                     QStringLiteral("Error"));
    return true;
}

void MessageActions::report(const QString &text)
{
    c_.messages.show(text, dialogs::style::OkOnly, std::nullopt);
}

void MessageActions::cmbMsgShow()
{
    const QString heading = c_.controls.txtCaption->text();
    const QString text = c_.controls.txtText->text();
    const MsgResult result = c_.vellix.ShowVellix(heading, text, c_.state);
    if (!refused(result)) report(QString::number(result.Button));
}

void MessageActions::cmbMsgInput()
{
    const QString heading = c_.controls.txtCaption->text();
    const QString text = c_.controls.txtText->text();
    const MsgResult result = c_.vellix.MsgInput(heading, text, c_.state);
    if (!refused(result))
        report(QStringLiteral("You have entered the text: ") + result.Text + QStringLiteral(" Button: ") +
               QString::number(result.Button));
}

void MessageActions::cmbLabelsShow()
{
    Value labels = splitLabels(c_.controls.txtText->text());
    const QString heading = c_.controls.txtCaption->text();
    const MsgResult result = c_.vellix.MsgLabels(heading, labels, c_.state);
    if (!refused(result))
        report(QStringLiteral("Label selected: ") + QString::number(result.Label) +
               QStringLiteral(" Button: ") + QString::number(result.Button));
}

} // namespace harness
