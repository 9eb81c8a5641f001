#pragma once

#include <QString>
#include <limits>

namespace cli {

// What an option's value or a positional argument must be. The parser checks numbers against
// their range, so every tool refuses a bad number with the same message.
struct Value {
    enum class Kind { Text, Integer, Decimal };
    Kind kind = Kind::Text;
    qint64 minimum = std::numeric_limits<qint64>::min(); // Integer: both ends included
    qint64 maximum = std::numeric_limits<qint64>::max();
    // Decimal: finite, above low (or from it, when lowIncluded) and at most high.
    double low = -std::numeric_limits<double>::infinity();
    bool lowIncluded = false;
    double high = std::numeric_limits<double>::infinity();

    // False with what the value needed ("a whole number from 1 to 12") when `text` breaks the rule.
    bool accepts(const QString& text, QString* needed) const;
    // The range for a help line ("at least 1", "above 0", "-200 to 200"); empty for text and
    // unbounded numbers.
    QString rangeText() const;
};

Value text();
Value integer(qint64 minimum, qint64 maximum = std::numeric_limits<qint64>::max());
Value decimal();
Value decimalAbove(double bound, double maximum = std::numeric_limits<double>::infinity());
// From minimum to maximum, both included.
Value decimalRange(double minimum, double maximum);

// An option "--name" or "--name VALUE" (also "--name=VALUE").
struct Option {
    QString name;      // without the dashes
    QString valueName; // empty for a flag
    QString help;
    Value value;
    bool isRequired = false;
    bool isRepeatable = false;

    bool takesValue() const { return !valueName.isEmpty(); }
    QString synopsis() const; // "--name VALUE"
    Option& required()
    {
        isRequired = true;
        return *this;
    }
    // Given again, the values add up instead of being refused.
    Option& repeatable()
    {
        isRepeatable = true;
        return *this;
    }
};

Option flag(const char* name, const QString& help);
Option option(const char* name, const char* valueName, const QString& help, const Value& value = text());

// A positional argument; `minimumCount` and `maximumCount` (-1: no limit) say how often it stands.
// Only the last argument of a command may be optional or repeated.
struct Argument {
    QString name;
    QString help;
    Value value;
    int minimumCount = 1;
    int maximumCount = 1;

    QString synopsis() const; // "FILE", "[N]", "IN IN..."
    Argument& optional()
    {
        minimumCount = 0;
        return *this;
    }
    Argument& atLeast(int count)
    {
        minimumCount = count;
        maximumCount = -1;
        return *this;
    }
};

Argument argument(const char* name, const QString& help, const Value& value = text());

} // namespace cli
