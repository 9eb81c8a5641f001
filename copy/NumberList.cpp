#include "copy/NumberList.h"

#include <QRegularExpression>

namespace {

// Field file and channel numbers stay far below this; it keeps the numbers exact.
constexpr qint64 largest = 999999999999LL;

bool number(const QString& text, qint64* value)
{
    static const QRegularExpression digits(QStringLiteral("^\\d{1,12}$"));
    if (!digits.match(text).hasMatch())
        return false;
    *value = text.toLongLong();
    return *value <= largest;
}

} // namespace

bool NumberList::parse(const QString& text, NumberList* list, QString* errorText)
{
    NumberList parsed;
    // "1 - 100" is one range, as "1-100" is.
    QString joined = text;
    joined.replace(QRegularExpression(QStringLiteral("\\s*-\\s*")), QStringLiteral("-"));
    const QStringList items = joined.split(QRegularExpression(QStringLiteral("[,\\s]+")), Qt::SkipEmptyParts);
    for (const QString& item : items) {
        const int dash = item.indexOf(QLatin1Char('-'), 1);
        Range range{};
        const bool good = dash < 0 ? number(item, &range.first) && number(item, &range.last)
                                   : number(item.left(dash), &range.first) &&
                                         number(item.mid(dash + 1), &range.last) && range.first <= range.last;
        if (!good) {
            *errorText = QStringLiteral("bad item \"%1\" in the list \"%2\"").arg(item, text.trimmed());
            return false;
        }
        parsed.ranges.append(range);
    }
    if (parsed.ranges.isEmpty()) {
        *errorText = QStringLiteral("the list is empty");
        return false;
    }
    *list = parsed;
    return true;
}

bool NumberList::contains(qint64 number) const
{
    for (const Range& range : ranges) {
        if (number >= range.first && number <= range.last)
            return true;
    }
    return false;
}
