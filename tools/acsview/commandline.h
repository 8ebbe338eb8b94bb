// The viewer's command line. The options are a table: one row names an
// option, the values it takes and its help line; parsing and --help follow
// the table, so an option is added in one row (and what it does in main).
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>
#include <span>

namespace acsview
{

struct OptionRow {
    const char *name;      // long name, without dashes
    char shortName;        // 0 when it has none
    const char *arguments; // names of its values, space-separated; "" for none
    const char *help;
};

// Every option the viewer knows, in --help order.
std::span<const OptionRow> optionTable();

struct CommandLine {
    QMap<QString, QStringList> options; // given option -> its values
    QStringList files;                  // arguments that are no option

    bool isSet(const char *name) const { return options.contains(QLatin1String(name)); }
    QStringList values(const char *name) const { return options.value(QLatin1String(name)); }
};

// The arguments without the program's own name. Nothing, with a message
// naming the culprit in *error, for an unknown option or a missing value.
std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString *error,
                                            std::span<const OptionRow> table = optionTable());

QString helpText(const QString &program, std::span<const OptionRow> table = optionTable());

} // namespace acsview
