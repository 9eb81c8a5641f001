#include "sps/SpsFormatFile.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

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

} // namespace

class TestObrioSps : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        QDir(home.filePath(QStringLiteral("Documents"))).removeRecursively();
        QVERIFY(QDir().mkpath(home.filePath(QStringLiteral("Documents/krd/AuxiliaryFormat"))));
        QVERIFY(obrtest::writeFile(file, spstest::text(spstest::sourceLines())));
        QFile::remove(file + ".fmt");
    }

    void rangesOfTheLayoutInForce()
    {
        const ObrioRun run = obrio({"sps", "ranges", file, "--kind", "S"});
        QCOMPARE(run.status, 0);
        QCOMPARE(run.err, QStringList());
        QCOMPARE(run.out.value(0), file + ": 2 data lines (lines with \"S\" in columns 1-1)");
        QCOMPARE(fieldWords(run.out, "Surface elevation"), QStringList({"66-71", "10.5", "20.0"}));
        QCOMPARE(fieldWords(run.out, "Point code"), QStringList({"27-28", "-", "-"}));

        // The file's own format file is in force; a layout given by name goes over everything.
        SpsLayout own = SpsLayout::defaults(SpsKind::Source);
        own.setColumns(own.fieldByName("Surface elevation"), {67, 70});
        own.setReadPointId(false);
        QVERIFY(SpsFormatFile(file, SpsKind::Source).write(own, QString()));
        const ObrioRun layered = obrio({"sps", "ranges", file, "--kind", "S"});
        QCOMPARE(layered.out.value(0), file + ": 3 data lines (every line from line 1)");
        // The header line, a record now, is blank there: missing, no 0.
        QCOMPARE(fieldWords(layered.out, "Surface elevation"), QStringList({"67-70", "10.0", "20.0"}));
        const ObrioRun given = obrio({"sps", "ranges", file, "--kind=S", "--layout", file + ".fmt"});
        QCOMPARE(given.out, layered.out);
        const ObrioRun receivers = obrio({"sps", "ranges", file, "--kind", "r", "--layout", "sps21"});
        QCOMPARE(receivers.status, 0);
        QCOMPARE(fieldWords(receivers.out, "Point easting"), QStringList({"47-55", "-", "-"}));
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

        // Written from the revision 2.1 layout, then shown as the layout given.
        const QString out = home.filePath("crew");
        const ObrioRun written = obrio({"sps", "layout", "--kind", "X", "--from", "sps21", "--write", out});
        QCOMPARE(written.out.last(), "Format file " + out + ".fmt written");
        QCOMPARE(fieldWords(written.out, "From channel"), QStringList({"39-43", "yes", "sps21"}));
        const ObrioRun shown = obrio({"sps", "layout", "--kind", "X", "--from", out + ".fmt"});
        QCOMPARE(fieldWords(shown.out, "Record number"), QStringList({"8-15", "yes", out + ".fmt"}));
    }

    void failures_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "status", "message"});
        const auto row = [](const char* name, const QString& arguments, int status, const char* message) {
            QTest::newRow(name) << arguments.split(' ') << status << message;
        };
        row("kind not a record letter", "sps layout --kind Z", 2, "--kind needs S, R or X");
        row("file and --from", "sps layout --kind S x --from sps21", 2, "give FILE or --from, not both");
        row("missing SPS file", "sps ranges none.sps --kind S", 1, "cannot open none.sps");
        row("missing format file", "sps layout --kind S --from none.fmt", 1,
            "cannot read format file none.fmt");
        row("format file of another kind", "sps ranges LINE1.S --kind S --layout relation.fmt", 1,
            "relation.fmt: This is not a SPS format file");
        row("unwritable format file", "sps layout --kind S --write LINE1.S/inside.fmt", 1,
            "Cannot write SPS format file LINE1.S/inside.fmt");
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

private:
    ObrioRun obrio(const QStringList& arguments) { return obrtest::runObrio(home.path(), arguments); }

    QTemporaryDir home;
    QString file = home.filePath(QStringLiteral("LINE1.S"));
};

OBR_TEST_MAIN(TestObrioSps)
#include "tst_obrio_sps.moc"
