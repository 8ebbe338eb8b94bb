// Lines a --verify child writes on standard output, one per event:
//   @verify begin NAME
//   @verify pass NAME
//   @verify fail NAME <tab> expected <tab> got
//   @verify call NAME <tab> METHOD     a modal call is made
//   @verify shown NAME                 its balloon appeared
//   @verify answered NAME              its button was pressed (or it was answered)
//   @verify closed NAME                its balloon is gone (answered or closed)
//   @verify returned NAME              the call returned
// with tabs and line breaks inside the texts written as spaces. Other lines
// (a component's own output) are ignored.
#pragma once

#include "checks.h"

#include <QByteArray>

#include <optional>

namespace harness::verify::protocol
{

QByteArray beginLine(const QString &name);
QByteArray resultLine(const QString &name, const Outcome &outcome);

using Step = ModalStep;
QByteArray stepLine(const QString &name, Step step, const QString &method = {});

struct Event {
    enum Kind { Begin, Result, Step } kind = Begin;
    QString name;
    Outcome outcome;
    protocol::Step step = protocol::Step::Call;
    QString method; // with Step::Call
};

// Why a check fails at once in a child told that `method` hangs.
Outcome hungBefore(const QString &method);

std::optional<Event> parse(const QByteArray &line);

} // namespace harness::verify::protocol
