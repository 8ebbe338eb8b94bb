// --placement-map DIR: each placement check's child appends what it saw to
// DIR/<layout>.<pid>.jsonl; after the run the parent draws one picture per
// layout, DIR/<layout>.png: the screens, each spot of the character, and
// each balloon's rectangle and tail tip, failures in red.
#pragma once

#include "screenlayout.h"

#include <QPoint>
#include <QRect>
#include <QString>

namespace harness::verify::placement
{

struct Record {
    QString layout;
    QString check;
    QRect character;
    QRect balloon;
    QPoint tip; // the outline's point nearest the character
    bool passed = true;
};

// Appends one record; false when the folder cannot be written.
bool appendRecord(const QString &folder, const Record &record);

// Draws the pictures of every layout with records; false and why not when
// one cannot be written.
bool drawMaps(const QString &folder, const QList<ScreenLayout> &layouts, QString *error);

} // namespace harness::verify::placement
