// A balloon seen and answered the way an assistive tool does it, through
// Qt's accessibility interfaces in process: whatever component shows it, the
// balloon is a window announced as an alert whose buttons carry their
// captions as accessible names.
#pragma once

#include "recordingformat.h"

class QWidget;

namespace harness::record
{

// The visible top-level window announced as an alert, if any.
QWidget *balloonOnScreen();

// Types the answer's text into the balloon's input field (if it has one),
// selects its label (if it has labels) and presses its button, by caption
// in either language; button 0 closes the balloon. False, with the reason,
// when something the answer needs is not there; the balloon is then closed.
bool answerBalloon(QWidget *balloon, const BalloonAnswer &answer, QString *why);

} // namespace harness::record
