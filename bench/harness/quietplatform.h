#pragma once

#include "platform/dialogs/dialogprovider.h"

// A benchmark's harness window has nobody at it: a file dialog is cancelled
// and a message box answered at once.
class Cancelling final : public dialogs::DialogProvider
{
  public:
    std::optional<QString> openFile(const QString &, const QString &, const QString &) override { return {}; }
    std::optional<QColor> pickColor(const QColor &) override { return {}; }
};

class Silent final : public dialogs::MessageBoxService
{
  public:
    int show(const QString &, int, const std::optional<QString> &) override { return 1; }
};
