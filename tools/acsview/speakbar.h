// A text field and a Speak button: the character says what is typed, to
// check its mouth pictures. Return in the field speaks too.
#pragma once

#include <QWidget>

#include <functional>

class QLineEdit;
class QPushButton;

namespace acsview
{

class SpeakBar : public QWidget
{
    Q_OBJECT
  public:
    explicit SpeakBar(std::function<void(const QString &)> speak, QWidget *parent = nullptr);

    QLineEdit &field() { return *field_; }
    QPushButton &speakButton() { return *button_; }

  private:
    QLineEdit *field_;
    QPushButton *button_;
};

} // namespace acsview
