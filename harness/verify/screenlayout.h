// A named layout of monitors for the placement lab, in the JSON that Qt's
// offscreen platform takes (-platform offscreen:configfile=FILE): a
// "screens" array of objects with name, x, y, width, height (logical
// pixels), logicalDpi, logicalBaseDpi and dpr. Plain Qt Core, no GUI.
#pragma once

#include <QByteArray>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

namespace harness::verify
{

struct LayoutScreen {
    QString name;
    QRect geometry; // logical pixels on the desktop
    double dpr = 1;
};

struct ScreenLayout {
    QString name;    // a word that goes into check names
    QByteArray json; // as read, for the child's platform
    QList<LayoutScreen> screens;

    QList<QRect> geometries() const;
};

// A layout from its JSON, or nothing and why not (`error`).
std::optional<ScreenLayout> parseLayout(const QString &name, const QByteArray &json, QString *error);

// The layouts shipped with the program, in a fixed order.
QList<ScreenLayout> shippedLayouts();

// An author's own layout from FILE, named after the file's base name.
std::optional<ScreenLayout> readLayoutFile(const QString &file, QString *error);

} // namespace harness::verify
