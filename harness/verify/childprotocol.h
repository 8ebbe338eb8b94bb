// Lines a --verify child writes on standard output, one per event:
//   @verify begin NAME
//   @verify pass NAME
//   @verify fail NAME <tab> expected <tab> got
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

struct Event {
    enum Kind { Begin, Result } kind = Begin;
    QString name;
    Outcome outcome;
};

std::optional<Event> parse(const QByteArray &line);

} // namespace harness::verify::protocol
