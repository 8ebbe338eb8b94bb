#include "commandline.h"

namespace acsview
{

namespace
{

constexpr OptionRow Rows[] = {
    {"help", 'h', "", "Show this help and quit."},
    {"version", 'v', "", "Show the version and quit."},
    {"mute", 0, "", "Keep the character's sounds off."},
    {"measure", 0, "", "Show the character as the harness does, print how long its first frame took, quit."},
    {"speak", 0, "TEXT", "Say TEXT with the mouth moving."},
    {"list", 0, "", "Print each animation: name, frame count, length in ms (tab-separated), one a line."},
    {"export-frames", 0, "ANIMATION DIR", "Write every frame of ANIMATION as PNG into DIR."},
    {"export-sheet", 0, "ANIMATION DIR",
     "Write ANIMATION as a sprite sheet, PNG with a JSON index, into DIR."},
    {"export-all", 0, "DIR", "Write every animation as a sprite sheet with its JSON index into DIR."},
    {"thumbnail", 0, "SIZE IN OUT",
     "Write the first frame of the character IN, at most SIZE pixels, as PNG to OUT."},
};

QStringList argumentNames(const OptionRow &row)
{
    return QString::fromLatin1(row.arguments).split(QLatin1Char(' '), Qt::SkipEmptyParts);
}

const OptionRow *find(std::span<const OptionRow> table, const QString &name)
{
    for (const OptionRow &row : table)
        if (name == QLatin1String(row.name) || (row.shortName && name == QLatin1Char(row.shortName)))
            return &row;
    return nullptr;
}

} // namespace

std::span<const OptionRow> optionTable()
{
    return Rows;
}

std::optional<CommandLine> parseCommandLine(const QStringList &arguments, QString *error,
                                            std::span<const OptionRow> table)
{
    CommandLine line;
    bool optionsEnd = false;
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString &argument = arguments[i];
        if (optionsEnd || !argument.startsWith(QLatin1Char('-')) || argument == QLatin1String("-")) {
            line.files << argument;
            continue;
        }
        if (argument == QLatin1String("--")) {
            optionsEnd = true;
            continue;
        }
        QString name = argument.mid(argument.startsWith(QLatin1String("--")) ? 2 : 1);
        std::optional<QString> attached; // --name=value
        if (const qsizetype equals = name.indexOf(QLatin1Char('=')); equals >= 0) {
            attached = name.mid(equals + 1);
            name.truncate(equals);
        }
        const OptionRow *row = find(table, name);
        if (!row) {
            *error = QStringLiteral("Unknown option '%1'.").arg(name);
            return std::nullopt;
        }
        const qsizetype wanted = argumentNames(*row).size();
        QStringList values;
        if (attached) {
            if (wanted != 1) {
                *error = QStringLiteral("Unexpected value after '%1'.").arg(argument);
                return std::nullopt;
            }
            values << *attached;
        }
        while (values.size() < wanted) {
            if (++i >= arguments.size()) {
                *error = QStringLiteral("Missing value after '%1'.").arg(argument);
                return std::nullopt;
            }
            values << arguments[i];
        }
        line.options.insert(QLatin1String(row->name), values);
    }
    return line;
}

QString helpText(const QString &program, std::span<const OptionRow> table)
{
    QStringList left;
    for (const OptionRow &row : table) {
        QString names = row.shortName ? QStringLiteral("-%1, ").arg(QLatin1Char(row.shortName)) : QString();
        names += QLatin1String("--") + QLatin1String(row.name);
        for (const QString &value : argumentNames(row))
            names += QLatin1Char(' ') + value;
        left << names;
    }
    qsizetype width = 0;
    for (const QString &names : left)
        width = std::max(width, names.size());
    QString text = QStringLiteral("Usage: %1 [options] [FILE.acs]\n"
                                  "Shows a character file: its animations, played and exported.\n"
                                  "Without a file, the built-in character as the harness shows it.\n\n"
                                  "Options:\n")
                       .arg(program);
    for (size_t i = 0; i < table.size(); ++i)
        text += QLatin1String("  ") + left[qsizetype(i)].leftJustified(width + 2) +
                QLatin1String(table[i].help) + QLatin1Char('\n');
    return text;
}

} // namespace acsview
