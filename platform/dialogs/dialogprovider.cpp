#include "dialogprovider.h"

#include <QColorDialog>
#include <QFileDialog>

namespace dialogs
{

std::optional<QString> QtDialogProvider::openFile(const QString &title, const QString &filter,
                                                  const QString &initialFile)
{
    const QString file = QFileDialog::getOpenFileName(parent_, title, initialFile, filter);
    if (file.isEmpty()) return std::nullopt;
    return file;
}

std::optional<QColor> QtDialogProvider::pickColor(const QColor &initial)
{
    const QColor color = QColorDialog::getColor(initial, parent_);
    if (!color.isValid()) return std::nullopt;
    return color;
}

std::optional<QString> PresetFirstOpen::openFile(const QString &title, const QString &filter,
                                                 const QString &initialFile)
{
    if (!answer_) return next_.openFile(title, filter, initialFile);
    const QString answer = *std::exchange(answer_, std::nullopt);
    if (answer.isEmpty()) return std::nullopt;
    return answer;
}

} // namespace dialogs
