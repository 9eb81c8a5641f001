#include "cli/CliParameters.h"

#include <QStringList>
#include <cmath>

namespace cli {

namespace {
// A maximum this large is no limit a user needs to hear about.
bool unbounded(qint64 maximum)
{
    return maximum >= std::numeric_limits<int>::max();
}

// 1000000 rather than 1e+06.
QString decimalText(double value)
{
    return QString::number(value, 'g', 12);
}
} // namespace

bool Value::accepts(const QString& text, QString* needed) const
{
    bool ok = false;
    switch (kind) {
    case Kind::Text:
        return true;
    case Kind::Integer: {
        const qint64 number = text.toLongLong(&ok);
        if (ok && number >= minimum && number <= maximum)
            return true;
        *needed = QStringLiteral("a whole number from %1 to %2").arg(minimum).arg(maximum);
        return false;
    }
    case Kind::Decimal: {
        const double number = text.toDouble(&ok);
        // NaN and infinity read as numbers but reach no drawing or range sensibly.
        if (ok && std::isfinite(number) && (lowIncluded ? number >= low : number > low) && number <= high)
            return true;
        const QString range = rangeText();
        const bool span = !std::isinf(low) && lowIncluded && !std::isinf(high);
        *needed = range.isEmpty() ? QStringLiteral("a number")
                                  : QLatin1String(span ? "a number from " : "a number ") + range;
        return false;
    }
    }
    return false;
}

QString Value::rangeText() const
{
    if (kind == Kind::Decimal) {
        const bool lowSet = !std::isinf(low);
        const bool highSet = !std::isinf(high);
        if (lowSet && lowIncluded && highSet)
            return QStringLiteral("%1 to %2").arg(decimalText(low), decimalText(high));
        QStringList parts;
        if (lowSet)
            parts.append((lowIncluded ? QStringLiteral("at least %1") : QStringLiteral("above %1"))
                             .arg(decimalText(low)));
        if (highSet)
            parts.append(QStringLiteral("at most %1").arg(decimalText(high)));
        return parts.join(QStringLiteral(" and "));
    }
    if (kind != Kind::Integer || minimum == std::numeric_limits<qint64>::min())
        return QString();
    return unbounded(maximum) ? QStringLiteral("at least %1").arg(minimum)
                              : QStringLiteral("%1 to %2").arg(minimum).arg(maximum);
}

Value text()
{
    return Value();
}

Value integer(qint64 minimum, qint64 maximum)
{
    Value value;
    value.kind = Value::Kind::Integer;
    value.minimum = minimum;
    value.maximum = maximum;
    return value;
}

Value decimal()
{
    Value value;
    value.kind = Value::Kind::Decimal;
    return value;
}

Value decimalAbove(double bound, double maximum)
{
    Value value = decimal();
    value.low = bound;
    value.high = maximum;
    return value;
}

Value decimalRange(double minimum, double maximum)
{
    Value value = decimalAbove(minimum, maximum);
    value.lowIncluded = true;
    return value;
}

QString Option::synopsis() const
{
    return takesValue() ? QStringLiteral("--%1 %2").arg(name, valueName) : QStringLiteral("--") + name;
}

Option flag(const char* name, const QString& help)
{
    Option option;
    option.name = QLatin1String(name);
    option.help = help;
    return option;
}

Option option(const char* name, const char* valueName, const QString& help, const Value& value)
{
    Option option = flag(name, help);
    option.valueName = QLatin1String(valueName);
    option.value = value;
    return option;
}

QString Argument::synopsis() const
{
    if (maximumCount == 1)
        return minimumCount == 0 ? QStringLiteral("[%1]").arg(name) : name;
    QStringList words;
    for (int i = 0; i < minimumCount; ++i)
        words.append(name);
    if (words.isEmpty())
        return QStringLiteral("[%1...]").arg(name);
    words.last() += QStringLiteral("...");
    return words.join(QLatin1Char(' '));
}

Argument argument(const char* name, const QString& help, const Value& value)
{
    Argument argument;
    argument.name = QLatin1String(name);
    argument.help = help;
    argument.value = value;
    return argument;
}

} // namespace cli
