#include "seismic/SegdTraceHeaderColumns.h"
#include "tests/support/SegdFixture.h"
#include "tests/support/TestMain.h"

#include <QTextStream>

using segdtest::bigEndian;
using segdtest::ieee;
using segdtest::ieee64;
using segdtest::put;

namespace {

// A trace header with seven extensions and a known value in most columns.
QByteArray traceHeader()
{
    QByteArray header(20 + 7 * 32, '\0');
    put(header, 1, QByteArray::fromHex("ffff"));
    put(header, 3, QByteArray::fromHex("01ff0042fffffe070002"));
    put(header, 13, bigEndian(1000, 3) + bigEndian(300, 2) + bigEndian(123456, 3));
    put(header, 21, bigEndian(0xFFFFF9, 3) + bigEndian(12, 3) + QByteArray(1, 3));
    header[40] = 2;
    put(header, 53, ieee64(1234.5));
    put(header, 93, ieee(406.5f));
    put(header, 101, ieee(-0.59f));
    header[104] = 1;
    put(header, 137, ieee(10.0f));
    put(header, 182, bigEndian(0x38a7e1, 3));
    put(header, 233, bigEndian(0xFFFFFFFF, 4));
    return header;
}

} // namespace

class TestSegdTraceHeaderExport : public QObject {
    Q_OBJECT
private slots:
    // Each column's export text and table cell: signed and extended fields, units, flags.
    void values()
    {
        const struct {
            const char* column;
            const char* exported;
            QVariant cell;
        } expected[] = {{"Field File", "123456", qint64(123456)},
                        {"1st Timing Word", "-2", qint64(-2)},
                        {"Receiver Line", "-7", qint64(-7)},
                        {"Rcvr Point Easting", "1234.500000", 1234.5},
                        {"Resistance Value", "406.500000", "406.5 ohms"},
                        {"Tilt Value", "-0.590000", "-0.59%"},
                        {"Resistance Error", "1", "Yes"},
                        {"Unit Serial Number", "3712993", qint64(3712993)},
                        {"Trace Max Time", "-1", qint64(-1)}};
        const QByteArray bytes = traceHeader();
        const SegdTraceHeaderRecord record(SegdBytes(bytes.constData(), bytes.size()));
        const QString line = SegdTraceHeaderColumns::exportLine(record.bytes(), true);
        QVERIFY(line.endsWith(QStringLiteral("0\n")));
        const QStringList exported = line.chopped(1).split(QStringLiteral(", "));
        const auto& columns = SegdTraceHeaderColumns::columns;
        for (const auto& [column, text, cell] : expected) {
            const auto found = std::find_if(columns.begin(), columns.end(),
                                            [&](const auto& c) { return !qstrcmp(column, c.title); });
            QVERIFY2(found != columns.end(), column);
            const int index = int(found - columns.begin());
            QCOMPARE(exported.at(index), QString(text));
            QCOMPARE(SegdTraceHeaderColumns::cell(record.bytes(), index, true), cell);
            // Other recorders' files show the standard's columns only.
            const bool standard = index < SegdTraceHeaderColumns::standardCount;
            QCOMPARE(SegdTraceHeaderColumns::cell(record.bytes(), index, false),
                     standard ? cell : QVariant());
            const QStringList plain =
                SegdTraceHeaderColumns::exportLine(record.bytes(), false).chopped(1).split(", ");
            QCOMPARE(plain.at(index), standard ? QString(text) : QString());
        }
    }

    // The export writes the lines asked for, no more than the records held.
    void exportStopsAtTheRecordsHeld()
    {
        const QByteArray bytes = traceHeader();
        const std::vector<SegdTraceHeaderRecord> records(
            3, SegdTraceHeaderRecord(SegdBytes(bytes.constData(), 40)));
        for (const auto& [asked, lines] : {std::pair<qint64, int>{2, 3}, {86, 4}, {-1, 1}}) {
            QString text;
            QTextStream out(&text);
            SegdTraceHeaderColumns::writeExport(out, records, asked, true);
            out.flush();
            QCOMPARE(text.count(QLatin1Char('\n')), lines);
            // A header cut short reads 0 beyond its end.
            QVERIFY(lines == 1 || text.section(QLatin1Char('\n'), 1, 1).endsWith(QStringLiteral(", 0, 0")));
        }
    }
};

OBR_TEST_MAIN(TestSegdTraceHeaderExport)
#include "tst_segd_trace_header_export.moc"
