// What tells one harness program from the other. Everything else is shared.
#pragma once

#include "component/contract.h"

#include <QPoint>
#include <QString>

namespace harness
{

struct ProgramDescription {
    QString programName;    // executable and application name
    QString componentClass; // class identifier of Vellix1
    component::MethodIds methods;
    QString iconFilter;     // filter of the custom icon dialog
    QPoint vellixPlace;     // Vellix1's place in its frame, twips
    int32_t storedLanguage; // "language" stored with Vellix1
};

const ProgramDescription &fennick();
const ProgramDescription &morrowby();

} // namespace harness
