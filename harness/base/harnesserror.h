// An error that ends the program with the run-time error report. Handlers
// do not catch it; the window's event entry does.
#pragma once

#include <QString>

#include <cstdint>
#include <exception>

namespace harness
{

class HarnessError : public std::exception
{
  public:
    HarnessError(int32_t number, QString description)
        : number_(number), description_(std::move(description)), what_(description_.toUtf8())
    {
    }
    int32_t number() const { return number_; }
    const QString &description() const { return description_; }
    const char *what() const noexcept override { return what_.constData(); }

  private:
    int32_t number_;
    QString description_;
    QByteArray what_;
};

} // namespace harness
