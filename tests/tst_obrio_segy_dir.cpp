#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>

using obrtest::writeFile;

namespace {

// Three traces of 440 bytes.
const QByteArray file = dirtest::segyFile({});
// Four field records of three traces each.
QByteArray shots()
{
    dirtest::SegyParams params;
    params.traces = 12;
    params.tracesPerRecord = 3;
    params.fieldRecord = 1001;
    return dirtest::segyFile(params);
}

} // namespace

// obrio copy segy-dir and obrio convert segy-to-segd as a user runs them: the arguments reach the
// job, the status and the lines say how it went. The rules are tst_segy_dir_copy's.
class TestObrioSegyDir : public QObject {
    Q_OBJECT
private slots:
    void walk_data()
    {
        // outputs: the files of out/; the first of them is `size` bytes long
        obrtest::columns<QStringList, int, QString, QStringList, qint64>(
            {"arguments", "status", "message", "outputs", "size"});
        const auto row = [](const char* name, const QStringList& arguments, int status,
                            const QString& message, const QStringList& outputs = {}, qint64 size = 0) {
            QTest::newRow(name) << arguments << status << message << outputs << size;
        };
        const QStringList perRecord{"a_4567.sgd",     "b_4567.sgd",     "shots_1001.sgd",
                                    "shots_1002.sgd", "shots_1003.sgd", "shots_1004.sgd"};
        row("directory to tape", {"copy", "segy-dir", "in", "tape:t.tap"}, 0, "   3 files copied");
        row("tape to directory", {"copy", "segy-dir", "tape:two.tap", "out", "--base-name", "shot"}, 0,
            "   1 tape copied", {"shot-1.sgy", "shot-2.sgy"}, file.size());
        row("concatenated", {"copy", "segy-dir", "in", "out", "--concatenate"}, 0, "   3 files copied",
            {"a.sgy"}, 2 * file.size() + shots().size() - 2 * 3600);
        row("output is an input", {"copy", "segy-dir", "in", "in"}, 1,
            "input and output directories cannot be the same.");
        row("SEG-D 2.1", {"convert", "segy-to-segd", "in", "out", "--rev", "2.1"}, 0,
            "shots.sgy holds 4 field records", {"a.sgd", "b.sgd", "shots.sgd"}, 1664 + 3 * (84 + 4 * 50));
        row("SEG-D 3.1 per record", {"convert", "segy-to-segd", "in", "out", "--rev", "3.1", "--per-record"},
            0, QString(), perRecord, 2688 + 3 * (84 + 4 * 50));
        row("a file passed over",
            {"convert", "segy-to-segd", "in", "bad", "out", "--rev", "2.1", "--per-record"}, 1,
            "c.sgy: sample interval of 300 microseconds cannot be written as a SEG-D 2.1 base scan interval "
            "- "
            "file passed over",
            perRecord, 1664 + 3 * (84 + 4 * 50));
        for (const QStringList& wrong :
             QList<QStringList>{{"convert", "segy-to-segd", "in", "out"},
                                {"convert", "segy-to-segd", "in", "out", "--rev", "2.2"},
                                {"convert", "segy-to-segd", "in", "tape:t.tap", "--rev", "2.1"},
                                {"copy", "segy-dir", "in", "out", "--tape-limit", "0.5"},
                                {"copy", "segy-dir", "in", "out", "--per-record"},
                                {"copy", "segy-dir", "in", "out", "--record-size", "3"}})
            row(qPrintable(wrong.mid(3).join(' ')), wrong, 2, "obrio: ");
    }
    void walk()
    {
        const auto [arguments, status, message, outputs, size] =
            obrtest::fetch<QStringList, int, QString, QStringList, qint64>("arguments", "status", "message",
                                                                           "outputs", "size");
        QTemporaryDir home;
        const auto path = [&home](const QString& name) { return home.filePath(name); };
        for (const char* sub : {"in", "bad", "out"})
            QVERIFY(QDir(home.path()).mkdir(sub));
        QVERIFY(writeFile(path("in/a.sgy"), file) && writeFile(path("in/b.sgy"), file));
        QVERIFY(writeFile(path("in/shots.sgy"), shots()));
        dirtest::SegyParams refused;
        refused.interval = 300;
        QVERIFY(writeFile(path("bad/c.sgy"), dirtest::segyFile(refused)));
        obrtest::writeTapeImage(path("t.tap"), {});
        obrtest::writeTapeImage(path("two.tap"), dirtest::tapeFile(file) + dirtest::tapeFile(file));

        const obrtest::ObrioRun run = obrtest::runObrio(home.path(), arguments);
        QCOMPARE(run.status, status);
        const QString said = (run.out + run.err).join('\n');
        if (message.isEmpty())
            QVERIFY2(run.err.isEmpty(), qPrintable(said));
        QVERIFY2(said.contains(message), qPrintable(said));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), outputs);
        if (!outputs.isEmpty())
            QCOMPARE(QFileInfo(path("out/" + outputs.first())).size(), size);
        QCOMPARE(QDir(path("in")).entryList(QDir::Files).size(), 3);
    }
};

OBR_TEST_MAIN(TestObrioSegyDir)
#include "tst_obrio_segy_dir.moc"
