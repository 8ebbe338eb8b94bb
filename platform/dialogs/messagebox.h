// The platform message box: a text, a style and an optional title.
//
// Style values: the low four bits choose the buttons (0 OK only, 1 OK and
// Cancel, 3 Yes/No/Cancel, 4 Yes/No); 16 critical icon, 32 question,
// 48 exclamation, 64 information. The answer is the pressed button:
// 1 OK, 2 Cancel, 6 Yes, 7 No.
#pragma once

#include <QString>

#include <optional>

class QWidget;

namespace dialogs
{

namespace style
{
inline constexpr int OkOnly = 0;
inline constexpr int Critical = 16;
inline constexpr int Question = 32;
inline constexpr int Exclamation = 48;
inline constexpr int Information = 64;
} // namespace style

class MessageBoxService
{
  public:
    virtual ~MessageBoxService() = default;
    // Without a title the box bears the program's name.
    virtual int show(const QString &text, int style, const std::optional<QString> &title) = 0;
};

class QtMessageBox final : public MessageBoxService
{
  public:
    explicit QtMessageBox(QWidget *parent = nullptr) : parent_(parent) {}
    void setParent(QWidget *parent) { parent_ = parent; }
    int show(const QString &text, int style, const std::optional<QString> &title) override;

  private:
    QWidget *parent_;
};

} // namespace dialogs
