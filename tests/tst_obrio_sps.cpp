#include "sps/SpsFormatFile.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>

namespace {

using obrtest::ObrioRun;

// The words after the field name of the output line of that field (names fill 20 columns).
QStringList fieldWords(const QStringList& out, const QString& field)
{
    for (const QString& line : out) {
        if (line.left(20).trimmed() == field)
            return line.mid(21).split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    }
    return {};
}

const QStringList sourceLines{
    QStringLiteral("H00 SPS format version number    SPS001"),
    QStringLiteral("S            1001    10111AB  11       0 2        100.0 5000000.0  10.5001120000"),
    QStringLiteral("S            1001    10211AB  11       0 2        250.5 5000010.0  20.0001120001"),
};

} // namespace

class TestObrioSps : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QDir(home.filePath(QStringLiteral("Documents"))).removeRecursively();
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("Documents/krd/AuxiliaryFormat"))));
        QVERIFY(obrtest::writeFile(file, spstest::text(sourceLines)));
        QFile::remove(file + ".fmt");
    }

    void rangesOfTheLayoutInForce()
    {
        const ObrioRun run = obrio({"sps", "ranges", file, "--kind", "S"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QStringList());
        QCOMPARE(run.out.value(0), file + ": 2 data lines (lines with \"S\" in columns 1-1)");
        QCOMPARE(run.out.size(), 2 + 14);
        QCOMPARE(fieldWords(run.out, "Surface elevation"), QStringList({"66-71", "10.5", "20.0"}));
        QCOMPARE(fieldWords(run.out, "Point code"), QStringList({"27-28", "-", "-"}));
        QCOMPARE(fieldWords(run.out, "Time of day"), QStringList({"75-80", "120000", "120001"}));

        // The file's own format file is in force; a layout given by name goes over everything.
        SpsLayout own = SpsLayout::defaults(SpsKind::Source);
        own.setColumns(own.fieldByName("Surface elevation"), {67, 70});
        own.setReadPointId(false);
        QVERIFY(SpsFormatFile(file, SpsKind::Source).write(own, QString()));
        const ObrioRun layered = obrio({"sps", "ranges", file, "--kind", "S"});
        QCOMPARE(layered.out.value(0), file + ": 3 data lines (every line from line 1)");
        QCOMPARE(fieldWords(layered.out, "Surface elevation"), QStringList({"67-70", "0.0", "20.0"}));
        const ObrioRun given = obrio({"sps", "ranges", file, "--kind=S", "--layout", file + ".fmt"});
        QCOMPARE(given.out, layered.out);
        const ObrioRun receivers = obrio({"sps", "ranges", file, "--kind", "r", "--layout", "sps21"});
        QCOMPARE(receivers.status, 0);
        QCOMPARE(fieldWords(receivers.out, "Point easting"), QStringList({"47-55", "-", "-"}));
    }

    void revision21RealFiles_data()
    {
        obrtest::columns<QString, QString, bool>({"file", "kind", "declared"});
        QTest::newRow("source") << "l2sall.txt"
                                << "S" << true;
        QTest::newRow("receiver") << "l2rcrook.txt"
                                  << "R" << true;
        QTest::newRow("relation") << "l2xall.txt"
                                  << "X" << true;
        QTest::newRow("relation without header") << "l2xcrook.txt"
                                                 << "X" << false;
    }
    void revision21RealFiles()
    {
        OBR_REQUIRE_REALDATA();
        const auto [name, kind, declared] =
            obrtest::fetch<QString, QString, bool>("file", "kind", "declared");
        const QString path = obrtest::realDataDir() + "/sps/" + name;
        const ObrioRun plain = obrio({"sps", "ranges", path, "--kind", kind});
        QCOMPARE(plain.status, 0);
        QCOMPARE(plain.err.size(), declared ? 1 : 0);
        if (declared)
            QVERIFY2(plain.err[0].contains(path + " is an SPS 2.1 file") &&
                         plain.err[0].contains("--layout sps21"),
                     qPrintable(plain.err[0]));

        const ObrioRun run = obrio({"sps", "ranges", path, "--kind", kind, "--layout", "sps21"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QStringList());
        const QStringList lines = spstest::readLines(path);
        QStringList got;
        QStringList expected;
        for (const spstest::Revision21Column& column : spstest::revision21Columns(kind == "X")) {
            const QStringList words = fieldWords(run.out, column.name);
            got << QStringLiteral("%1 %2 %3..%4")
                       .arg(column.name, words.value(0), words.value(1), words.value(2));
            expected << QStringLiteral("%1 %2-%3 %4")
                            .arg(column.name)
                            .arg(column.start)
                            .arg(column.end)
                            .arg(column.type == ' ' ? QStringLiteral("-..-")
                                                    : spstest::expectedRange(lines, kind.at(0), column));
        }
        QCOMPARE(got, expected);
    }

    void layoutAndWhereItCameFrom()
    {
        // The user default in obrio's working root, that of the home it runs in.
        const QString userDefault = home.filePath("Documents/krd/AuxiliaryFormat/RPS Default Format");
        QVERIFY(SpsFormatFile(userDefault, SpsKind::Receiver)
                    .write(SpsLayout::defaults(SpsKind::Receiver), QString()));
        const ObrioRun run = obrio({"sps", "layout", "--kind", "R", file});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.value(0), "Layout of receiver records for " + file);
        QVERIFY2(run.out.value(1).startsWith("  user default ") &&
                     run.out.value(1).endsWith("RPS Default Format.fmt: read"),
                 qPrintable(run.out.value(1)));
        QCOMPARE(run.out.value(2), "  own format file " + file + ".fmt: absent");
        QCOMPARE(fieldWords(run.out, "Point easting"), QStringList({"47-55", "yes", "user", "default"}));
        QCOMPARE(fieldWords(run.out, "Read point ID"), QStringList({"yes", "user", "default"}));

        // Written from the revision 2.1 layout, read back as the same layout.
        const QString out = home.filePath("crew");
        const ObrioRun written = obrio({"sps", "layout", "--kind", "X", "--from", "sps21", "--write", out});
        QCOMPARE(written.status, 0);
        QCOMPARE(written.out.last(), "Format file " + out + ".fmt written");
        QCOMPARE(fieldWords(written.out, "From channel"), QStringList({"39-43", "yes", "sps21"}));
        SpsLayout read = SpsLayout::defaults(SpsKind::Relation);
        QCOMPARE(SpsFormatFile(out, SpsKind::Relation).read(out + ".fmt", read), SpsFormatFile::Layer::Read);
        QVERIFY(read == SpsLayout::revision21(SpsKind::Relation));
        const ObrioRun shown = obrio({"sps", "layout", "--kind", "X", "--from", out + ".fmt"});
        QCOMPARE(fieldWords(shown.out, "Record number"), QStringList({"8-15", "yes", out + ".fmt"}));
    }

    void failures_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "status", "message"});
        QTest::newRow("kind not a record letter")
            << QStringList{"sps", "layout", "--kind", "Z"} << 2 << "--kind needs S, R or X";
        QTest::newRow("kind missing") << QStringList{"sps", "ranges", "x"} << 2 << "--kind";
        QTest::newRow("file and --from")
            << QStringList{"sps", "layout", "--kind", "S", "x", "--from", "sps21"} << 2
            << "give FILE or --from, not both";
        QTest::newRow("missing SPS file")
            << QStringList{"sps", "ranges", "none.sps", "--kind", "S"} << 1 << "cannot open none.sps";
        QTest::newRow("missing format file")
            << QStringList{"sps", "layout", "--kind", "S", "--from", "none.fmt"} << 1
            << "cannot read format file none.fmt";
        QTest::newRow("format file of another kind")
            << QStringList{"sps", "ranges", "LINE1.S", "--kind", "S", "--layout", "relation.fmt"} << 1
            << "relation.fmt: This is not a SPS format file";
        QTest::newRow("unwritable format file")
            << QStringList{"sps", "layout", "--kind", "S", "--write", "LINE1.S/inside.fmt"} << 1
            << "Cannot write SPS format file LINE1.S/inside.fmt";
    }
    void failures()
    {
        const auto [arguments, status, message] =
            obrtest::fetch<QStringList, int, QString>("arguments", "status", "message");
        QVERIFY(SpsFormatFile(home.filePath("relation"), SpsKind::Relation)
                    .write(SpsLayout::defaults(SpsKind::Relation), QString()));
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, status);
        QVERIFY2(run.err.join('\n').contains(message), qPrintable(run.err.join('\n')));
    }

    void badInput_data()
    {
        // easting: the range shown for columns beyond every line ("" when not checked)
        obrtest::columns<QByteArray, QString, QString>({"content", "firstLine", "easting"});
        QByteArray random(20000, '\0');
        QRandomGenerator generator(2);
        for (char& byte : random)
            byte = char(generator.bounded(256));
        QTest::newRow("binary") << random << " data line"
                                << "";
        QTest::newRow("empty") << QByteArray() << ": 0 data lines"
                               << "- -";
        QTest::newRow("one long line") << QByteArray(300000, 'S') << ": 1 data line "
                                       << "0.0 0.0";
        QTest::newRow("short lines") << QByteArray("S\nS 1\n") << ": 2 data lines"
                                     << "0.0 0.0";
    }
    void badInput()
    {
        const auto [content, firstLine, easting] =
            obrtest::fetch<QByteArray, QString, QString>("content", "firstLine", "easting");
        const QString path = home.filePath("bad.sps");
        QVERIFY(obrtest::writeFile(path, content));
        const ObrioRun run = obrio({"sps", "ranges", path, "--kind", "S"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.out.size(), 16);
        QVERIFY2(run.out[0].contains(firstLine), qPrintable(run.out[0]));
        if (!easting.isEmpty())
            QCOMPARE(fieldWords(run.out, "Point easting").mid(1).join(' '), easting);
    }

private:
    ObrioRun obrio(const QStringList& arguments) { return obrtest::runObrio(home.path(), arguments); }

    QTemporaryDir home;
    QString file = home.filePath(QStringLiteral("LINE1.S"));
};

OBR_TEST_MAIN(TestObrioSps)
#include "tst_obrio_sps.moc"
