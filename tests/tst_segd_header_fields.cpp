#include "analyzers/SegdFieldTexts.h"
#include "seismic/SegdGeneralHeader.h"
#include "seismic/SegdReader.h"
#include "seismic/SercelData.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

using segdtest::bigEndian;
using segdtest::ieee;
using segdtest::ieee64;
using segdtest::put;

namespace {

QString textOf(const QVector<SegdFieldTexts::FieldText>& fields, const QString& name)
{
    for (const auto& field : fields) {
        if (field.name == name)
            return field.text;
    }
    return QStringLiteral("<missing>");
}

} // namespace

class TestSegdHeaderFields : public QObject {
    Q_OBJECT
private slots:
    // Codes in the gaps and beyond the ends of the recorder's tables have no name.
    void unnamedCodes()
    {
        for (const int code : {-1, 3, 13})
            QCOMPARE(SegdFieldTexts::testRecordTypeName(code), QString("undefined type"));
        for (const int code : {0, 8})
            QCOMPARE(SegdFieldTexts::processTypeName(code), QString("undefined type"));
    }

    void externalHeaderText()
    {
        QCOMPARE(SegdFieldTexts::externalHeaderText(QByteArray("AB\0C", 4)), QString("AB C"));
        QCOMPARE(SegdFieldTexts::externalHeaderText(QByteArray(64, '\0') + "  "),
                 QString("\n\n     No Text"));
    }

    // The values of a generated Sercel record, each placed where the recorder writes it.
    void fieldsOfAGeneratedRecord()
    {
        segdtest::FieldFile layout;
        layout.fieldFile = 1234;
        layout.extendedBlocks = 32;
        layout.channelSets = {{1, false, 11}, {3, true, 11}};
        QByteArray bytes = segdtest::build(layout);
        const int extended = 96 + 32 * 2;
        put(bytes, extended + 9, bigEndian(4, 4));       // TotalTraces
        put(bytes, extended + 29, bigEndian(2, 4));      // SourceType
        put(bytes, extended + 41, ieee(1.5f));           // TbWindow
        put(bytes, extended + 45, bigEndian(3, 4));      // TestRecType
        put(bytes, extended + 61, bigEndian(7, 4));      // SpreadType
        put(bytes, extended + 97, bigEndian(2, 4));      // NoiseElimType
        put(bytes, extended + 517, ieee(123456.7f));     // MaxSeis
        put(bytes, extended + 573, ieee64(612345.678));  // SrcX
        put(bytes, extended + 593, bigEndian(1, 4));     // SlipSweep
        put(bytes, extended + 765, bigEndian(3, 4));     // FilterType
        put(bytes, 96 + 7, QByteArray::fromHex("a00a")); // descale word of channel set 1
        QTemporaryDir dir;
        QVERIFY(obrtest::writeFile(dir.filePath("f.segd"), bytes));
        RecordingConsole console;
        SercelData data(&console, dir.filePath("f.segd"), false, false);
        QVERIFY(data.ok());

        const auto general = SegdFieldTexts::general(data);
        QCOMPARE(textOf(general, "Ffid"), QString("1234"));
        QCOMPARE(textOf(general, "BaseScanIntvl"), QString("1.00"));
        QCOMPARE(textOf(general, "RecordLength"), QString("10"));

        const auto extendedFields = SegdFieldTexts::extended(data);
        QCOMPARE(textOf(extendedFields, "TotalTraces"), QString("4"));
        QCOMPARE(textOf(extendedFields, "SourceType"), QString("Vibroseis"));
        QCOMPARE(textOf(extendedFields, "TbWindow"), QString("1.50"));
        QCOMPARE(textOf(extendedFields, "TestRecType"), QString("3"));
        QCOMPARE(textOf(extendedFields, "SpreadType"), QString("N/A"));
        QCOMPARE(textOf(extendedFields, "NoiseElimType"), QString("Diversity Stk"));
        QCOMPARE(textOf(extendedFields, "MaxSeis"), QString("123457"));
        QCOMPARE(textOf(extendedFields, "SrcX"), QString("612345.68"));
        QCOMPARE(textOf(extendedFields, "SlipSweep"), QString("Yes"));
        QCOMPARE(textOf(extendedFields, "FilterType"), QString("SU6R-like"));

        const auto set = SegdFieldTexts::channelSet(data.channelSets().at(0));
        QCOMPARE(textOf(set, "Descale"), QString("A00A"));
        QCOMPARE(textOf(set, "ChanType"), QString("9"));
        QCOMPARE(textOf(SegdFieldTexts::channelSet(data.channelSets().at(1)), "ChanType"), QString("1"));

        // Another recorder's extended header holds other things: the Sercel fields stay blank.
        put(bytes, 17, segdtest::bcd(61, 2));
        QVERIFY(obrtest::writeFile(dir.filePath("other.segd"), bytes));
        const auto other = SegdReader::open(dir.filePath("other.segd"), &console);
        QVERIFY(other && other->ok() && !other->sercel());
        QCOMPARE(textOf(SegdFieldTexts::general(*other), "Ffid"), QString("1234"));
        for (const auto& field : SegdFieldTexts::extended(*other))
            QVERIFY2(field.text.isEmpty(), qPrintable(field.name));
    }
};

OBR_TEST_MAIN(TestSegdHeaderFields)
#include "tst_segd_header_fields.moc"
