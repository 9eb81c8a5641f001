#include "sps/SpsFormatFile.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SpsFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QTemporaryDir>
#include <algorithm>

class TestObrioSps : public QObject {
    Q_OBJECT
private slots:
    // FILE: the source lines of the fixture, with no format file of their own; obrio's home holds
    // a user default for receivers, and relation.fmt, a format file for relation records.
    void initTestCase()
    {
        QVERIFY(obrtest::writeFile(file, spstest::text(spstest::sourceLines())));
        const QString defaults = home.filePath("Documents/krd/AuxiliaryFormat/RPS Default Format");
        QVERIFY(QDir().mkpath(QFileInfo(defaults).path()));
        QVERIFY(SpsFormatFile(defaults, SpsKind::Receiver)
                    .write(SpsLayout::defaults(SpsKind::Receiver), QString()));
        QVERIFY(SpsFormatFile(home.filePath("relation"), SpsKind::Relation)
                    .write(SpsLayout::defaults(SpsKind::Relation), QString()));
    }

    // Each action with its options: the exit status, and a line of the output (or of the errors)
    // that holds the text, runs of spaces aside.
    void actions_data()
    {
        obrtest::columns<QString, int, QString>({"arguments", "status", "text"});
        const auto row = [](const char* name, const char* arguments, int status, const char* text) {
            QTest::newRow(name) << arguments << status << text;
        };
        const char* ranges = "sps ranges FILE --kind S";
        row("data lines", ranges, 0, "FILE: 2 data lines (lines with \"S\" in columns 1-1)");
        row("a field's range", ranges, 0, "Surface elevation 66-71 10.5 20.0");
        row("a code has none", ranges, 0, "Point code 27-28 - -");
        row("layout given by name", "sps ranges FILE --kind r --layout sps21", 0, "Point easting 47-55 - -");
        const char* layout = "sps layout --kind R FILE";
        row("layout of the user default", layout, 0, "Point easting 47-55 yes user default");
        row("the user default read", layout, 0, "RPS Default Format.fmt: read");
        row("no own format file", layout, 0, "own format file FILE.fmt: absent");
        row("layout given", "sps layout --kind X --from sps21", 0, "From channel 39-43 yes sps21");
        row("layout written", "sps layout --kind X --from sps21 --write HOME/crew", 0,
            "Format file HOME/crew.fmt written");
        row("kind not a record letter", "sps layout --kind Z", 2, "--kind needs S, R or X");
        row("missing SPS file", "sps ranges none.sps --kind S", 1, "cannot open none.sps");
        row("format file of another kind", "sps ranges FILE --kind S --layout relation.fmt", 1,
            "relation.fmt: This is not a SPS format file");
        row("unwritable format file", "sps layout --kind S --write FILE/inside.fmt", 1,
            "Cannot write SPS format file FILE/inside.fmt");
    }
    void actions()
    {
        auto [arguments, status, text] = obrtest::fetch<QString, int, QString>("arguments", "status", "text");
        for (QString* words : {&arguments, &text})
            words->replace("FILE", file).replace("HOME", home.path());
        const obrtest::ObrioRun run = obrtest::runObrio(home.path(), arguments.split(' '));
        QCOMPARE(run.status, status);
        QVERIFY2(status != 0 || run.err.isEmpty(), qPrintable(run.err.join('\n')));
        const QStringList lines = status == 0 ? run.out : run.err;
        QVERIFY2(std::any_of(lines.begin(), lines.end(),
                             [text = text](const QString& line) { return line.simplified().contains(text); }),
                 qPrintable((run.out + run.err).join('\n')));
    }

private:
    QTemporaryDir home;
    QString file = home.filePath(QStringLiteral("LINE1.S"));
};

OBR_TEST_MAIN(TestObrioSps)
#include "tst_obrio_sps.moc"
