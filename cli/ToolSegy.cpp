#include "cli/CliTool.h"
#include "cli/SegyCommand.h"
#include "cli/TerminalConsole.h"

#include <algorithm>

namespace {

QString segyHelp()
{
    QString text = QStringLiteral("Usage: obrio segy <action> [--format FILE.xml] [options] ARGS\n\n"
                                  "Looks inside SEG-Y files. Every action reads through a SEG-Y format\n"
                                  "definition: --format FILE.xml, or the built-in standard format.\n\n"
                                  "Actions:\n");
    std::vector<SegyAction> sorted = segycli::actions();
    std::sort(sorted.begin(), sorted.end(),
              [](const SegyAction& a, const SegyAction& b) { return qstrcmp(a.name, b.name) < 0; });
    for (const SegyAction& action : sorted)
        text +=
            QStringLiteral("  %1\n").arg(QString::fromUtf8(action.usage).section(QLatin1Char('\n'), 0, 0));
    text += QStringLiteral("\nobrio segy <action> --help describes one action.\n");
    return text;
}

// Splits the words after the action into files and options; false after a usage message.
bool parse(const SegyAction& action, QStringList words, SegyAction::Command* command)
{
    const QStringList flags =
        QString::fromLatin1(action.valueFlags).split(QLatin1Char(' '), Qt::SkipEmptyParts)
        << QStringLiteral("--format");
    while (!words.isEmpty()) {
        QString word = words.takeFirst();
        if (!word.startsWith(QLatin1String("--"))) {
            command->files.append(word);
            continue;
        }
        QString value;
        const int equals = word.indexOf(QLatin1Char('='));
        if (equals > 0) {
            value = word.mid(equals + 1);
            word.truncate(equals);
        } else if (flags.contains(word) && !words.isEmpty()) {
            value = words.takeFirst();
        }
        if (!flags.contains(word)) {
            cli::usageError(
                QStringLiteral("segy %1 has no option %2").arg(QString::fromLatin1(action.name), word));
            return false;
        }
        if (value.isEmpty()) {
            cli::usageError(QStringLiteral("%1 needs a value").arg(word));
            return false;
        }
        if (word == QLatin1String("--format"))
            command->formatPath = value;
        else
            command->values.insert(word, value);
    }
    if (command->files.size() != action.positionals) {
        cli::usageError(QStringLiteral("segy %1 takes %2 file argument%3 (see obrio segy %1 --help)")
                            .arg(QString::fromLatin1(action.name))
                            .arg(action.positionals)
                            .arg(action.positionals == 1 ? QString() : QStringLiteral("s")));
        return false;
    }
    return true;
}

int runSegy(const QStringList& arguments, TerminalConsole& console)
{
    if (arguments.isEmpty())
        return cli::usageError(QStringLiteral("segy needs an action (see obrio segy --help)"));
    const QString name = arguments.first();
    if (name == QLatin1String("--help") || name == QLatin1String("-h")) {
        cli::printText(segyHelp());
        return cli::Success;
    }
    const auto& actions = segycli::actions();
    const auto action = std::find_if(actions.begin(), actions.end(), [&](const SegyAction& candidate) {
        return name == QLatin1String(candidate.name);
    });
    if (action == actions.end())
        return cli::usageError(QStringLiteral("unknown segy action '%1' (see obrio segy --help)").arg(name));
    const QStringList rest = arguments.mid(1);
    if (rest.contains(QLatin1String("--help")) || rest.contains(QLatin1String("-h"))) {
        cli::printText(QString::fromUtf8(action->usage));
        return cli::Success;
    }
    SegyAction::Command command;
    if (!parse(*action, rest, &command))
        return cli::UsageError;
    return action->run(command, console);
}

// The actions that draw pictures write labels, which need a QGuiApplication.
bool segyDraws(const QStringList& arguments)
{
    static const QStringList drawing{QStringLiteral("plot"), QStringLiteral("spectrum"),
                                     QStringLiteral("histogram")};
    return !arguments.isEmpty() && drawing.contains(arguments.first());
}

} // namespace

OBRIO_GUI_TOOL(segy, "segy",
               "SEG-Y files: headers, field ranges, trace dumps, scans, sorting, format files, pictures",
               runSegy, segyDraws)
