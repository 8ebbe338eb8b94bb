// Answers dialogs and message boxes without showing them while a run is
// unattended, so that nothing waits on a person: a file or colour dialog
// as a cancel, a message box with its most cautious button. Each answer is
// reported in one line. While a person is there, everything goes on to the
// providers that show it.
#pragma once

#include "dialogprovider.h"
#include "messagebox.h"

#include <functional>

namespace dialogs
{

class UnattendedAnswers final : public DialogProvider, public MessageBoxService
{
  public:
    using Report = std::function<void(const QString &line)>;
    UnattendedAnswers(DialogProvider &dialogs, MessageBoxService &boxes, std::function<bool()> unattended,
                      Report report)
        : dialogs_(dialogs), boxes_(boxes), unattended_(std::move(unattended)), report_(std::move(report))
    {
    }

    std::optional<QString> openFile(const QString &title, const QString &filter,
                                    const QString &initialFile) override;
    std::optional<QColor> pickColor(const QColor &initial) override;
    int show(const QString &text, int style, const std::optional<QString> &title) override;

    // The answer of a box nobody is there to read: Cancel, No or Abort when
    // the box offers one, else OK.
    static int cautiousAnswer(int style);

  private:
    DialogProvider &dialogs_;
    MessageBoxService &boxes_;
    std::function<bool()> unattended_;
    Report report_;
};

} // namespace dialogs
