// The window's controls by name, as the builder made them: what the
// handlers, the recorder and the tests look controls up in.
#pragma once

#include "controls.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>

namespace harness
{

struct Controls {
    std::map<QString, OptionGroup *> groups;
    std::map<QString, QPushButton *> buttons;
    std::map<QString, CheckBox *> checks;
    std::map<QString, QLabel *> swatches;
    std::map<QString, QWidget *> hostSites;
    QLineEdit *txtCaption = nullptr;
    TextBox *txtText = nullptr;
    LanguageList *cdLanguage = nullptr;
    PictureBox *imgCustomIcon = nullptr;

    OptionGroup &group(const char *name) const { return *groups.at(QLatin1String(name)); }
    CheckBox &check(const char *name) const { return *checks.at(QLatin1String(name)); }
    QLabel &swatch(const char *name) const { return *swatches.at(QLatin1String(name)); }
    QPushButton &button(const char *name) const { return *buttons.at(QLatin1String(name)); }
};

} // namespace harness
