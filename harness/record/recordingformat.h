// The session recording: JSON lines written while a person uses the harness
// and read back to replay the session.
//
//   {"recording":"balloon harness session","version":1,"program":"fennick"}
//   {"do":"type","control":"txtText","text":"..."}      a text box's new text
//   {"do":"click","control":"cmbMsgShow"}               a command button
//   {"do":"select","control":"optIconType","index":3}   an option button
//   {"do":"check","control":"chkModal","value":0}       a check box, new value
//   {"do":"pick","control":"cdLanguage","index":0}      a list item
//   {"answer":"file","file":"/x.acs"}                   file dialog (null: cancelled)
//   {"answer":"colour","colour":"#ff8000"}              colour dialog (null: cancelled)
//   {"answer":"balloon","button":6,"text":"","label":-1} a modal balloon's answer
//   {"answer":"messagebox","button":1}
//   {"trace":{...}}                                     one line of the trace
//   {"end":"session"}
//
// A control event carries "balloon":true when a balloon was on the screen as
// it happened. Answers belong to the control event before them (or to
// start-up, before the first).
#pragma once

#include "platform/balloondriver/balloonaccess.h"

#include <QByteArray>
#include <QColor>
#include <QJsonObject>
#include <QString>

#include <deque>
#include <optional>
#include <vector>

namespace harness::record
{

inline constexpr int FormatVersion = 1;

using BalloonAnswer = balloondriver::RecordedAnswer;

struct Answers {
    std::deque<std::optional<QString>> files;
    std::deque<std::optional<QColor>> colours;
    std::deque<BalloonAnswer> balloons;
    std::deque<int> messageBoxes;
};

struct ControlEvent {
    enum class Kind { Type, Click, Select, Check, Pick };
    int line = 0;
    Kind kind = Kind::Click;
    QString control;
    int number = 0; // index or value
    QString text;
    bool balloonShown = false;
    Answers answers; // given while its handler ran
};

struct TraceLine {
    int line = 0;
    QJsonObject entry;
};

struct Recording {
    QString program;
    Answers startup;
    std::vector<ControlEvent> events;
    std::vector<TraceLine> trace;
    // Set when the recording has no end line (the harness was killed or
    // crashed): the number of its last whole line, up to which it replays.
    std::optional<int> cutAfterLine;
};

// A recording, or an error naming the line at fault.
std::optional<Recording> parseRecording(const QByteArray &data, QString *error);

const char *kindName(ControlEvent::Kind kind);

// The lines the recorder writes, each ending in a newline.
QByteArray headerLine(const QString &program);
QByteArray eventLine(const ControlEvent &event);
QByteArray fileAnswerLine(const std::optional<QString> &file);
QByteArray colourAnswerLine(const std::optional<QColor> &colour);
QByteArray balloonAnswerLine(const BalloonAnswer &answer);
QByteArray messageBoxAnswerLine(int button);
QByteArray traceLine(const QString &traceJson);
QByteArray endLine();

} // namespace harness::record
