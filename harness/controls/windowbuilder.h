// Builds frmMain's controls from the control tables.
#pragma once

#include "controls.h"
#include "harness/base/programdescription.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <map>

namespace harness
{

// A command button whose caption wraps between words when one line is too
// narrow for it, as the fixed layout's taller buttons expect.
class CommandButton : public QPushButton
{
    Q_OBJECT
  public:
    CommandButton(const QString &caption, QWidget *parent);
    // Where the caption is drawn, and how it is laid out there.
    QRect captionRoom() const;
    int captionFlags() const;

  protected:
    void paintEvent(QPaintEvent *event) override;
};

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

// The one font of the whole program. The fixed layout was drawn for a small,
// narrow UI font: a condensed face at the layout's size keeps every caption
// inside its control (DejaVu Sans Condensed, from fonts-dejavu-extra).
QFont layoutFont();

// Makes assistive tools see plain top-level widgets (the main window, the
// character) as windows rather than fillers. Once per program.
void announceWindowsAsFrames();

// The picture imgCustomIcon holds until the user picks an icon file.
component::Picture defaultCustomIcon();

} // namespace harness
