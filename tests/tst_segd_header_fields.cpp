#include "analyzers/SegdFieldTexts.h"
#include "analyzers/SegdHexDump.h"
#include "devices/DiskDevice.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SegdReader.h"
#include "seismic/SegdTraceHeaderColumns.h"
#include "seismic/SercelData.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <QTextStream>

using segdstd::bigEndian;
using segdstd::ieee;
using segdstd::ieee64;
using segdstd::put;

namespace {

QString textOf(const QVector<SegdFieldTexts::FieldText>& fields, const QString& name)
{
    for (const auto& field : fields) {
        if (field.name == name)
            return field.text;
    }
    return QStringLiteral("<missing>");
}

QByteArray counting(int count, int first = 0)
{
    QByteArray bytes(count, '\0');
    for (int i = 0; i < count; ++i)
        bytes[i] = char(first + i);
    return bytes;
}

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

// The header texts the SEG-D analyzer shows and exports: named fields, the hex dump and the
// trace header columns.
class TestSegdHeaderFields : public QObject {
    Q_OBJECT
private slots:
    // The values of a generated Sercel record, each placed where the recorder writes it.
    void fieldsOfAGeneratedRecord()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.fieldFile = 1234;
        layout.extendedBlocks = 32;
        layout.channelSets = {{1, 11, 9}, {3, 11}};
        QByteArray bytes = segdstd::build(layout);
        const int extended = 96 + 32 * 2;
        put(bytes, extended + 9, bigEndian(4, 4));       // TotalTraces
        put(bytes, extended + 29, bigEndian(2, 4));      // SourceType
        put(bytes, extended + 573, ieee64(612345.678));  // SrcX
        put(bytes, 96 + 7, QByteArray::fromHex("a00a")); // descale word of channel set 1
        QTemporaryDir dir;
        QVERIFY(obrtest::writeFile(dir.filePath("f.segd"), bytes));
        RecordingConsole console;
        SercelData data(&console, dir.filePath("f.segd"), false, false);
        QVERIFY(data.ok());

        const auto general = SegdFieldTexts::general(data);
        QCOMPARE(textOf(general, "Ffid"), QString("1234"));

        const auto extendedFields = SegdFieldTexts::extended(data);
        QCOMPARE(textOf(extendedFields, "TotalTraces"), QString("4"));
        QCOMPARE(textOf(extendedFields, "SourceType"), QString("Vibroseis"));
        QCOMPARE(textOf(extendedFields, "SrcX"), QString("612345.68"));

        const auto set = SegdFieldTexts::channelSet(data.channelSets().at(0));
        QCOMPARE(textOf(set, "Descale"), QString("A00A"));

        // Another recorder's extended header holds other things: the Sercel fields stay blank.
        put(bytes, 17, segdstd::bcd(61, 2));
        QVERIFY(obrtest::writeFile(dir.filePath("other.segd"), bytes));
        const auto other = SegdReader::open(dir.filePath("other.segd"), &console);
        QVERIFY(other && other->ok() && !other->sercel());
        QCOMPARE(textOf(SegdFieldTexts::general(*other), "Ffid"), QString("1234"));
        for (const auto& field : SegdFieldTexts::extended(*other))
            QVERIFY2(field.text.isEmpty(), qPrintable(field.name));
    }

    void hexDumpText()
    {
        // The offsets count from the start and take the width of the largest.
        const QStringList lines = SegdHexDump::text(counting(100, 0xA0), 1001).split('\n');
        QCOMPARE(lines[0], QString("Bytes 1001 - 1100 (offsets 1000 - 1099)"));
        QCOMPARE(lines[2].left(25), QString("1000   a0a1a2a3 a4a5a6a7 "));
        QCOMPARE(lines[5], QString("1096   00010203 "));
        const std::pair<qint64, int> widths[] = {{99, 3}, {100, 4}, {5000000000, 8}};
        for (const auto& [count, width] : widths)
            QCOMPARE(SegdHexDump::offsetWidth(count), width);
    }

    void readsTheRangeOfAFile()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("f.segd");
        QVERIFY(obrtest::writeFile(path, counting(200)));
        RecordingConsole console;
        DiskDevice device(&console, path, 0);
        QVERIFY(device.ok());

        QByteArray bytes;
        QCOMPARE(SegdHexDump::read(device, 11, 190, bytes), SegdHexDump::ReadResult::Read);
        QCOMPARE(bytes, counting(190, 10));

        // Past the end, before the start, or nothing at all: refused and empty.
        QCOMPARE(SegdHexDump::read(device, 11, 191, bytes), SegdHexDump::ReadResult::Failed);
        QVERIFY(bytes.isEmpty());
        for (const auto& [start, count] : {std::pair{201, 1}, {0, 10}, {1, 0}, {1, -5}})
            QCOMPARE(SegdHexDump::read(device, start, count, bytes), SegdHexDump::ReadResult::Failed);
    }

    // Each column's export text and table cell: signed and extended fields, units, flags.
    void traceHeaderColumns()
    {
        const struct {
            const char* column;
            const char* exported;
            QVariant cell;
        } expected[] = {{"Field File", "123456", qint64(123456)},
                        {"Receiver Line", "-7", qint64(-7)},
                        {"Rcvr Point Easting", "1234.500000", 1234.5},
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

OBR_TEST_MAIN(TestSegdHeaderFields)
#include "tst_segd_header_fields.moc"
