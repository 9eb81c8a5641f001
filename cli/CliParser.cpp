#include "cli/CliParser.h"

#include "cli/CliArguments.h"
#include "cli/CliCommand.h"

#include <algorithm>

namespace cli {

namespace {

// Negative numbers are values, not options: `tape skip DEV --files -2`.
bool isOptionWord(const QString& word)
{
    bool number = false;
    word.toDouble(&number);
    return word.size() > 1 && word.startsWith(QLatin1Char('-')) && !number;
}

const Option* findOption(const QVector<Option>& options, const QString& name)
{
    const auto found = std::find_if(options.begin(), options.end(),
                                    [&](const Option& option) { return option.name == name; });
    return found == options.end() ? nullptr : &*found;
}

class Parser {
public:
    Parser(const Command& command, Arguments* arguments, int* detailLevel)
        : command(command), arguments(arguments), detailLevel(detailLevel), options(command.options)
    {
        if (const Command* tool = command.isTool() ? nullptr : findTool(command.toolName))
            options += tool->options;
    }

    bool read(const QStringList& words)
    {
        bool optionsEnded = false;
        for (int i = 0; i < words.size(); ++i) {
            const QString& word = words.at(i);
            if (optionsEnded || !isOptionWord(word)) {
                arguments->addPositional(word);
            } else if (word == QLatin1String("--")) {
                optionsEnded = true;
            } else if (!raiseVerbosity(word, detailLevel)) {
                // The next word is a value unless it is an option itself; "--name=" gives one that is.
                const bool nextIsValue =
                    i + 1 < words.size() && !words.at(i + 1).startsWith(QLatin1String("--"));
                if (!readOption(word, nextIsValue ? words.at(i + 1) : QString(), &i))
                    return false;
            }
        }
        return checkRequiredOptions() && checkPositionals();
    }

private:
    bool fail(const QString& text) const
    {
        arguments->usageError(text);
        return false;
    }

    bool readOption(const QString& word, const QString& next, int* index)
    {
        const int equals = word.indexOf(QLatin1Char('='));
        const QString spelled = equals < 0 ? word : word.left(equals);
        const Option* option =
            word.startsWith(QLatin1String("--")) ? findOption(options, spelled.mid(2)) : nullptr;
        if (!option)
            return fail(QStringLiteral("unknown option %1").arg(spelled));
        if (!option->takesValue()) {
            if (equals >= 0)
                return fail(QStringLiteral("%1 takes no value").arg(spelled));
            arguments->addValue(option->name, QString());
            return true;
        }
        QString value = equals < 0 ? next : word.mid(equals + 1);
        if (equals < 0 && !next.isEmpty())
            ++*index;
        if (value.isEmpty())
            return fail(QStringLiteral("%1 needs a value (%2)").arg(spelled, option->valueName));
        QString needed;
        if (!option->value.accepts(value, &needed))
            return fail(QStringLiteral("%1 needs %2, not '%3'").arg(spelled, needed, value));
        if (arguments->has(option->name) && !option->isRepeatable)
            return fail(QStringLiteral("%1 is given twice").arg(spelled));
        arguments->addValue(option->name, value);
        return true;
    }

    bool checkRequiredOptions() const
    {
        for (const Option& option : options) {
            if (option.isRequired && !arguments->has(option.name))
                return fail(QStringLiteral("%1 needs %2").arg(command.name(), option.synopsis()));
        }
        return true;
    }

    bool checkPositionals() const
    {
        const QVector<Argument>& declared = command.arguments;
        const QStringList& words = arguments->positionals();
        int minimum = 0;
        int maximum = 0;
        QStringList synopsis;
        for (const Argument& argument : declared) {
            minimum += argument.minimumCount;
            maximum = maximum < 0 || argument.maximumCount < 0 ? -1 : maximum + argument.maximumCount;
            synopsis.append(argument.synopsis());
        }
        if (words.size() < minimum)
            return fail(QStringLiteral("%1 needs %2").arg(command.name(), synopsis.join(QLatin1Char(' '))));
        if (maximum >= 0 && words.size() > maximum)
            return fail(QStringLiteral("unexpected argument '%1'").arg(words.at(maximum)));
        for (int i = 0; i < words.size(); ++i) {
            const Argument& argument = declared.at(std::min(i, declared.size() - 1));
            QString needed;
            if (!argument.value.accepts(words.at(i), &needed))
                return fail(QStringLiteral("%1 needs %2, not '%3'").arg(argument.name, needed, words.at(i)));
        }
        return true;
    }

    const Command& command;
    Arguments* arguments;
    int* detailLevel;
    QVector<Option> options;
};

} // namespace

bool parse(const Command& command, const QStringList& words, Arguments* arguments, int* detailLevel)
{
    return Parser(command, arguments, detailLevel).read(words);
}

bool raiseVerbosity(const QString& word, int* detailLevel)
{
    if (word == QLatin1String("-v") || word == QLatin1String("--verbose")) {
        *detailLevel = std::max(*detailLevel, 2);
        return true;
    }
    if (word == QLatin1String("-vv")) {
        *detailLevel = 3;
        return true;
    }
    return false;
}

} // namespace cli
