#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>

using obrtest::ObrioRun;

Q_DECLARE_METATYPE(segy2::File)
Q_DECLARE_METATYPE(segytest::FileLayout)

namespace {

QJsonObject document(const ObrioRun& run)
{
    return QJsonDocument::fromJson(run.out.join(QLatin1Char('\n')).toUtf8()).object();
}

// IEEE single samples 100 x trace + sample, in the file's byte order.
QByteArray ieeeSamples(int trace, int sampleBytes, bool littleEndian)
{
    QByteArray bytes;
    for (int i = 0; i < sampleBytes / 4; ++i) {
        const float value = float(100 * trace + i);
        quint32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        char word[4];
        littleEndian ? qToLittleEndian(bits, word) : qToBigEndian(bits, word);
        bytes += QByteArray(word, 4);
    }
    return bytes;
}

} // namespace

// SEG-Y revision 2 files, written from the standard's layout, read through obrio.
class TestSegyRevision2 : public QObject {
    Q_OBJECT
private slots:
    // What decides the byte order and where the traces lie, as obrio segy info tells it, and
    // the samples where they are.
    void placed_data()
    {
        // expected: info JSON fields that must hold these values
        obrtest::columns<segy2::File, QVariantMap>({"file", "expected"});
        segy2::File file;
        QTest::newRow("big-endian, by the constant")
            << file
            << QVariantMap{{"byteOrder", "big endian"}, {"byteOrderFrom", "constant"}, {"traceCount", 3}};
        file.littleEndian = true;
        QTest::newRow("little-endian: the constant reads 04030201 the other way")
            << file
            << QVariantMap{
                   {"byteOrder", "little endian"}, {"byteOrderFrom", "constant"}, {"samplesPerTrace", 10}};
        file.byteOrderConstant = 0;
        QTest::newRow("no constant: guessed from the code")
            << file << QVariantMap{{"byteOrder", "little endian"}, {"byteOrderFrom", "guessed"}};
        file = segy2::File();
        file.samples = 100000;
        file.extendedSamples = true;
        file.traces = 2;
        QTest::newRow("100,000 samples, the 16-bit word 0")
            << file
            << QVariantMap{{"samplesPerTrace", 100000},
                           {"traceLength", 400240},
                           {"traceCount", 2},
                           {"extendedSamplesPerTrace", 100000}};
        file = segy2::File();
        file.additionalTraceHeaders = 2;
        QTest::newRow("two additional trace headers")
            << file << QVariantMap{{"traceHeaderLength", 720}, {"traceLength", 760}, {"traceCount", 3}};
        file = segy2::File();
        file.extendedText = QStringList{"C 1 FIRST", "C 1 SECOND"};
        file.variableText = true;
        QTest::newRow("textual headers ended by the stanza")
            << file << QVariantMap{{"extendedTextHeaders", 3}, {"firstTraceOffset", 3600 + 3 * 3200}};
        file = segy2::File();
        file.gapBeforeTraces = 1000;
        file.statedTraces = 2;
        QTest::newRow("the first trace further on, two traces stated of three")
            << file
            << QVariantMap{{"firstTraceOffset", 4600},
                           {"statedTraceCount", 2},
                           {"traceCount", 2},
                           {"bytesAfterLastTrace", 0}};
    }
    void placed()
    {
        const auto [base, expected] = obrtest::fetch<segy2::File, QVariantMap>("file", "expected");
        segy2::File file = base;
        const bool le = file.littleEndian;
        file.sampleBytes = [le](int trace, int sampleBytes) { return ieeeSamples(trace, sampleBytes, le); };
        const QString path = home.filePath("placed.sgy");
        QVERIFY(obrtest::writeFile(path, segy2::build(file)));
        const QList<ObrioRun> runs = obrtest::runObrioEach(
            home.path(), {{"segy", "info", "--json", path}, {"segy", "scan", "--json", path}});
        QCOMPARE(runs.at(0).status, 0);
        const QJsonObject info = document(runs.at(0));
        // Intervals are kept in milliseconds as single precision.
        for (auto field = expected.begin(); field != expected.end(); ++field) {
            if (field.value().type() == QVariant::Double)
                QCOMPARE(float(info[field.key()].toDouble()), float(field.value().toDouble()));
            else
                QCOMPARE(info[field.key()].toVariant(), field.value());
        }
        // Every trace's samples found where they are: 100 x trace + sample.
        const QJsonObject scan = document(runs.at(1));
        QCOMPARE(runs.at(1).status, 0);
        const int traces = info["traceCount"].toInt();
        QCOMPARE(scan["tracesRead"].toInt(), traces);
        QCOMPARE(scan["minimum"].toDouble(), 0.0);
        QCOMPARE(scan["maximum"].toDouble(), 100.0 * (traces - 1) + file.samples - 1);
    }

    // A header that places the traces where no file holds them is refused by name; nothing crashes.
    void refused_data()
    {
        obrtest::columns<QByteArray, QString>({"bytes", "error"});
        segy2::File file;
        QByteArray bytes = segy2::build(file);
        qToBigEndian(quint32(0x80000000u), bytes.data() + 3506);
        QTest::newRow("2^31 additional trace headers") << bytes << "2147483648 additional trace headers";
        file.extendedSamples = true;
        bytes = segy2::build(file);
        qToBigEndian(quint32(5000000), bytes.data() + 3268);
        QTest::newRow("extended samples past the file") << bytes << "";
        bytes = segy2::build(segy2::File());
        qToBigEndian(quint64(1) << 40, bytes.data() + 3520);
        QTest::newRow("the first trace beyond the end") << bytes << "the first trace is said to start";
        bytes = segy2::build(segy2::File());
        qToBigEndian(qint32(1000), bytes.data() + 3528);
        QTest::newRow("more trailer stanzas than the file holds") << bytes << "1000 trailer stanzas";
    }
    void refused()
    {
        const auto [bytes, error] = obrtest::fetch<QByteArray, QString>("bytes", "error");
        const QString path = home.filePath("refused.sgy");
        QVERIFY(obrtest::writeFile(path, bytes));
        for (const ObrioRun& run : obrtest::runObrioEach(
                 home.path(),
                 {{"segy", "info", path}, {"segy", "scan", path}, {"copy", "segy", path, "out.sgy"}})) {
            QVERIFY2(run.status == 1 || error.isEmpty(), qPrintable(run.err.join('\n')));
            QVERIFY2(run.err.join('\n').contains(error), qPrintable(run.err.join('\n')));
        }
    }

    // Disk to tape image to disk, byte for byte: a block for each header and each trace, the
    // trailer stanzas a block each.
    void throughTape_data()
    {
        obrtest::columns<segy2::File>({"file"});
        // 3-byte samples, little-endian: trace lengths no multiple of 4.
        segy2::File odd;
        odd.sampleFormat = 15;
        odd.littleEndian = true;
        QTest::newRow("format 15") << odd;
        segy2::File parts;
        parts.additionalTraceHeaders = 1;
        parts.extendedText = QStringList{"C 1 NOTES"};
        parts.variableText = true;
        parts.gapBeforeTraces = 100;
        parts.trailerStanzas = 2;
        QTest::newRow("every part of revision 2") << parts;
    }
    void throughTape()
    {
        const auto [file] = obrtest::fetch<segy2::File>("file");
        const QByteArray bytes = segy2::build(file);
        QTemporaryDir home;
        QVERIFY(obrtest::writeFile(home.filePath("in.sgy"), bytes));
        obrtest::writeTapeImage(home.filePath("t.tap"), {});
        const ObrioRun out = obrtest::runObrio(home.path(), {"copy", "segy", "in.sgy", "tape:t.tap"});
        QVERIFY2(out.status == 0, qPrintable(out.err.join('\n')));
        QList<int> blocks{3200, 400};
        const int texts = file.extendedText.size() + (file.variableText ? 1 : 0);
        for (int k = 0; k < texts; ++k)
            blocks.append(3200);
        if (file.gapBeforeTraces > 0)
            blocks.append(file.gapBeforeTraces);
        for (int trace = 0; trace < file.traces; ++trace)
            blocks.append(segy2::traceLength(file));
        for (int k = 0; k < file.trailerStanzas; ++k)
            blocks.append(3200);
        blocks += QList<int>{-1, -1};
        QCOMPARE(obrtest::blockLengths(obrtest::readTapeImage(home.filePath("t.tap"))), blocks);
        const ObrioRun back = obrtest::runObrio(home.path(), {"copy", "segy", "tape:t.tap", "back.sgy"});
        QVERIFY2(back.status == 0, qPrintable(back.err.join('\n')));
        QCOMPARE(obrtest::readFile(home.filePath("back.sgy")), bytes);
    }

    // A file that revision 1 cannot describe is written as revision 2 and reads back as written.
    void writtenAsRevision2_data()
    {
        obrtest::columns<segytest::FileLayout, bool>({"layout", "revision2"});
        segytest::FileLayout layout;
        QTest::newRow("revision 1 suffices") << layout << false;
        layout.sampleFormat = 6;
        QTest::newRow("IEEE double") << layout << true;
        layout = segytest::FileLayout();
        layout.samples = 70000;
        QTest::newRow("70,000 samples") << layout << true;
        layout = segytest::FileLayout();
        layout.intervalMs = 0.0125f;
        QTest::newRow("12.5 us") << layout << true;
    }
    void writtenAsRevision2()
    {
        const auto [layout, revision2] = obrtest::fetch<segytest::FileLayout, bool>("layout", "revision2");
        RecordingConsole console;
        SegyFormat format;
        const QString path = home.filePath("written.sgy");
        QVERIFY(segytest::writeFile(
            path, format, layout,
            [](SeismicTrace& trace, int index) {
                for (int i = 0; i < trace.sampleCount(); ++i)
                    trace.data()[i] = 0.25 * i - index;
            },
            &console));
        const QByteArray bytes = obrtest::readFile(path);
        QCOMPARE(bytes.at(3500) == 2, revision2);
        QCOMPARE(bytes.mid(3296, 4) == QByteArray::fromHex("01020304"), revision2);
        SegyFormat reading;
        SegyData data(&console, path, 0, &reading);
        QVERIFY(data.ok());
        QCOMPARE(data.samples(), layout.samples);
        QCOMPARE(data.sampleInterval(), layout.intervalMs);
        QCOMPARE(data.sampleFormat(), layout.sampleFormat);
        const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
        QVERIFY(data.seekSequentialTrace(3) && data.readTrace(*trace));
        QCOMPARE(trace->data()[layout.samples - 1], 0.25 * (layout.samples - 1) - 2);
        QVERIFY(console.warnings().isEmpty());
    }

private:
    QTemporaryDir home;
};

OBR_TEST_MAIN(TestSegyRevision2)
#include "tst_segy_revision2.moc"
