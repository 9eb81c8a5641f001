#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegdFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QImage>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <cmath>

namespace {

using obrtest::ObrioRun;

QStringList words(const QString& line)
{
    return line.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
}

// The words after label of the output line that starts with it.
QStringList lineWords(const QStringList& out, const QString& label)
{
    for (const QString& line : out) {
        if (line.startsWith(label))
            return words(line.mid(label.size()));
    }
    return {};
}

// Checks that each expected line is among the output lines, spaces aside.
void expectLines(const QStringList& out, const QStringList& expected)
{
    QStringList shown;
    for (const QString& line : out)
        shown.append(words(line).join(QLatin1Char(' ')));
    for (const QString& line : expected)
        QVERIFY2(shown.contains(line), qPrintable(line + QStringLiteral(" not in:\n") + shown.join('\n')));
}

// The scan's row of a file, without the file name.
QStringList scanRow(const QStringList& out, const QString& name)
{
    return lineWords(out, name + QLatin1Char(' '));
}

// 24-bit integers: trace t, sample i holds (i - 4) x (t + 1) x 1000.
QByteArray integer24(int trace, int samples)
{
    QByteArray bytes;
    for (int i = 0; i < samples; ++i)
        bytes += segdtest::bigEndian(quint32((i - 4) * (trace + 1) * 1000) & 0xFFFFFF, 3);
    return bytes;
}

} // namespace

class TestObrioSegd : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // Revision 2 of a Sercel recorder: one auxiliary and three seismic traces of 9 samples.
        sercel = dir.filePath(QStringLiteral("a.segd"));
        QVERIFY(obrtest::writeFile(sercel, segdtest::build(segdtest::FieldFile())));
        segdtest::FieldFile other;
        other.majorRevision = 3;
        other.minorRevision = 0;
        other.manufacturer = 61;
        other.fieldFile = 123456;
        other.intervalMicroseconds = 500;
        other.channelSets = {{2, false, 5}, {5, true, 11}};
        revision3 = dir.filePath(QStringLiteral("b.segd"));
        QVERIFY(obrtest::writeFile(revision3, segdtest::build(other)));
        segdtest::FieldFile integers;
        integers.majorRevision = 1;
        integers.minorRevision = 0;
        integers.manufacturer = 20;
        integers.formatCode = 8036;
        integers.intervalMicroseconds = 2000;
        integers.channelSets = {{3, true, 9}};
        integers.samples = integer24;
        revision1 = dir.filePath(QStringLiteral("c.segd"));
        QVERIFY(obrtest::writeFile(revision1, segdtest::build(integers)));
    }

    void info_data()
    {
        obrtest::columns<QString, QStringList>({"file", "expected"});
        QTest::newRow("rev 2.1, Sercel") << "a.segd"
                                         << QStringList{"Revision: 2.1",
                                                        "Manufacturer: 13 (Sercel)",
                                                        "Format code: 8058 (IEEE float)",
                                                        "Header length: 256 bytes",
                                                        "1 aux 9 1 9 1 ms 7",
                                                        "2 seismic 3 9 1 ms 7",
                                                        "Trace count: 4"};
        QTest::newRow("rev 3.0, another recorder")
            << "b.segd"
            << QStringList{"Manufacturer: 61",         "Field file: 123456",    "Sample interval: 0.5 ms",
                           "Header length: 384 bytes", "1 aux 20 2 5 0.5 ms 7", "Samples per trace: 11"};
        QTest::newRow("rev 1.0, 24-bit integers")
            << "c.segd"
            << QStringList{"Revision: 1.0", "Format code: 8036 (24-bit integer)", "1 seismic 3 9 2 ms 7"};
    }
    void info()
    {
        const auto [file, expected] = obrtest::fetch<QString, QStringList>("file", "expected");
        const ObrioRun run = obrtest::runObrio(dir.path(), {"segd", "info", dir.filePath(file)});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QStringList());
        expectLines(run.out, expected);
    }

    void headers()
    {
        const ObrioRun run = obrtest::runObrio(dir.path(), {"segd", "headers", revision3});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.size(), 1 + 7);
        QVERIFY(run.out.first().startsWith(QStringLiteral("Field File, Channel Set, Trace Number, ")));
        // The extended field file number, the channel set and the channel within it.
        QVERIFY(run.out.at(7).startsWith(QStringLiteral("123456, 2, 5, ")));

        // --csv writes the same text to the file, and only a line about it to the terminal.
        const QString csv = dir.filePath(QStringLiteral("headers.txt"));
        const ObrioRun written = obrtest::runObrio(dir.path(), {"segd", "headers", revision3, "--csv", csv});
        QCOMPARE(written.status, 0);
        QCOMPARE(written.out, QStringList(QStringLiteral("7 trace headers written: ") + csv));
        QCOMPARE(QString::fromLatin1(obrtest::readFile(csv)), run.out.join('\n') + QLatin1Char('\n'));
    }

    void dump()
    {
        const QByteArray bytes = obrtest::readFile(sercel);
        // Groups of four bytes, each followed by a space.
        const auto hex = [&](int from, int count) {
            QString text;
            for (int k = from; k < from + count; k += 4)
                text += QString::fromLatin1(bytes.mid(k, 4).toHex()) + ' ';
            return text;
        };
        const ObrioRun forty =
            obrtest::runObrio(dir.path(), {"segd", "dump", sercel, "--start", "1", "--count", "40"});
        QCOMPARE(forty.status, 0);
        QCOMPARE(forty.out, QStringList({"Bytes 1 - 40", "", "  0   " + hex(0, 32), " 32   " + hex(32, 8)}));

        // A start beyond the end of the file dumps nothing.
        const ObrioRun beyond = obrtest::runObrio(
            dir.path(), {"segd", "dump", sercel, "--start", QString::number(bytes.size() + 1)});
        QCOMPARE(beyond.status, 1);
        QVERIFY(beyond.out.isEmpty());
        QVERIFY(beyond.err.join('\n').contains(QStringLiteral("holds %1 bytes").arg(bytes.size())));
    }

    void plot_data()
    {
        obrtest::columns<QStringList, int, QSize>({"options", "status", "size"});
        // 12 traces of 501 samples at 2 ms: 1000 ms x 5 inches per second x 96 dpi = 480 rows.
        // Traces 3 to 12 at 8 pixels: (9 + 4) x 8 = 104, rounded to 128. From 500 ms: the rows of
        // samples 250 to 501 at 480 / 501 rows a sample, 287 - 48 to 480.
        QTest::newRow("traces 3 to 12")
            << QStringList{"--first", "3", "--last", "12"} << 0 << QSize(128 + 96, 480 + 96);
        QTest::newRow("time window") << QStringList{"--start", "500", "--gain", "6"} << 0
                                     << QSize(128 + 96, 241 + 96);
        QTest::newRow("first beyond the file") << QStringList{"--first", "13"} << 1 << QSize();
    }
    void plot()
    {
        const auto [options, status, size] =
            obrtest::fetch<QStringList, int, QSize>("options", "status", "size");
        segdtest::FieldFile layout;
        layout.intervalMicroseconds = 2000;
        layout.channelSets = {{2, false, 501}, {10, true, 501}};
        layout.samples = [](int trace, int samples) {
            QByteArray bytes;
            for (int i = 0; i < samples; ++i)
                bytes += segdtest::ieee(float(std::sin(i * 0.1 + trace)));
            return bytes;
        };
        const QString file = dir.filePath(QStringLiteral("plot.segd"));
        QVERIFY(obrtest::writeFile(file, segdtest::build(layout)));
        const QString picture = dir.filePath(QStringLiteral("plot.png"));
        QFile::remove(picture);
        const ObrioRun run =
            obrtest::runObrio(dir.path(), QStringList{"segd", "plot", file, "--out", picture} + options);
        QCOMPARE(run.status, status);
        if (status != 0) {
            QVERIFY(!QFile::exists(picture));
            return;
        }
        QVERIFY(run.out.first().startsWith(QStringLiteral("picture written: ")));
        const QImage image(picture);
        QCOMPARE(image.size(), size);
        // Ink in the traces' area.
        int dark = 0;
        for (int x = 48; x < image.width() - 48; ++x)
            dark += image.pixelColor(x, 48 + 100).value() == 0 ? 1 : 0;
        QVERIFY(dark > 10);
    }

    void scanDirectory()
    {
        QTemporaryDir scanned;
        for (const QString& file : {sercel, revision3, revision1})
            QVERIFY(QFile::copy(file, scanned.filePath(QFileInfo(file).fileName())));
        // Neither a field file's name nor its first bytes: passed over, and said.
        QVERIFY(obrtest::writeFile(scanned.filePath(QStringLiteral("notes.txt")), "field notes"));
        const ObrioRun run = obrtest::runObrio(dir.path(), {"segd", "scan", scanned.path()});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err,
                 QStringList{QStringLiteral(" ** Information:   1 file of %1 passed over, not SEG-D field "
                                            "files: notes.txt (too short for a SEG-D general header)")
                                 .arg(scanned.path())});
        // Samples 1000 t + i of the auxiliary trace 0 and the seismic traces 1 to 3, apart.
        double seismic = 0;
        double aux = 0;
        for (int t = 0; t < 4; ++t) {
            for (int i = 0; i < 9; ++i)
                (t == 0 ? aux : seismic) += std::pow(1000.0 * t + i, 2);
        }
        QCOMPARE(scanRow(run.out, "a.segd"),
                 QStringList({"1", "4", "9", "1", "ms", "1000", "3008",
                              QString::number(std::sqrt(seismic / 27), 'g', 9), "0", "8",
                              QString::number(std::sqrt(aux / 9), 'g', 9)}));
        QCOMPARE(scanRow(run.out, "b.segd").mid(0, 5), QStringList({"123456", "7", "11", "0.5", "ms"}));
        // 24-bit integers (i - 4) x (t + 1) x 1000 of three traces.
        QCOMPARE(scanRow(run.out, "c.segd").mid(0, 7),
                 QStringList({"1", "3", "9", "2", "ms", "-12000", "12000"}));
        QCOMPARE(scanRow(run.out, "c.segd").mid(8), QStringList({"-", "-", "-"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Files read:")), QStringList({"3", "of", "3"}));
        QVERIFY(run.out.last().startsWith(QStringLiteral("Speed:")));

        // One damaged file among good ones: said, passed over, and the job fails.
        QByteArray cut = obrtest::readFile(sercel);
        cut.truncate(cut.size() - 10);
        QVERIFY(obrtest::writeFile(scanned.filePath(QStringLiteral("b2.segd")), cut));
        const ObrioRun damaged = obrtest::runObrio(dir.path(), {"segd", "scan", scanned.path()});
        QCOMPARE(damaged.status, 1);
        QVERIFY(damaged.err.join('\n').contains(QStringLiteral("b2.segd could not be read")));
        QVERIFY(damaged.err.join('\n').contains(QStringLiteral("is cut short")));
        for (const char* good : {"a.segd", "b.segd", "c.segd"})
            QCOMPARE(scanRow(damaged.out, good).size(), 11);
        QCOMPARE(lineWords(damaged.out, QStringLiteral("Files read:")), QStringList({"3", "of", "4"}));
    }

    // Files shared out whole, and the traces of a lone file in ranges (200 traces: four blocks
    // of 64, which no thread count divides), damaged or not: the same output on any number of
    // threads.
    void scanSameOnAnyThreads()
    {
        QTemporaryDir scanned;
        segdtest::FieldFile many;
        many.channelSets = {{1, false, 30}, {199, true, 30}};
        many.samples = [](int trace, int samples) {
            QByteArray bytes;
            for (int i = 0; i < samples; ++i)
                bytes += segdtest::ieee(float(std::sin(0.1 * i * (trace % 13 + 1)) * (trace + 1)));
            return bytes;
        };
        const QByteArray manyBytes = segdtest::build(many);
        const QString lone = scanned.filePath(QStringLiteral("many.segd"));
        QVERIFY(obrtest::writeFile(lone, manyBytes));
        const QString cut = dir.filePath(QStringLiteral("cut.segd"));
        QVERIFY(obrtest::writeFile(cut, manyBytes.left(manyBytes.size() * 2 / 3)));
        for (const QString& file : {sercel, revision3, revision1})
            QVERIFY(QFile::copy(file, scanned.filePath(QFileInfo(file).fileName())));
        for (const QString& path : {lone, cut, scanned.path()}) {
            const QString differences = obrtest::threadsDiffer(dir.path(), {"segd", "scan"}, path);
            QVERIFY2(differences.isEmpty(), qPrintable(path + '\n' + differences));
        }
        const ObrioRun run = obrtest::runObrio(dir.path(), {"segd", "scan", "--threads", "3", lone});
        QCOMPARE(scanRow(run.out, "many.segd").mid(1, 2), QStringList({"200", "30"}));
        const ObrioRun damaged = obrtest::runObrio(dir.path(), {"segd", "scan", "--threads", "3", cut});
        QCOMPARE(damaged.status, 1);
        QVERIFY2(damaged.err.join('\n').contains(QStringLiteral("trace 134 of Field File 1")),
                 qPrintable(damaged.err.join('\n')));
    }

    void badInput_data()
    {
        // refused: which of info, headers, plot (of the first 24 traces) and scan exit with 1
        obrtest::columns<QByteArray, QString, QList<bool>>({"bytes", "error", "refused"});
        const QByteArray good = segdtest::build(segdtest::FieldFile());
        QTest::newRow("empty file") << QByteArray() << "too few for a SEG-D general header"
                                    << QList<bool>{true, true, true, true};
        QByteArray extensions = good;
        extensions[extensions.size() - (20 + 7 * 32 + 9 * 4) + 9] = char(200);
        // The general header is whole: info describes it; the actions that read the last trace fail.
        QTest::newRow("a trace states other extensions")
            << extensions << "states 200 trace header extensions" << QList<bool>{false, true, true, true};
        // The traces held are given, and the missing one is said, with a failure; the plot, whose
        // picture would go without the missing trace, writes none.
        QTest::newRow("last trace cut") << good.left(good.size() - 10) << "is cut short at trace 4"
                                        << QList<bool>{true, true, true, true};
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
            const ObrioRun& run = results.at(r);
            QVERIFY2(run.status == (refused.at(r) ? 1 : 0),
                     qPrintable(runs.at(r).join(' ') + '\n' + run.err.join('\n')));
            if (refused.at(r))
                QVERIFY2(run.err.join('\n').contains(error), qPrintable(run.err.join('\n')));
        }
    }

    void realFiles_data()
    {
        obrtest::columns<QString, QStringList>({"file", "expected"});
        QTest::newRow("sercel.segd") << "sercel.segd"
                                     << QStringList{"Record length: 2000 ms", "Header length: 5728 bytes",
                                                    "Trace count: 86", "Samples per trace: 2001"};
        QTest::newRow("3stomp_test.segd")
            << "3stomp_test.segd"
            << QStringList{"Header length: 2656 bytes", "Trace count: 6", "Samples per trace: 4001"};
        QTest::newRow("other-vendor-rev2.1.segd")
            << "other-vendor-rev2.1.segd"
            << QStringList{"Sample interval: 4 ms", "Date and time: 05/08/2021 20:06:00", "Trace count: 359",
                           "Samples per trace: 251"};
    }
    void realFiles()
    {
        OBR_REQUIRE_REALDATA();
        const auto [name, expected] = obrtest::fetch<QString, QStringList>("file", "expected");
        const QString file = obrtest::realDataDir() + QStringLiteral("/segd/") + name;
        const QString picture = dir.filePath(name + QStringLiteral(".png"));
        const QList<ObrioRun> runs =
            obrtest::runObrioEach(dir.path(), {{"segd", "info", file},
                                               {"segd", "headers", file},
                                               {"segd", "plot", file, "--out", picture},
                                               {"segd", "dump", file, "--start", "1", "--count", "32"}});
        for (const ObrioRun& run : runs)
            QVERIFY2(run.status == 0 && run.err.isEmpty(), qPrintable(run.err.join('\n')));
        expectLines(runs.at(0).out, expected);
        const int traces = lineWords(runs.at(0).out, QStringLiteral("Trace count:")).value(0).toInt();
        QCOMPARE(runs.at(1).out.size(), 1 + traces);
        QVERIFY(!QImage(picture).isNull());
        QCOMPARE(words(runs.at(3).out.at(2)).mid(1).join(QString()),
                 QString::fromLatin1(obrtest::readFile(file).left(32).toHex()));
    }

    void realDirectory()
    {
        OBR_REQUIRE_REALDATA();
        const QString segd = obrtest::realDataDir() + "/segd";
        const ObrioRun run = obrtest::runObrio(dir.path(), {"segd", "scan", segd});
        QVERIFY2(run.status == 0 && run.err.size() == 1, qPrintable(run.err.join('\n')));
        QVERIFY(run.err.first().contains("LICENSE.ph5 (no SEG-D general header)"));
        QCOMPARE(scanRow(run.out, "other-vendor-rev2.1.segd").mid(1, 4),
                 QStringList({"359", "251", "4", "ms"}));
        QCOMPARE(lineWords(run.out, QStringLiteral("Files read:")), QStringList({"3", "of", "3"}));
        for (const QString& path :
             {segd, segd + "/sercel.segd", segd + "/3stomp_test.segd", segd + "/other-vendor-rev2.1.segd"}) {
            const QString differences = obrtest::threadsDiffer(dir.path(), {"segd", "scan"}, path);
            QVERIFY2(differences.isEmpty(), qPrintable(path + '\n' + differences));
        }
    }

private:
    QTemporaryDir dir;
    QString sercel;
    QString revision3;
    QString revision1;
};

OBR_TEST_MAIN(TestObrioSegd)
#include "tst_obrio_segd.moc"
