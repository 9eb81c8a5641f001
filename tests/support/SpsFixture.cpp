#include "tests/support/SpsFixture.h"

#include <algorithm>

namespace spstest {

QString describe(const SpsLayout& layout)
{
    QStringList parts{QStringLiteral("first %1").arg(layout.firstLine())};
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const SpsColumns columns = layout.columns(field);
        parts << QStringLiteral("%1 %2-%3 %4")
                     .arg(layout.fieldName(field))
                     .arg(columns.start)
                     .arg(columns.end)
                     .arg(layout.load(field) ? '+' : '-');
    }
    return parts.join(QStringLiteral("; "));
}

QByteArray formatDocument(const QString& root, const QString& body)
{
    return QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<%1 Version=\"2.0.1\" Name=\"x\" "
                          "Location=\"Survey\" Description=\"\">\n%2\n</%1>\n")
        .arg(root, body)
        .toUtf8();
}

QByteArray text(const QStringList& lines)
{
    return (lines.join(QLatin1Char('\n')) + QLatin1Char('\n')).toLatin1();
}

const QStringList& sourceLines()
{
    static const QStringList lines{
        "H00 SPS format version number    SPS001",
        "S            1001    10111AB  11       0 2        100.0 5000000.0  10.5001120000",
        "S            1001    10211AB  11       0 2        250.5 5000010.0  20.0001120001",
    };
    return lines;
}

const QVector<Revision21Column>& revision21Columns(bool relation)
{
    static const QVector<Revision21Column> point{
        {"Line name", 2, 11, 't'},      {"Point number", 12, 21, 't'},   {"Point index", 24, 24, 'i'},
        {"Point code", 25, 26, ' '},    {"Static time", 27, 30, 'g'},    {"Point depth", 31, 34, 'f'},
        {"Seismic datum", 35, 38, 'g'}, {"Uphole time", 39, 40, 'g'},    {"Water depth", 41, 46, 'f'},
        {"Point easting", 47, 55, 'f'}, {"Point northing", 56, 65, 'f'}, {"Surface elevation", 66, 71, 'f'},
        {"Day of year", 72, 74, 'i'},   {"Time of day", 75, 80, 'i'}};
    static const QVector<Revision21Column> relations{{"Tape", 2, 7, 'i'},
                                                     {"Record number", 8, 15, 'i'},
                                                     {"Record increment", 16, 16, 'i'},
                                                     {"Instrument code", 17, 17, ' '},
                                                     {"Source line", 18, 27, 't'},
                                                     {"Source location", 28, 37, 't'},
                                                     {"Source index", 38, 38, 'i'},
                                                     {"From channel", 39, 43, 'i'},
                                                     {"To channel", 44, 48, 'i'},
                                                     {"Channel increment", 49, 49, 'i'},
                                                     {"Receiver line", 50, 59, 't'},
                                                     {"From receiver", 60, 69, 't'},
                                                     {"To receiver", 70, 79, 't'},
                                                     {"Receiver index", 80, 80, 'i'}};
    return relation ? relations : point;
}

QString expectedRange(const QStringList& lines, QChar letter, const Revision21Column& column)
{
    if (column.type == ' ')
        return QStringLiteral("..");
    double minimum = 0;
    double maximum = 0;
    bool any = false;
    for (const QString& line : lines) {
        if (line.left(1) != letter)
            continue;
        const QString text = line.mid(column.start - 1, column.end - column.start + 1).trimmed();
        const double value = column.type == 't'   ? double(int(text.toFloat()))
                             : column.type == 'i' ? double(text.toInt())
                                                  : text.toDouble();
        minimum = any ? std::min(minimum, value) : value;
        maximum = any ? std::max(maximum, value) : value;
        any = true;
    }
    const auto shown = [&](double value) {
        return column.type == 'f'   ? QString::number(value, 'f', 1)
               : column.type == 'g' ? QString::number(value, 'g', 6)
                                    : QString::number(qint64(value));
    };
    return any ? shown(minimum) + ".." + shown(maximum) : QStringLiteral("..");
}

} // namespace spstest
