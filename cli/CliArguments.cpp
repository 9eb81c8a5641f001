#include "cli/CliArguments.h"

#include "cli/CliCommand.h"

namespace cli {

Arguments::Arguments(const Command& command) : declaration(&command) {}

bool Arguments::has(const QString& option) const
{
    return values.contains(option);
}

QString Arguments::text(const QString& option, const QString& fallback) const
{
    return values.contains(option) ? values.value(option).last() : fallback;
}

QStringList Arguments::texts(const QString& option) const
{
    return values.value(option);
}

qint64 Arguments::integer(const QString& option, qint64 fallback) const
{
    return values.contains(option) ? values.value(option).last().toLongLong() : fallback;
}

double Arguments::decimal(const QString& option, double fallback) const
{
    return values.contains(option) ? values.value(option).last().toDouble() : fallback;
}

int Arguments::usageError(const QString& text) const
{
    return cli::usageError(text, declaration->name());
}

void Arguments::addValue(const QString& option, const QString& value)
{
    values[option].append(value);
}

} // namespace cli
