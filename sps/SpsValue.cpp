#include "sps/SpsValue.h"

#include <algorithm>
#include <cfloat>
#include <charconv>
#include <climits>
#include <cmath>
#include <optional>

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view trimmed(std::string_view text)
{
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    // A leading plus is allowed; the parsers below take only a minus.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-')
        text.remove_prefix(1);
    return text;
}

std::optional<double> toInteger(std::string_view text)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 10);
    if (error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return value;
}

std::optional<double> toDouble(std::string_view text)
{
    double value = 0;
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    // Infinities and NaNs spelt out are no field values.
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<double> truncatedFloat(std::string_view text)
{
    const std::optional<double> value = toDouble(text);
    if (!value || std::fabs(*value) > double(FLT_MAX))
        return std::nullopt;
    const double truncated = std::trunc(double(float(*value)));
    return std::clamp(truncated, double(INT_MIN), double(INT_MAX));
}

std::optional<double> number(SpsConversion conversion, std::string_view text)
{
    switch (conversion) {
    case SpsConversion::None:
        break;
    case SpsConversion::TruncatedFloat:
        return truncatedFloat(text);
    case SpsConversion::Integer:
        return toInteger(text);
    case SpsConversion::Fixed:
    case SpsConversion::General:
        return toDouble(text);
    }
    return std::nullopt;
}

} // namespace

namespace SpsValue {

SpsReading read(SpsConversion conversion, std::string_view text)
{
    text = trimmed(text);
    if (text.empty())
        return {};
    const std::optional<double> value = number(conversion, text);
    return value ? SpsReading{SpsCell::Value, *value} : SpsReading{SpsCell::NotANumber, 0};
}

double convert(SpsConversion conversion, std::string_view text)
{
    return read(conversion, text).value;
}

QString text(SpsConversion conversion, double value)
{
    switch (conversion) {
    case SpsConversion::None:
        break;
    case SpsConversion::TruncatedFloat:
    case SpsConversion::Integer:
        return QString::number(qint64(value));
    case SpsConversion::Fixed:
        return QString::number(value, 'f', 1);
    case SpsConversion::General:
        return QString::number(value, 'g', 6);
    }
    return QString();
}

} // namespace SpsValue
