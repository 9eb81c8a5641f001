#include "cli/CliHelp.h"

#include "cli/CliCommand.h"

#include <QPair>
#include <QStringList>
#include <QVector>
#include <algorithm>

namespace cli {

namespace {

using Row = QPair<QString, QString>; // what stands on the command line, what it does

const Row verboseRow{QStringLiteral("-v, -vv, --verbose"),
                     QStringLiteral("show debug lines, with -vv also low-level lines")};

const Row helpRow{QStringLiteral("-h, --help"), QStringLiteral("show this help")};

// A titled section of two columns, the second aligned for every row.
QString section(const QString& title, const QVector<Row>& rows)
{
    if (rows.isEmpty())
        return QString();
    int width = 0;
    for (const Row& row : rows)
        width = std::max(width, int(row.first.size()));
    QString text = title + QStringLiteral(":\n");
    for (const Row& row : rows)
        text += QStringLiteral("  %1  %2\n").arg(row.first, -width).arg(row.second);
    return text + QLatin1Char('\n');
}

// The help line with its notes; a help line ending in "(default ...)" takes them inside.
QString withNotes(const QString& help, const QStringList& notes)
{
    if (notes.isEmpty())
        return help;
    const QString joined = notes.join(QStringLiteral("; "));
    return help.endsWith(QLatin1Char(')'))
               ? help.left(help.size() - 1) + QStringLiteral("; ") + joined + QLatin1Char(')')
               : QStringLiteral("%1 (%2)").arg(help, joined);
}

Row optionRow(const Option& option)
{
    QStringList notes;
    if (option.isRequired)
        notes.append(QStringLiteral("required"));
    if (option.isRepeatable)
        notes.append(QStringLiteral("may be repeated"));
    if (!option.value.rangeText().isEmpty())
        notes.append(option.value.rangeText());
    return {option.synopsis(), withNotes(option.help, notes)};
}

QString paragraph(const QString& text)
{
    if (text.isEmpty())
        return QString();
    return text.endsWith(QLatin1Char('\n')) ? text + QLatin1Char('\n') : text + QStringLiteral("\n\n");
}

const QString exitStatusText =
    QStringLiteral("Exit status: 0 when the job succeeded, 1 when it failed, 2 on a usage error.\n"
                   "An action that writes an error line exits with 1 (a warning is no error).\n"
                   "Results go to standard output. Usage errors (\"obrio: ...\"), job errors\n"
                   "(\" *** Error:   ...\"), warnings and information lines go to standard error.\n");

} // namespace

QString mainHelp()
{
    QVector<Row> tools;
    for (const Command* tool : cli::tools())
        tools.append({tool->toolName, tool->summary});
    return QStringLiteral("Usage: obrio <tool> <action> [options] ARGS\n"
                          "       obrio --help | --version\n\n"
                          "Seismic field data tools of the OBR IO Utility, without windows.\n"
                          "A device argument is a disk path, tape:N (drive N of the registry)\n"
                          "or tape:PATH (a tape image used as a drive).\n\n") +
           section(QStringLiteral("Tools"), tools) +
           section(QStringLiteral("Options of every tool and action"), {verboseRow, helpRow}) +
           QStringLiteral(
               "--name=VALUE is the same as --name VALUE; -- ends the options.\n"
               "obrio <tool> --help describes a tool, obrio <tool> <action> --help an action.\n\n") +
           exitStatusText;
}

QString toolHelp(const Command& tool)
{
    QVector<Row> actions;
    for (const Command* action : actionsOf(tool.toolName))
        actions.append({action->actionName, action->summary});
    QVector<Row> options;
    for (const Option& option : tool.options)
        options.append(optionRow(option));
    options << verboseRow << helpRow;
    return QStringLiteral("Usage: obrio %1 <action> [options] ARGS\n\n").arg(tool.toolName) +
           paragraph(tool.description) + section(QStringLiteral("Actions"), actions) +
           section(QStringLiteral("Options of every action"), options) +
           QStringLiteral("obrio %1 <action> --help describes one action.\n").arg(tool.toolName);
}

QString commandHelp(const Command& command)
{
    QStringList usage{QStringLiteral("Usage: obrio"), command.name(), QStringLiteral("[options]")};
    QVector<Option> options = command.options;
    if (const Command* tool = command.isTool() ? nullptr : findTool(command.toolName))
        options += tool->options;
    QVector<Row> optionRows;
    for (const Option& option : options) {
        if (option.isRequired)
            usage.append(option.synopsis());
        optionRows.append(optionRow(option));
    }
    optionRows << verboseRow << helpRow;
    QVector<Row> argumentRows;
    for (const Argument& argument : command.arguments) {
        usage.append(argument.synopsis());
        const QString range = argument.value.rangeText();
        argumentRows.append({argument.name, range.isEmpty()
                                                ? argument.help
                                                : QStringLiteral("%1 (%2)").arg(argument.help, range)});
    }
    // An action without a description of its own is told by its summary.
    const QString about = command.description.isEmpty()
                              ? command.summary.left(1).toUpper() + command.summary.mid(1) + QLatin1Char('.')
                              : command.description;
    QString text = usage.join(QLatin1Char(' ')) + QStringLiteral("\n\n") + paragraph(about) +
                   section(QStringLiteral("Arguments"), argumentRows) +
                   section(QStringLiteral("Options"), optionRows);
    text.chop(1); // the blank line after the last section
    return text;
}

} // namespace cli
