// Where the main window first appears: on the character's screen, clear of
// the character, of the balloon's usual places beside it, and of the boxes
// and dialogs centred on the window.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace harness
{

class FrmMain;

struct WindowPlacementInput {
    QRect available; // the character's screen, less panels
    QRect character;
    QSize window;  // the window with its frame
    QSize balloon; // a usual balloon, tail included
    QSize dialog;  // the largest box or dialog centred on the window
    QPoint design; // where the window stands when nothing better fits
};

// The window's top-left corner. Of the places clear of the character and the
// balloon's four usual places, the nearest to the design position; the design
// position itself when the screen has no such place.
QPoint placeMainWindow(const WindowPlacementInput &input);

// The character's rectangle as its object reports it; empty without one.
QRect characterRect(FrmMain &window);

// placeMainWindow() for the window, on the screen the character stands on.
QPoint startPosition(FrmMain &window);

} // namespace harness
