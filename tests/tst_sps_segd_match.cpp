#include "sps/SpsLayout.h"
#include "sps/SpsLines.h"
#include "sps/SpsSegdMatch.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

namespace {

// A relation record in SPS 2.1 columns: record 8-15, source line 18-27, point 28-37, channels
// 39-43, 44-48, increment 49, receiver line 50-59, from 60-69, to 70-79.
QString relation(int record, int fromChannel, int toChannel, int from, int to)
{
    QString line = QStringLiteral("X") + QString(79, ' ');
    const auto put = [&](int start, int end, const QString& text) {
        line.replace(start - 1, end - start + 1, text.rightJustified(end - start + 1));
    };
    put(8, 15, QString::number(record));
    put(18, 27, "10.00");
    put(28, 37, QString::number(100 + record) + ".00");
    put(39, 43, QString::number(fromChannel));
    put(44, 48, QString::number(toChannel));
    put(49, 49, "1");
    put(50, 59, "1.00");
    put(60, 69, QString::number(from) + ".00");
    put(70, 79, QString::number(to) + ".00");
    return line;
}

// A field file of one auxiliary and `channels` seismic traces whose extension 1 (bytes 1-6 after
// the 20-byte header) names receiver line 1, points first, first + 1, ...; `wrong` (0-based
// seismic trace) gets point 999.
QByteArray fieldFile(int number, int channels, int first, int wrong = -1)
{
    segdstd::FieldFile file;
    file.fieldFile = number;
    file.channelSets = {{1, 11, 2}, {channels, 11}};
    file.traceHeader = [=](QByteArray& header, int trace) {
        if (trace == 0)
            return;
        const int point = trace - 1 == wrong ? 999 : first + trace - 1;
        const char bytes[6]{0, 0, 1, char(point >> 16), char(point >> 8), char(point)};
        header.replace(20, 6, QByteArray(bytes, 6));
    };
    return segdstd::build(file);
}

} // namespace

class TestSpsSegdMatch : public QObject {
    Q_OBJECT
private slots:
    void fieldFilesAgainstRelations()
    {
        const QString segd = dir.filePath("segd");
        QVERIFY(QDir().mkpath(segd));
        QVERIFY(obrtest::writeFile(segd + "/0001.segd", fieldFile(1, 4, 101)));
        QVERIFY(obrtest::writeFile(segd + "/0002.segd", fieldFile(2, 4, 102, 2)));
        QVERIFY(obrtest::writeFile(segd + "/0004.segd", fieldFile(4, 4, 101)));
        QVERIFY(obrtest::writeFile(segd + "/0005.segd", fieldFile(5, 3, 101)));
        const QStringList x{"H00 SPS format version number    SPS 2.1", relation(1, 1, 4, 101, 104),
                            relation(2, 1, 4, 102, 105), relation(3, 1, 4, 101, 104),
                            relation(5, 1, 4, 101, 104)};
        const QString xPath = dir.filePath("a.x");
        QVERIFY(obrtest::writeFile(xPath, (x.join('\n') + '\n').toLatin1()));
        const QString empty = dir.filePath("empty");
        QVERIFY(obrtest::writeFile(empty, QByteArray()));
        const obrtest::ObrioRun run =
            obrtest::runObrio(dir.path(), {"sps", "match", "--segd", segd, empty, empty, xPath});
        QVERIFY2(run.err.isEmpty(), qPrintable(run.err.join("\n")));
        QCOMPARE(run.out.mid(3),
                 QStringList({"SEG-D " + segd + ": 4 field files read", "4 findings",
                              "X records without a field file: 1", "  X line 4: record 3 has no field file",
                              "Field files without an X record: 1", "  FFID 4 (0004.segd): no X record 4",
                              "Sources that differ: 0", "Receivers that differ: 1",
                              "  FFID 2 (X line 3): 1 of 4 receivers differ (first channel 3: 1 999 "
                              "in SEG-D, 1 104 in X)",
                              "Channel counts that differ: 1",
                              "  FFID 5 (X line 5): 3 seismic traces in SEG-D, 4 channels in X"}));
    }

private:
    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestSpsSegdMatch)
#include "tst_sps_segd_match.moc"
