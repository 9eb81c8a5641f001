#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <algorithm>
#include <cmath>

namespace {

using obrtest::ObrioRun;

// Whether a line of the output begins with the text, runs of spaces aside.
bool begins(const QStringList& out, const QString& text)
{
    return std::any_of(out.begin(), out.end(),
                       [&](const QString& line) { return line.simplified().startsWith(text); });
}

} // namespace

// obrio segd: the options reach the readers, the exit status follows what they said; the rules
// themselves are tested where they live (the reader, the hex dump, the trace header columns).
class TestObrioSegd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // a.segd: revision 2.1 of a Sercel recorder, one auxiliary and three seismic traces of 9 samples.
        QVERIFY(obrtest::writeFile(path("a.segd"), segdstd::build(segdstd::sercelRevision21())));
        segdstd::FieldFile other = segdstd::sercelRevision21();
        other.majorRevision = 3;
        other.minorRevision = 0;
        other.manufacturer = 61;
        other.fieldFile = 123456;
        other.intervalMicroseconds = 500;
        other.channelSets = {{2, 5, 2}, {5, 11}};
        QVERIFY(obrtest::writeFile(path("b.segd"), segdstd::build(other)));
        // d.segd: 12 traces of 501 samples at 2 ms, sine waves.
        segdstd::FieldFile waves = segdstd::sercelRevision21();
        waves.intervalMicroseconds = 2000;
        waves.channelSets = {{2, 501, 9}, {10, 501}};
        waves.samples = [](int trace, int samples) {
            QByteArray bytes;
            for (int i = 0; i < samples; ++i)
                bytes += segdstd::ieee(float(std::sin(i * 0.1 + trace)));
            return bytes;
        };
        QVERIFY(obrtest::writeFile(path("d.segd"), segdstd::build(waves)));
    }

    void actions_data()
    {
        // FILE in the arguments stands for the file; out: texts that begin output lines; picture:
        // the size of the picture written to out.png
        obrtest::columns<QString, QStringList, int, QStringList, QString, QSize>(
            {"file", "arguments", "status", "out", "err", "picture"});
        QTest::newRow("info, rev 2.1 Sercel") << "a.segd" << QStringList{"info", "FILE"} << 0
                                              << QStringList{"Revision: 2.1", "Manufacturer: 13 (Sercel)",
                                                             "2 seismic 3 9 1 ms 7", "Trace count: 4"}
                                              << "" << QSize(0, 0);
        // The extended field file number, the channel set and the channel within it.
        QTest::newRow("headers") << "b.segd" << QStringList{"headers", "FILE"} << 0
                                 << QStringList{"Field File, Channel Set, Trace Number, ", "123456, 2, 5, "}
                                 << "" << QSize(0, 0);
        QTest::newRow("dump") << "a.segd" << QStringList{"dump", "FILE", "--start", "11", "--count", "4"} << 0
                              << QStringList{"Bytes 11 - 14 (offsets 10 - 13)"} << "" << QSize(0, 0);
        QTest::newRow("plot beyond the last trace")
            << "a.segd" << QStringList{"plot", "FILE", "--out", "out.png", "--first", "5"} << 1
            << QStringList() << "traces 5 to 28 are not within the file's traces 1 to 4" << QSize(0, 0);
        // 1000 ms x 5 inches per second x 96 dpi = 480 rows. Traces 3 to 12 at 8 pixels: (9 + 4) x 8
        // = 104, rounded to 128. From 500 ms: the rows of samples 250 to 501 at 480 / 501 rows a
        // sample, 287 - 48 to 480.
        QTest::newRow("plot traces 3 to 12")
            << "d.segd" << QStringList{"plot", "FILE", "--out", "out.png", "--first", "3", "--last", "12"}
            << 0 << QStringList{"picture written: "} << "" << QSize(128 + 96, 480 + 96);
    }
    void actions()
    {
        const auto [file, arguments, status, out, err, picture] =
            obrtest::fetch<QString, QStringList, int, QStringList, QString, QSize>(
                "file", "arguments", "status", "out", "err", "picture");
        QFile::remove(path("out.png"));
        const ObrioRun run = obrtest::runObrio(
            dir.path(), QStringList{"segd"} + QStringList(arguments).replaceInStrings("FILE", path(file)));
        QVERIFY2(run.status == status, qPrintable(run.err.join('\n')));
        for (const QString& text : out)
            QVERIFY2(begins(run.out, text), qPrintable(text + '\n' + run.out.join('\n')));
        if (status == 0)
            QCOMPARE(run.err, QStringList());
        else
            QVERIFY2(run.err.join('\n').contains(err) && run.err.join('\n').contains(path(file)) &&
                         run.out.isEmpty(),
                     qPrintable(run.err.join('\n')));
        const QImage image(path("out.png"));
        QCOMPARE(image.size(), picture);
        // Ink in the traces' area.
        int dark = 0;
        for (int x = 48; x < image.width() - 48; ++x)
            dark += image.pixelColor(x, 48 + 100).value() == 0 ? 1 : 0;
        QVERIFY(image.isNull() || dark > 10);
    }

    // --json: the same values, numbers as numbers, a field without a value null.
    void json()
    {
        const QString shot = path("shot.segd");
        const segdstd::FieldFile file = segdstd::withTrailingBytes(segdstd::standardRevision31());
        QVERIFY(obrtest::writeFile(shot, segdstd::build(file)));
        const QList<ObrioRun> runs = obrtest::runObrioEach(
            dir.path(), {{"segd", "info", "--json", shot}, {"segd", "scan", "--json", shot}});
        QList<QJsonObject> documents;
        for (const ObrioRun& run : runs) {
            QVERIFY2(run.status == 0, qPrintable(run.err.join('\n')));
            documents << QJsonDocument::fromJson(run.out.join('\n').toUtf8()).object();
        }
        const QJsonObject info = documents.at(0);
        QCOMPARE(info["revision"].toString(), QStringLiteral("3.1"));
        QCOMPARE(info["bytesAfterLastTrace"].toInt(), 512);
        // Samples 1000 x trace + sample.
        const QJsonObject scanned = documents.at(1)["files"].toArray().first().toObject();
        QCOMPARE(scanned["traces"].toInt(), 8);
        QCOMPARE(scanned["seismic"].toObject()["maximum"].toDouble(), 9000.0);
    }

    // Files shared out whole, and the traces of a lone file in ranges (200 traces: four blocks
    // of 64, which no thread count divides), damaged or not: the same output on any number of
    // threads.
    void scanSameOnAnyThreads()
    {
        QTemporaryDir scanned;
        segdstd::FieldFile many = segdstd::sercelRevision21();
        many.channelSets = {{1, 30, 9}, {199, 30}};
        many.samples = [](int trace, int samples) {
            QByteArray bytes;
            for (int i = 0; i < samples; ++i)
                bytes += segdstd::ieee(float(std::sin(0.1 * i * (trace % 13 + 1)) * (trace + 1)));
            return bytes;
        };
        const QByteArray manyBytes = segdstd::build(many);
        const QString lone = scanned.filePath(QStringLiteral("many.segd"));
        QVERIFY(obrtest::writeFile(lone, manyBytes));
        const QString cut = path("cut.segd");
        QVERIFY(obrtest::writeFile(cut, manyBytes.left(manyBytes.size() * 2 / 3)));
        for (const QString& scan : {lone, cut}) {
            const QString differences = obrtest::threadsDiffer(dir.path(), {"segd", "scan"}, scan);
            QVERIFY2(differences.isEmpty(), qPrintable(scan + '\n' + differences));
        }
        const QList<ObrioRun> runs = obrtest::runObrioEach(
            dir.path(), {{"segd", "scan", "--threads", "3", lone}, {"segd", "scan", "--threads", "3", cut}});
        QVERIFY(begins(runs.at(0).out, "many.segd 1 200 30 "));
        QCOMPARE(runs.at(1).status, 1);
        QVERIFY2(runs.at(1).err.join('\n').contains(QStringLiteral("trace 134 of Field File 1")),
                 qPrintable(runs.at(1).err.join('\n')));
    }

    // A folder of many field files is listed once, not once for every file it holds.
    void folderListedOnce()
    {
        QTemporaryDir folder;
        segdstd::FieldFile small = segdstd::sercelRevision21();
        small.channelSets = {{2, 5}};
        for (int n = 1; n <= 200; ++n) {
            small.fieldFile = n;
            QVERIFY(
                obrtest::writeFile(folder.filePath(QStringLiteral("%1.sgd").arg(n, 5, 10, QLatin1Char('0'))),
                                   segdstd::build(small)));
        }
        const ObrioRun run = obrtest::runObrio(dir.path(), {"segd", "scan", "-v", folder.path()});
        QCOMPARE(run.status, 0);
        QCOMPARE(
            run.err.filter(QStringLiteral("Debug:   listed ")),
            QStringList{
                QStringLiteral("  * Debug:   listed %1: 200 field files, 0 other files").arg(folder.path())});
        QVERIFY(run.out.contains(QStringLiteral("Files read: 200 of 200")));
    }

    void badInput_data()
    {
        // refused: which of info, headers, plot and scan exit with 1
        obrtest::columns<QByteArray, QString, QList<bool>>({"bytes", "error", "refused"});
        const QList<bool> all{true, true, true, true};
        const QByteArray good = segdstd::build(segdstd::sercelRevision21());
        QByteArray extensions = good;
        extensions[extensions.size() - (20 + 7 * 32 + 9 * 4) + 9] = char(200);
        // The general header is whole: info describes it; the actions that read the last trace fail.
        QTest::newRow("a trace states other extensions")
            << extensions << "states 200 trace header extensions" << QList<bool>{false, true, true, true};
        // The traces held are given, and the missing one is said, with a failure; the plot, whose
        // picture would go without the missing trace, writes none.
        QTest::newRow("last trace cut") << good.left(good.size() - 10) << "is cut short at trace 4" << all;
    }
    void badInput()
    {
        const auto [bytes, error, refused] =
            obrtest::fetch<QByteArray, QString, QList<bool>>("bytes", "error", "refused");
        QTemporaryDir bad;
        const QString file = bad.filePath(QStringLiteral("bad.segd"));
        QVERIFY(obrtest::writeFile(file, bytes));
        const QString picture = bad.filePath(QStringLiteral("bad.png"));
        const QList<QStringList> runs = {{"segd", "info", file},
                                         {"segd", "headers", file},
                                         {"segd", "plot", file, "--out", picture},
                                         {"segd", "scan", bad.path()}};
        const QList<ObrioRun> results = obrtest::runObrioEach(dir.path(), runs);
        for (int r = 0; r < results.size(); ++r) {
            const QString err = results.at(r).err.join('\n');
            QVERIFY2(results.at(r).status == (refused.at(r) ? 1 : 0),
                     qPrintable(runs.at(r).join(' ') + '\n' + err));
            if (refused.at(r))
                QVERIFY2(err.contains(error) && err.contains(file), qPrintable(err));
        }
        QVERIFY(!QFile::exists(picture));
    }

private:
    QString path(const QString& name) const { return dir.filePath(name); }

    QTemporaryDir dir;
};

OBR_TEST_MAIN(TestObrioSegd)
#include "tst_obrio_segd.moc"
