#include "devices/DiskDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QTemporaryDir>

using segdstd::bigEndian;
using segdstd::put;

namespace {

// A field file of one auxiliary and three seismic traces of 9 samples, with bytes put at the
// 1-based position byte.
QByteArray fieldFile(int majorRevision, int byte = 1, const QByteArray& bytes = {})
{
    segdstd::FieldFile layout = segdstd::sercelRevision21();
    layout.majorRevision = majorRevision;
    QByteArray file = segdstd::build(layout);
    put(file, byte, bytes);
    return file;
}

} // namespace

class TestSegdBadInput : public QObject {
    Q_OBJECT
private slots:
    void init() { console.clear(); }

    void refused_data()
    {
        // opens: the headers are taken; report: the start of the error that stops the reading
        obrtest::columns<QByteArray, bool, QString>({"bytes", "opens", "report"});
        const QByteArray valid = fieldFile(2);
        const int header = segdstd::headerLength(segdstd::sercelRevision21());
        const int lastTrace = valid.size() - (20 + 7 * 32 + 9 * 4);

        QTest::newRow("empty file") << QByteArray() << false
                                    << "0 bytes are too few for a SEG-D general header";
        QTest::newRow("header cut before its end")
            << valid.left(header - 1) << false
            << QStringLiteral("the header takes %1 bytes; the file holds %2 bytes")
                   .arg(header)
                   .arg(header - 1);
        QTest::newRow("channel set count overruns the file")
            << fieldFile(2, 29, QByteArray::fromHex("99")) << false << "the header takes 3,360 bytes";
        QTest::newRow("external blocks beyond the file")
            << fieldFile(2, 32, QByteArray::fromHex("ff") + QByteArray(7, '\0') + QByteArray::fromHex("ffff"))
            << false << "the header takes 2,097,344 bytes";
        // The traces the file holds are read; the record then fails where the file ends.
        QTest::newRow("channels beyond the file") << fieldFile(2, 96 + 32 + 9, segdstd::bcd(9999, 4)) << true
                                                  << "trace 5 of Field File 1 is cut short";
        QTest::newRow("negative channel set count")
            << fieldFile(3, 29, QByteArray::fromHex("ff") + QByteArray(6, '\0') + QByteArray::fromHex("8000"))
            << false << "invalid channel set count";
        QTest::newRow("interval 0") << fieldFile(2, 23, QByteArray(1, '\0')) << false
                                    << "invalid sample interval";
        QTest::newRow("negative record length")
            << fieldFile(3, 49, bigEndian(0xFFFFFC18, 4)) << false << "invalid record length";
        QTest::newRow("trace claims other extensions than its channel set")
            << fieldFile(2, lastTrace + 10, QByteArray(1, char(255))) << true
            << "trace 4 of Field File 1 states 255 trace header extensions where the traces of its channel "
               "set have 7";
        QTest::newRow("last trace cut")
            << valid.left(valid.size() - 5) << true << "trace 4 of Field File 1 is cut short";
        QTest::newRow("format code without a decoder")
            << fieldFile(2, 3, segdstd::bcd(8099, 4)) << false
            << "samples of SEGD format code 8099 cannot be decoded";
        // Refused before any trace is read, not padded out to what the headers announce.
        const QString announced =
            "the headers announce 8 traces of 501 to 1,001 samples (21,138 bytes); the file holds %1 bytes";
        QTest::newRow("a header alone")
            << segdstd::build(segdstd::headerOnly()) << false << announced.arg(192);
        QTest::newRow("a header and one bare trace header")
            << segdstd::build(segdstd::headerAndBareTraceHeader()) << false << announced.arg(212);
        QTest::newRow("counts that match neither rule")
            << segdstd::build(segdstd::countsMatchNeitherRule()) << false << "cannot be told: neither ";
    }
    void refused()
    {
        const auto [bytes, opens, report] =
            obrtest::fetch<QByteArray, bool, QString>("bytes", "opens", "report");
        const QString path = write(bytes, QStringLiteral("bad.segd"));
        for (const bool sercel : {false, true}) {
            console.clear();
            std::unique_ptr<SegdData> data;
            if (sercel)
                data = std::make_unique<SercelData>(&console, path, false, false, false);
            else
                data = std::make_unique<SegdData>(new DiskDevice(&console, path, 0), false, false, false);
            QCOMPARE(sercel ? data->ok() : data->open(path), opens);
            if (opens) {
                const auto gather = data->makeGather(false);
                QVERIFY(gather);
                QVERIFY(!data->readRecord(*gather));
            }
            const QStringList errors = console.errors();
            QVERIFY2(!errors.isEmpty() && errors.last().contains(report),
                     qPrintable(errors.join(QLatin1Char('|'))));
        }
        QCOMPARE(obrtest::readFile(path), bytes);
    }

    void randomInputNeverCrashes()
    {
        QRandomGenerator random(12);
        const QByteArray valid = fieldFile(2);
        const QByteArray valid3 = fieldFile(3);
        int reads = 0;
        for (int round = 0; round < 300; ++round) {
            QByteArray bytes;
            if (round % 3 == 0) {
                bytes.resize(int(random.bounded(600)));
                for (char& byte : bytes)
                    byte = char(random.bounded(256));
            } else {
                bytes = round % 3 == 1 ? valid : valid3;
                for (int flips = 0; flips < 4; ++flips)
                    bytes[int(random.bounded(std::min(bytes.size(), 400)))] = char(random.bounded(256));
            }
            const QString path = write(bytes, QStringLiteral("random.segd"));
            console.clear();
            SercelData data(&console, path, round % 2 == 0, false, false);
            bool read = false;
            if (data.ok()) {
                const auto gather = data.makeGather(false);
                read = gather && data.readRecord(*gather);
            }
            // Whatever was refused was said.
            QVERIFY2(read || !console.errors().isEmpty(), qPrintable(QString::number(round)));
            reads += int(read);
        }
        // Both roads were taken: damage the reader lives with, and damage it refuses.
        QVERIFY(reads > 20 && reads < 280);
    }

private:
    QString write(const QByteArray& bytes, const QString& name)
    {
        const QString path = dir.filePath(name);
        if (!obrtest::writeFile(path, bytes))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    QTemporaryDir dir;
    RecordingConsole console{1};
};

OBR_TEST_MAIN(TestSegdBadInput)
#include "tst_segd_bad_input.moc"
