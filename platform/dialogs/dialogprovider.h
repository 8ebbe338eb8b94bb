// The modal dialogs the platform shows, behind one small interface so that
// tests answer them from a script and never block.
#pragma once

#include <QColor>
#include <QString>

#include <optional>

class QWidget;

namespace dialogs
{

class DialogProvider
{
  public:
    virtual ~DialogProvider() = default;
    // filter is in Qt's form: "Description (*.ext)". Nothing when cancelled.
    virtual std::optional<QString> openFile(const QString &title, const QString &filter,
                                            const QString &initialFile) = 0;
    virtual std::optional<QColor> pickColor(const QColor &initial) = 0;
};

// Qt's own file and colour dialogs.
class QtDialogProvider final : public DialogProvider
{
  public:
    explicit QtDialogProvider(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    std::optional<QString> openFile(const QString &title, const QString &filter,
                                    const QString &initialFile) override;
    std::optional<QColor> pickColor(const QColor &initial) override;

  private:
    QWidget *parent_;
};

// Answers the first file dialog with a preset answer (a file, or a cancel
// when the answer is empty) and hands everything else to another provider.
class PresetFirstOpen final : public DialogProvider
{
  public:
    PresetFirstOpen(DialogProvider &next, QString answer) : next_(next), answer_(std::move(answer)) {}
    std::optional<QString> openFile(const QString &title, const QString &filter,
                                    const QString &initialFile) override;
    std::optional<QColor> pickColor(const QColor &initial) override { return next_.pickColor(initial); }

  private:
    DialogProvider &next_;
    std::optional<QString> answer_;
};

} // namespace dialogs
