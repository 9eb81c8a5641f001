#pragma once

#include <QString>
#include <QVector>

// A list of whole numbers and ranges as an operator types it: "1-100, 150, 200-300". Items are
// separated by commas or blanks; a range names its first and last number, both included.
class NumberList {
public:
    // False with a message naming the bad item for a list that is empty or holds an item that
    // is not a number or an ascending range of numbers.
    [[nodiscard]] static bool parse(const QString& text, NumberList* list, QString* errorText);

    bool contains(qint64 number) const;
    bool isEmpty() const { return ranges.isEmpty(); }

private:
    struct Range {
        qint64 first;
        qint64 last;
    };
    QVector<Range> ranges;
};
