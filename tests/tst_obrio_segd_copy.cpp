#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <memory>

using obrtest::ObrioRun;
using obrtest::readFile;
using obrtest::writeFile;

// obrio copy segd as a user runs it.
class TestObrioSegdCopy : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(home->path()).mkpath("in") && QDir(home->path()).mkpath("out"));
        for (int number = 1; number <= 3; ++number) {
            segdstd::FieldFile layout = segdstd::sercelRevision21();
            layout.fieldFile = 100 + number;
            QVERIFY(writeFile(path(QStringLiteral("in/%1.sgd").arg(number)), segdstd::build(layout)));
        }
    }

    void throughTapeImage()
    {
        obrtest::writeTapeImage(path("t.tap"), {});
        ObrioRun run = obrio({"copy", "segd", "in", "tape:t.tap", "--block", "1", "--eofs"});
        QVERIFY2(run.status == 0, qPrintable(run.err.join('\n')));
        QVERIFY(run.out.contains("3 Field Files output to this tape"));
        run = obrio({"copy", "segd", "tape:t.tap", "out", "--ffid-names"});
        QVERIFY2(run.status == 0, qPrintable(run.err.join('\n')));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files),
                 (QStringList{"00101.sgd", "00102.sgd", "00103.sgd"}));
        QCOMPARE(readFile(path("out/00103.sgd")), readFile(path("in/3.sgd")));
        QVERIFY(run.out.contains("   1 tape copied"));
    }

    void options_data()
    {
        // named: a text of the lines (or of the usage error); copied: the files written
        obrtest::columns<QStringList, int, QString, QStringList>({"options", "status", "named", "copied"});
        QTest::newRow("a range, named by number")
            << QStringList{"--range", "101, 103", "--ffid-names"} << 0 << "Field File 102  skipped"
            << QStringList{"00101.sgd", "00103.sgd"};
        QTest::newRow("prefix and line name")
            << QStringList{"--prefix", "S", "--line-name"} << 0 << ""
            << QStringList{"S_0_00001.sgd", "S_0_00002.sgd", "S_0_00003.sgd"};
        // Usage errors name the bad item, before anything is written.
        QTest::newRow("a bad range item")
            << QStringList{"--range", "1-5, x7"} << 2 << "\"x7\"" << QStringList();
    }
    // The options reach the job; a usage error stops before it.
    void options()
    {
        const auto [options, status, named, copied] =
            obrtest::fetch<QStringList, int, QString, QStringList>("options", "status", "named", "copied");
        const ObrioRun run = obrio(QStringList{"copy", "segd", "in", "out"} + options);
        QVERIFY2(run.status == status, qPrintable(run.err.join('\n')));
        QVERIFY2((run.out + run.err).join('\n').contains(named), qPrintable((run.out + run.err).join('\n')));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), copied);
        QVERIFY(status == 0 || run.out.isEmpty());
    }

    // The watch copies a field file dropped into the directory; Ctrl-C ends it with the summary.
    void watchUntilInterrupted()
    {
        QVERIFY(QDir(path("watched")).mkpath("."));
        const QByteArray file = readFile(path("in/1.sgd"));
        bool dropped = false;
        const ObrioRun run = obrtest::runObrioInterrupted(
            home->path(),
            {"copy", "segd", "watched", "out", "--watch", "--poll", "20", "--report", "report.txt"},
            [&] {
                dropped = dropped || writeFile(path("watched/a.sgd"), file);
                return readFile(path("out/00001.sgd")) == file;
            },
            1);
        QCOMPARE(run.status, 0);
        QCOMPARE(readFile(path("out/00001.sgd")), file);
        QVERIFY2(run.out.contains("   1 field file copied"), qPrintable(run.out.join('\n')));
        QVERIFY(QString::fromUtf8(readFile(path("report.txt"))).contains("copy aborted by user at "));
    }

private:
    QString path(const QString& name) const { return home->filePath(name); }
    ObrioRun obrio(const QStringList& arguments) const { return obrtest::runObrio(home->path(), arguments); }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestObrioSegdCopy)
#include "tst_obrio_segd_copy.moc"
