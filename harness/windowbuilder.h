// Builds frmMain's controls from the control tables.
#pragma once

#include "controls.h"
#include "programdescription.h"

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

Controls buildWindow(QWidget *window, const ProgramDescription &program);

// The picture imgCustomIcon holds until the user picks an icon file.
component::Picture defaultCustomIcon();

} // namespace harness
