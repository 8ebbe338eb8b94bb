// Which checks a run takes: --verify --only PATTERN[,PATTERN...] keeps the
// checks whose names match one of the shell-style globs (*, ?, [...]).
#pragma once

#include <QStringList>

namespace harness::verify
{

// The names matching any pattern, in catalogue order; with no patterns, all
// of them. A pattern that matches no name is a mistake worth naming: then
// returns nothing and says which pattern in *error.
QStringList selectChecks(const QStringList &names, const QStringList &patterns, QString *error);

// Check names are used as they are by CTest and JUnit: letters, digits and
// "_.-" only.
bool isPortableCheckName(const QString &name);

} // namespace harness::verify
