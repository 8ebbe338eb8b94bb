// The recorder's view of a balloon: a window announced as an alert, answered
// as recorded through the balloon driver, the way an assistive tool does it.
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
