#include "copy/TapeScanReport.h"

#include "seismic/SegyLayout.h"

#include <QSet>
#include <algorithm>

namespace {

QString counted(qint64 count, const char* what)
{
    return QStringLiteral("%1 %2%3").arg(count).arg(QLatin1String(what),
                                                    count == 1 ? QString() : QStringLiteral("s"));
}

QString number(qint64 value)
{
    return QString::number(value);
}

QString interval(double milliseconds)
{
    return QString::number(milliseconds, 'g', 6);
}

QString csvCell(const QString& text)
{
    if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
        !text.contains(QLatin1Char('\n')))
        return text;
    return QLatin1Char('"') + QString(text).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

QString listText(const QList<int>& numbers)
{
    QStringList texts;
    for (const int value : numbers)
        texts << number(value);
    return texts.join(QStringLiteral(", "));
}

void addFieldFileLines(const TapeScanSummary& summary, QStringList& lines)
{
    lines << QStringLiteral("   %1%2").arg(
        counted(summary.files, "field file"),
        summary.firstFieldFile < 0
            ? QString()
            : QStringLiteral(", numbers %1 to %2").arg(summary.firstFieldFile).arg(summary.lastFieldFile));
    lines << (summary.missing.isEmpty() ? QStringLiteral("   no missing field files")
                                        : QStringLiteral("   missing field files: %1")
                                              .arg(TapeScanReport::rangesText(summary.missing)));
    lines << (summary.duplicates.isEmpty()
                  ? QStringLiteral("   no duplicate field files")
                  : QStringLiteral("   duplicate field files: %1").arg(listText(summary.duplicates)));
}

void addSegyLines(const TapeScanSummary& summary, QStringList& lines)
{
    lines << QStringLiteral("   %1, %2")
                 .arg(counted(summary.files, "SEG-Y file"), counted(summary.traces, "trace"));
    QStringList formats;
    for (auto it = summary.formats.cbegin(); it != summary.formats.cend(); ++it)
        formats << QStringLiteral("%1 %2 (%3)")
                       .arg(it.key())
                       .arg(QLatin1String(
                                SegyLayout::sampleFormats[SegyLayout::sampleFormatIndex(it.key())].name),
                            counted(it.value(), "file"));
    if (!formats.isEmpty())
        lines << QStringLiteral("   sample formats: %1").arg(formats.join(QStringLiteral(", ")));
}

} // namespace

TapeScanSummary TapeScanSummary::of(const TapeScanResult& result)
{
    TapeScanSummary summary;
    QList<int> numbers;
    for (const TapeScanEntry& entry : result.entries) {
        summary.traces += entry.traces;
        if (!entry.problem.isEmpty() && !summary.damaged.contains(entry.tapeFile))
            summary.damaged << entry.tapeFile;
        if (!entry.identified)
            continue;
        ++summary.files;
        if (result.mode == TapeScanMode::Segd)
            numbers << entry.fieldFile;
        if (result.mode == TapeScanMode::Segy && !entry.formatName.isEmpty())
            ++summary.formats[entry.formatCode];
    }
    if (result.mode != TapeScanMode::Segd || numbers.isEmpty())
        return summary;
    std::sort(numbers.begin(), numbers.end());
    summary.firstFieldFile = numbers.first();
    summary.lastFieldFile = numbers.last();
    for (int i = 1; i < numbers.size(); ++i) {
        const int before = numbers.at(i - 1);
        const int value = numbers.at(i);
        if (value == before && (summary.duplicates.isEmpty() || summary.duplicates.last() != value))
            summary.duplicates << value;
        if (value > before + 1)
            summary.missing << qMakePair(before + 1, value - 1);
    }
    return summary;
}

QStringList TapeScanReport::columns(TapeScanMode mode)
{
    if (mode == TapeScanMode::Segd)
        return {QStringLiteral("Tape file"),    QStringLiteral("Field file"),    QStringLiteral("Revision"),
                QStringLiteral("Manufacturer"), QStringLiteral("Format"),        QStringLiteral("Traces"),
                QStringLiteral("Samples"),      QStringLiteral("Interval (ms)"), QStringLiteral("Bytes"),
                QStringLiteral("Read errors")};
    return {QStringLiteral("Tape file"),     QStringLiteral("Format"),      QStringLiteral("Format name"),
            QStringLiteral("Interval (ms)"), QStringLiteral("Samples"),     QStringLiteral("Traces"),
            QStringLiteral("Bytes"),         QStringLiteral("Text header"), QStringLiteral("Read errors")};
}

QStringList TapeScanReport::cells(const TapeScanEntry& entry, TapeScanMode mode)
{
    if (mode == TapeScanMode::Segd) {
        if (!entry.identified)
            return {number(entry.tapeFile),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    QString(),
                    number(entry.bytes),
                    entry.problem};
        return {number(entry.tapeFile),   number(entry.fieldFile),
                entry.revision,           number(entry.manufacturer),
                number(entry.formatCode), number(entry.traces),
                number(entry.samples),    interval(entry.intervalMs),
                number(entry.bytes),      entry.problem};
    }
    const bool known = !entry.formatName.isEmpty();
    return {number(entry.tapeFile),
            entry.identified ? number(entry.formatCode) : QString(),
            entry.formatName,
            known ? interval(entry.intervalMs) : QString(),
            known ? number(entry.samples) : QString(),
            known ? number(entry.traces) : QString(),
            number(entry.bytes),
            entry.textLine,
            entry.problem};
}

bool TapeScanReport::isTextColumn(const QString& title)
{
    static const QSet<QString> texts{QStringLiteral("Revision"), QStringLiteral("Format name"),
                                     QStringLiteral("Text header"), QStringLiteral("Read errors")};
    return texts.contains(title);
}

QString TapeScanReport::rangesText(const QList<QPair<int, int>>& ranges)
{
    QStringList texts;
    for (const auto& range : ranges)
        texts << (range.first == range.second ? number(range.first)
                                              : QStringLiteral("%1-%2").arg(range.first).arg(range.second));
    return texts.join(QStringLiteral(", "));
}

QStringList TapeScanReport::summaryLines(const TapeScanResult& result)
{
    const TapeScanSummary summary = TapeScanSummary::of(result);
    QStringList lines{
        QStringLiteral("   %1 read, %2 bytes").arg(counted(result.tapeFiles, "tape file")).arg(result.bytes)};
    if (result.mode == TapeScanMode::Segd)
        addFieldFileLines(summary, lines);
    else
        addSegyLines(summary, lines);
    const int damaged = summary.damaged.size();
    lines << (damaged == 0
                  ? QStringLiteral("   no read errors")
                  : QStringLiteral("   read errors in tape file%1 %2")
                        .arg(damaged == 1 ? QString() : QStringLiteral("s"), listText(summary.damaged)));
    if (result.aborted)
        lines << QStringLiteral("   scan aborted");
    else if (!result.stopped.isEmpty())
        lines << QStringLiteral("   scan stopped: %1").arg(result.stopped);
    return lines;
}

QStringList TapeScanReport::text(const TapeScanResult& result)
{
    QList<QStringList> rows{columns(result.mode)};
    for (const TapeScanEntry& entry : result.entries)
        rows << cells(entry, result.mode);
    const int count = rows.first().size();
    QVector<int> widths(count, 0);
    for (const QStringList& row : rows) {
        for (int i = 0; i < count; ++i)
            widths[i] = qMax(widths[i], row.at(i).size());
    }
    QStringList lines;
    for (const QStringList& row : rows) {
        QStringList padded;
        for (int i = 0; i < count; ++i) {
            // The last column is not padded.
            const bool text = TapeScanReport::isTextColumn(rows.first().at(i));
            padded << (i == count - 1
                           ? row.at(i)
                           : row.at(i).leftJustified(text ? widths[i] : 0).rightJustified(widths[i]));
        }
        QString line = padded.join(QStringLiteral("  "));
        while (line.endsWith(QLatin1Char(' ')))
            line.chop(1);
        lines << line;
    }
    lines << QString() << QStringLiteral("Tape Scan Summary:") << summaryLines(result);
    return lines;
}

QByteArray TapeScanReport::csv(const TapeScanResult& result)
{
    QList<QStringList> rows{columns(result.mode)};
    for (const TapeScanEntry& entry : result.entries)
        rows << cells(entry, result.mode);
    QString text;
    for (const QStringList& row : rows) {
        QStringList quoted;
        for (const QString& cell : row)
            quoted << csvCell(cell);
        text += quoted.join(QLatin1Char(',')) + QLatin1Char('\n');
    }
    return text.toUtf8();
}
