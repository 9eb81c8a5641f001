#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>

class TestSegyFormat : public QObject {
    Q_OBJECT
private slots:
    void changedFormatRoundTrips()
    {
        SegyFormat format;
        format.path = dir.filePath(QStringLiteral("Field Crew.xml"));
        format.exportFullHeader = false;
        format.endianFromData = false;
        format.endianOrder = SegyFormat::LittleEndian;
        format.textHeaderAscii = true;
        format.textHeaderSize = 3000;
        format.traceHeaderSize = 256;
        format.sampleInterval = {19, HeaderDataType::Int32, true, 0.25};
        format.sampleFormat = {27, HeaderDataType::Int16, true, 1};
        format.samplesPerTrace = {23, HeaderDataType::Int32, true, 1500};
        format.headerWords[2].inIndexFile = false;
        format.setKeySlot(SegyFormat::keySlotByName(QStringLiteral("Field File Number")), 17,
                          HeaderDataType::IbmFloat);

        SegyFormatFile out(format.path, 1);
        QVERIFY(out.write(format, QStringLiteral("crew layout")));
        // After the binary header, the codes its sample format word may hold, for the user.
        const QByteArray written = obrtest::readFile(format.path);
        const int list = written.indexOf("<SampleFormats>");
        QVERIFY(list > written.indexOf("</BinaryHeader>"));
        QVERIFY(written.indexOf("<SampleFormat Code=\"6\" Bytes=\"8\" Name=\"IEEE double\"/>") > list);
        QVERIFY(written.indexOf("<SampleFormat Code=\"15\" Bytes=\"3\" Name=\"24-bit unsigned integer\"/>") >
                list);
        SegyFormatFile in(format.path, 0);
        QVERIFY(in.read());
        QCOMPARE(in.versionText(), QStringLiteral("2.0.1"));
        QCOMPARE(in.description(), QStringLiteral("crew layout"));
        QCOMPARE(in.format().path, QStringLiteral("SegyFormats/Field Crew.xml"));
        QVERIFY(in.format() == format);
        QCOMPARE(in.format().keySlot(0).startByte, 17);
    }

    // Words of every type beyond the 5 first, in an additional trace header: a key slot at start byte
    // 337 and a word of the extension list, under the texts format files give the types.
    void wordTypesRoundTrip_data()
    {
        obrtest::columns<int, QString>({"type", "text"});
        QTest::newRow("2-byte unsigned")
            << int(HeaderDataType::UInt16) << QStringLiteral("2-byte unsigned integer");
        QTest::newRow("8-byte signed") << int(HeaderDataType::Int64) << QStringLiteral("8-byte integer");
        QTest::newRow("4-byte unsigned")
            << int(HeaderDataType::UInt32) << QStringLiteral("4-byte unsigned integer");
        QTest::newRow("8-byte unsigned")
            << int(HeaderDataType::UInt64) << QStringLiteral("8-byte unsigned integer");
        QTest::newRow("IEEE double") << int(HeaderDataType::IeeeDouble) << QStringLiteral("IEEE Double");
    }
    void wordTypesRoundTrip()
    {
        const auto [type, text] = obrtest::fetch<int, QString>("type", "text");
        SegyFormat format;
        format.path = dir.filePath(QStringLiteral("Revision 2.xml"));
        format.traceHeaderSize = 480;
        // "Get from data" would read back as an order still to be detected.
        format.endianFromData = false;
        format.setKeySlot(SegyFormat::keySlotByName(QStringLiteral("Source Easting")), 337, type);
        format.headerWords.append(
            {QStringLiteral("Extended trace"), QStringLiteral("Ext trace"), 249, type, true});

        const QString document = QString::fromUtf8(SegyFormatFile::toXml(format, QString()));
        QVERIFY(document.contains(
            QStringLiteral(
                "Name=\"Source Easting\" Abbreviation=\"Source Easting\" StartByte=\"337\" DataType=\"%1\"")
                .arg(text)));
        SegyFormatFile out(format.path, 1);
        QVERIFY(out.write(format, QString()));
        SegyFormatFile in(format.path, 0);
        QVERIFY(in.read());
        QVERIFY(in.format() == format);
        QCOMPARE(in.format().keySlot(11).startByte, 337);
        QCOMPARE(in.format().keySlot(11).type, type);
        QCOMPARE(in.format().headerWords.last().type, type);
    }

    void standardFileInstalledOnceAndReadsAsStandard()
    {
        const QString folder = dir.filePath(QStringLiteral("krd/SegyFormats"));
        QVERIFY(SegyFormatFile::installStandard(folder));
        const QString path = folder + QStringLiteral("/SEGY Standard.xml");
        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        // "Get from data" reads as an order still to be detected.
        SegyFormat expected;
        expected.endianOrder = SegyFormat::FromData;
        QVERIFY(file.format() == expected);
        QCOMPARE(file.name(), QStringLiteral("SEGY Standard"));

        // A standard file the user edited is kept.
        write("krd/SegyFormats/SEGY Standard.xml", "<SegyFormat Version=\"2.0.1\"/>");
        QVERIFY(SegyFormatFile::installStandard(folder));
        QCOMPARE(obrtest::readFile(path), QByteArray("<SegyFormat Version=\"2.0.1\"/>"));
    }

    void versionOneWordsHaveNoAbbreviation()
    {
        const QString path = write(
            "old.xml", "<SegyFormat Version=\"1.0.1\" Name=\"old\" Location=\"SegyFormats\">"
                       "<TraceHeader Size=\"240\">"
                       "<HeaderWord Name=\"Channel Number\" StartByte=\"25\" DataType=\"2-byte integer\"/>"
                       "<HeaderWord Name=\"Shot\" StartByte=\"9\" DataType=\"IEEE Float\"/>"
                       "</TraceHeader></SegyFormat>");
        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        QCOMPARE(file.version(), 1.01);
        const QVector<SegyFormat::HeaderWord> expected{
            {QStringLiteral("Channel Number"), QString(), 25, HeaderDataType::Int16, false},
            {QStringLiteral("Shot"), QString(), 9, HeaderDataType::IeeeFloat, false}};
        QCOMPARE(file.format().headerWords, expected);
        QCOMPARE(file.format().keySlot(1).startByte, 25);
        QCOMPARE(file.format().keySlot(1).type, int(HeaderDataType::Int16));
    }

    void refusesOtherRoots_data()
    {
        obrtest::columns<QByteArray, QString>({"document", "error"});
        QTest::newRow("wrong root") << QByteArray("<Format Version=\"2.0.1\"/>")
                                    << QStringLiteral("This is not a SEGY format file");
        QTest::newRow("broken off") << QByteArray("<SegyFormat Version=\"2.0.1\"><TextHeader Size=\"3200\">")
                                    << QString();
    }
    void refusesOtherRoots()
    {
        const auto [document, error] = obrtest::fetch<QByteArray, QString>("document", "error");
        SegyFormatFile file(write("f.xml", document), 0);
        QVERIFY(!file.read());
        if (!error.isEmpty())
            QCOMPARE(file.errorString(), error);
        QVERIFY(!SegyFormatFile(dir.filePath(QStringLiteral("missing.xml")), 0).read());
    }

    // A word of the same name and start byte replaces the earlier one; a binary word of no known type is
    // left at its default.
    void laterWordsAndUnknownTypes()
    {
        const QString path = write(
            "odd.xml",
            "<SegyFormat Version=\"2.0.1\"><BinaryHeader Size=\"400\" EndianOrder=\"Big endian\">"
            "<HeaderWord Name=\"Samples per trace\" StartByte=\"99\" DataType=\"\" Override=\"true\" "
            "OverrideValue=\"7\"/>"
            "<HeaderWord Name=\"Sample interval\" StartByte=\"17\" DataType=\"2-byte integer\" "
            "Override=\"true\" "
            "OverrideValue=\"0.5\"/>"
            "</BinaryHeader><TraceHeader>"
            "<HeaderWord Name=\"Inline\" Abbreviation=\"IL\" StartByte=\"181\" DataType=\"4-byte integer\"/>"
            "<HeaderWord Name=\"Inline\" Abbreviation=\"IL2\" StartByte=\"181\" DataType=\"2-byte integer\"/>"
            "<HeaderWord Name=\"Slice\" Abbreviation=\"S\" StartByte=\"181\" DataType=\"2-byte integer\"/>"
            "</TraceHeader></SegyFormat>");
        SegyFormatFile file(path, 0);
        QVERIFY(file.read());
        const SegyFormat& format = file.format();
        QCOMPARE(format.headerWords.size(), 2);
        QCOMPARE(format.headerWords[0].abbreviation, QStringLiteral("IL2"));
        QCOMPARE(format.keySlot(3).type, int(HeaderDataType::Int16));
        QVERIFY(format.samplesPerTrace == SegyFormat().samplesPerTrace);
        QCOMPARE(format.sampleInterval.overrideValue, 0.5);
        QVERIFY(format.sampleInterval.override);
        QVERIFY(!format.endianFromData);
    }

private:
    QString write(const QString& name, const QByteArray& text)
    {
        const QString path = dir.filePath(name);
        if (!obrtest::writeFile(path, text))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestSegyFormat)
#include "tst_segy_format.moc"
