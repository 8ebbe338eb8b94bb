#include "speakbar.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>

namespace acsview
{

SpeakBar::SpeakBar(std::function<void(const QString &)> speak, QWidget *parent)
    : QWidget(parent), field_(new QLineEdit(QStringLiteral("Hello! I can move my lips as I speak."), this)),
      button_(new QPushButton(QStringLiteral("Spea&k"), this))
{
    field_->setAccessibleName(QStringLiteral("Text to speak"));
    button_->setAccessibleName(QStringLiteral("Speak"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(field_, 1);
    row->addWidget(button_);
    auto say = [this, speak = std::move(speak)] {
        if (speak) speak(field_->text());
    };
    connect(button_, &QPushButton::clicked, this, say);
    connect(field_, &QLineEdit::returnPressed, this, say);
}

} // namespace acsview
