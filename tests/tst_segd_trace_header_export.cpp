#include "seismic/SegdTraceHeaderColumns.h"
#include "tests/support/DataTable.h"
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
    void values_data()
    {
        obrtest::columns<QString, QString, QVariant>({"column", "exported", "cell"});
        QTest::newRow("extended field file") << "Field File"
                                             << "123456" << QVariant(qint64(123456));
        QTest::newRow("extended channel set") << "Channel Set"
                                              << "300" << QVariant(qint64(300));
        QTest::newRow("signed timing word") << "1st Timing Word"
                                            << "-2" << QVariant(qint64(-2));
        QTest::newRow("negative receiver line") << "Receiver Line"
                                                << "-7" << QVariant(qint64(-7));
        QTest::newRow("easting") << "Rcvr Point Easting"
                                 << "1234.500000" << QVariant(1234.5);
        QTest::newRow("resistance in ohms") << "Resistance Value"
                                            << "406.500000" << QVariant("406.5 ohms");
        QTest::newRow("tilt in percent") << "Tilt Value"
                                         << "-0.590000" << QVariant("-0.59%");
        QTest::newRow("cutoff in hertz") << "Cutoff Value"
                                         << "10.000000" << QVariant("10 Hz");
        QTest::newRow("error set") << "Resistance Error"
                                   << "1" << QVariant("Yes");
        QTest::newRow("24-bit serial") << "Unit Serial Number"
                                       << "3712993" << QVariant(qint64(3712993));
        QTest::newRow("signed 32-bit time") << "Trace Max Time"
                                            << "-1" << QVariant(qint64(-1));
    }
    void values()
    {
        const auto [column, exported, cell] =
            obrtest::fetch<QString, QString, QVariant>("column", "exported", "cell");
        const QByteArray bytes = traceHeader();
        const SegdTraceHeaderRecord record(SegdBytes(bytes.constData(), bytes.size()));
        const auto& columns = SegdTraceHeaderColumns::columns;
        const auto found = std::find_if(columns.begin(), columns.end(),
                                        [&](const auto& c) { return column == QLatin1String(c.title); });
        QVERIFY(found != columns.end());
        const QString line = SegdTraceHeaderColumns::exportLine(record.bytes());
        QVERIFY(line.endsWith(QStringLiteral("0\n")));
        QCOMPARE(line.chopped(1).split(QStringLiteral(", ")).at(int(found - columns.begin())), exported);
        QCOMPARE(SegdTraceHeaderColumns::cell(record.bytes(), *found), cell);
    }

    void exportStopsAtTheRecordsHeld_data()
    {
        obrtest::columns<qint64, int>({"asked", "lines"});
        QTest::newRow("fewer than held") << qint64(2) << 3;
        QTest::newRow("all held") << qint64(3) << 4;
        QTest::newRow("more than held") << qint64(86) << 4;
        QTest::newRow("negative") << qint64(-1) << 1;
    }
    void exportStopsAtTheRecordsHeld()
    {
        const auto [asked, lines] = obrtest::fetch<qint64, int>("asked", "lines");
        const QByteArray bytes = traceHeader();
        const std::vector<SegdTraceHeaderRecord> records(
            3, SegdTraceHeaderRecord(SegdBytes(bytes.constData(), 40)));
        QString text;
        QTextStream out(&text);
        SegdTraceHeaderColumns::writeExport(out, records, asked);
        out.flush();
        QCOMPARE(text.count(QLatin1Char('\n')), lines);
        // A header cut short reads 0 beyond its end.
        if (lines > 1)
            QVERIFY(text.section(QLatin1Char('\n'), 1, 1).endsWith(QStringLiteral(", 0, 0")));
    }
};

OBR_TEST_MAIN(TestSegdTraceHeaderExport)
#include "tst_segd_trace_header_export.moc"
