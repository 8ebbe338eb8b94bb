#include "windowbuilder.h"

#include "commandbutton.h"
#include "controltable.h"
#include "harness/look/defaulticon.h"

#include <QGroupBox>
#include <QRadioButton>

#include <algorithm>
#include <limits>
#include <vector>

namespace harness
{

namespace
{

QString name(const char *n)
{
    return QString::fromLatin1(n);
}
QString text(const char *t)
{
    return t ? QString::fromUtf8(t) : QString();
}

// Accessible name: the caption, or for a control without one what it holds.
// Accessible description: the control's name, as tools and tests look it up.
void label(QWidget *w, const QString &objectName, const QString &accessibleName)
{
    w->setObjectName(objectName);
    w->setAccessibleName(accessibleName);
    w->setAccessibleDescription(objectName);
}

struct Placed {
    int tab;
    QWidget *widget;
};

QWidget *createControl(const ControlDef &def, QWidget *parent, Controls &controls)
{
    const QString n = name(def.name);
    const QString caption = text(def.caption);
    switch (def.kind) {
    case Kind::CommandButton: {
        auto *b = new CommandButton(caption, parent);
        b->setAutoDefault(false);
        b->setDefault(false);
        controls.buttons[n] = b;
        return b;
    }
    case Kind::Frame: {
        auto *g = new QGroupBox(caption, parent);
        g->setFocusPolicy(Qt::NoFocus);
        return g;
    }
    case Kind::TextLine: {
        controls.txtCaption = new QLineEdit(caption, parent);
        // Qt's single-line default would cut the heading at 32,767 characters.
        controls.txtCaption->setMaxLength(std::numeric_limits<int>::max());
        return controls.txtCaption;
    }
    case Kind::TextMultiLine: {
        controls.txtText = new TextBox(parent);
        controls.txtText->setText(caption);
        return controls.txtText;
    }
    case Kind::Swatch: {
        auto *l = new QLabel(parent);
        // Drawn in the palette's light and dark, not in the text colour, so
        // that swatches of one colour side by side stay separate boxes.
        l->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        l->setLineWidth(1);
        l->setAutoFillBackground(true);
        controls.swatches[n] = l;
        return l;
    }
    case Kind::Label:
        return new QLabel(caption, parent);
    case Kind::CheckBox: {
        auto *c = new CheckBox(parent);
        c->setText(caption);
        c->setCheckState(def.startValue == 1 ? Qt::Checked : Qt::Unchecked);
        controls.checks[n] = c;
        return c;
    }
    case Kind::ComboBox: {
        controls.cdLanguage = new LanguageList(parent);
        controls.cdLanguage->setEditText(caption);
        return controls.cdLanguage;
    }
    case Kind::Image: {
        controls.imgCustomIcon = new PictureBox(parent);
        controls.imgCustomIcon->setPicture(defaultCustomIcon());
        return controls.imgCustomIcon;
    }
    case Kind::Hosted: {
        // The site a hosted control lives in; it draws nothing itself.
        auto *site = new QWidget(parent);
        site->setFocusPolicy(Qt::NoFocus);
        site->setAttribute(Qt::WA_TransparentForMouseEvents);
        controls.hostSites[n] = site;
        return site;
    }
    }
    return nullptr;
}

void addOptionButtons(const std::map<QString, QWidget *> &containers, Controls &controls, QObject *owner,
                      std::vector<Placed> &placed)
{
    for (const OptionGroupDef &g : optionGroups())
        controls.groups[name(g.name)] = new OptionGroup(name(g.name), owner);
    for (const OptionButtonDef &b : optionButtons()) {
        const auto &g = *std::find_if(optionGroups().begin(), optionGroups().end(),
                                      [&](const OptionGroupDef &d) { return qstrcmp(d.name, b.group) == 0; });
        auto *radio = new QRadioButton(text(b.caption), containers.at(name(g.frame)));
        // Buttons of a group share its name, told apart by their index.
        label(radio, name(b.group), text(b.caption));
        radio->setAccessibleDescription(QStringLiteral("%1(%2)").arg(name(b.group)).arg(b.index));
        radio->setProperty("index", b.index);
        const int width = b.index == g.wideIndex ? g.wideWidth : g.width;
        radio->setGeometry(toPixels(QRect(g.left, 240 + 240 * b.index, width, g.height)));
        radio->setChecked(b.selected);
        controls.groups.at(name(b.group))->addButton(radio, b.index);
        placed.push_back({b.tab, radio});
    }
}

} // namespace

Controls buildWindow(QWidget *window, const ProgramDescription &program)
{
    Controls built;
    std::map<QString, QWidget *> containers;
    std::vector<Placed> placed;
    for (const ControlDef &def : controls()) {
        QWidget *parent = def.container ? containers.at(name(def.container)) : window;
        QWidget *w = createControl(def, parent, built);
        // Controls whose text is content, or that have none, carry a description.
        label(w, name(def.name), def.description ? text(def.description) : text(def.caption));
        QRect twips = def.twips;
        if (qstrcmp(def.name, "Vellix1") == 0) twips.moveTopLeft(program.vellixPlace);
        w->setGeometry(toPixels(twips));
        if (def.kind == Kind::Frame) containers[name(def.name)] = w;
        if (def.tab >= 0) placed.push_back({def.tab, w});
    }
    addOptionButtons(containers, built, window, placed);

    // The label names the list for screen readers, which read a combo box by its text.
    if (auto *languageLabel = window->findChild<QLabel *>(QStringLiteral("lblLanguage")))
        languageLabel->setBuddy(built.cdLanguage);

    std::sort(placed.begin(), placed.end(), [](const Placed &a, const Placed &b) { return a.tab < b.tab; });
    QWidget *previous = nullptr;
    for (const Placed &p : placed) {
        if (p.widget->focusPolicy() == Qt::NoFocus || qobject_cast<QLabel *>(p.widget)) continue;
        if (previous) QWidget::setTabOrder(previous, p.widget);
        previous = p.widget;
    }
    return built;
}

} // namespace harness
