#include "app/ProjectDescription.h"
#include "copy/SegyCopyJob.h"
#include "copy/UnfmtCopyJob.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "sps/SpsFormatFile.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

// Faults met while a job runs: the job stops with a clear message, and what it wrote before stays whole.
namespace {

using obrtest::ObrioRun;
using obrtest::readFile;
using obrtest::TapeBlocks;

// Files written by this process, and by the programs it starts while the limit lasts, stop growing
// at `bytes`. SIGXFSZ stays as it was: each program must ignore it on its own.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &old);
        rlimit lowered = old;
        lowered.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &old); }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit old{};
};

// The blocks a copy puts on tape: the SEG-Y headers when asked, then pieces of 4,240 bytes.
TapeBlocks blocksOf(const QByteArray& file, bool segy)
{
    TapeBlocks blocks;
    if (segy)
        blocks << file.left(3200) << file.mid(3200, 400);
    for (int at = segy ? 3600 : 0; at < file.size(); at += 4240)
        blocks.append(file.mid(at, 4240));
    return blocks;
}

bool startsWith(const TapeBlocks& whole, const TapeBlocks& part)
{
    return part.size() <= whole.size() && whole.mid(0, part.size()) == part;
}

// A tape a job stopped on: its data blocks, then the two file marks that end them.
bool closedWithMarks(const TapeBlocks& whole, const TapeBlocks& written)
{
    const int data = written.size() - 2;
    return data >= 0 && written.mid(data) == TapeBlocks{QByteArray(), QByteArray()} &&
           startsWith(whole, written.mid(0, data));
}

} // namespace

class TestFaultDrills : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        QVERIFY(QDir(home->path()).mkpath("dir") && QDir(home->path()).mkpath("segd"));
        QVERIFY(obrtest::writeFile(path("in.sgy"), input));
        QVERIFY(obrtest::writeFile(path("dir/in.sgy"), input));
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.channelSets = {{1, 9, 9}, {4, 3000}};
        QVERIFY(obrtest::writeFile(path("segd/1.sgd"), segdstd::build(layout)));
    }

    void diskOutputFills_data()
    {
        obrtest::columns<QStringList, QString>({"arguments", "output"});
        const auto row = [](const char* name, const QStringList& arguments, const char* output) {
            QTest::newRow(name) << arguments << output;
        };
        row("copy segy", {"copy", "segy", "in.sgy", "out.sgy"}, "out.sgy");
        row("merge", {"merge", "out.sgy", "in.sgy", "dir/in.sgy"}, "out.sgy");
        row("copy segy-dir", {"copy", "segy-dir", "dir", "out"}, "out/in.sgy");
        row("copy segd", {"copy", "segd", "segd", "out"}, "out/00001.sgd");
        row("convert", {"convert", "segy-to-segd", "--rev", "3.1", "dir", "out"}, "out/in.sgd");
    }
    // The disk fills up half way: a write error that names the file and the system's reason, not a
    // killed program, and no output under its name nor a temporary one.
    void diskOutputFills()
    {
        const auto [arguments, output] = obrtest::fetch<QStringList, QString>("arguments", "output");
        QVERIFY(QDir(home->path()).mkpath("out"));
        const ObrioRun roomy = obrio(arguments);
        QVERIFY2(roomy.status == 0, qPrintable(roomy.err.join('\n')));
        const QByteArray whole = readFile(path(output));
        QVERIFY(whole.size() > 4000 && QFile::remove(path(output)));

        ObrioRun full;
        {
            const FileSizeLimit limit(rlim_t(whole.size() / 2));
            full = obrio(arguments);
        }
        QCOMPARE(full.status, 1);
        const QString errors = full.err.join('\n');
        QVERIFY2(errors.contains("writing") && errors.contains("File too large"), qPrintable(errors));
        QVERIFY(!QFileInfo::exists(path(output)));
        QCOMPARE(obrtest::temporaryFiles(home->path()), QStringList());
        // The jobs say what became of it; the sort's error says so itself.
        QVERIFY2(arguments.first() == "segy" || errors.contains(output + " is not written"),
                 qPrintable(errors));
        QCOMPARE(readFile(path("in.sgy")), input);
    }

    void tapeOutputRefuses_data()
    {
        obrtest::columns<QStringList, qint64, bool, QString>({"arguments", "capacity", "protect", "message"});
        const auto row = [](const char* name, const QStringList& arguments, qint64 capacity, bool protect,
                            const char* message) {
            QTest::newRow(name) << arguments << capacity << protect << message;
        };
        const QStringList segy{"copy", "segy", "in.sgy", "tape:out.tap"};
        // The early warning comes at 90 %: a trace that starts before it ends beyond the tape.
        row("end of tape mid-trace", segy, 29000, false, "EOT encountered");
        row("end of tape, raw blocks", {"copy", "raw", "in.sgy", "tape:out.tap", "--block", "4240"}, 29000,
            false, "EOT encountered");
        row("write-protected", segy, TapeImageSettings::defaultCapacity, true, "write protected");
    }
    // The tape ends, or refuses writing: the job stops, the blocks on it are the data as it was, and
    // two file marks end them so that the tape reads up to there.
    void tapeOutputRefuses()
    {
        const auto [arguments, capacity, protect, message] =
            obrtest::fetch<QStringList, qint64, bool, QString>("arguments", "capacity", "protect", "message");
        obrtest::writeTapeImage(path("out.tap"), {}, capacity);
        if (protect)
            QVERIFY(QFile::setPermissions(path("out.tap"), QFile::ReadOwner));
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, 1);
        const QString output = (run.out + run.err).join('\n');
        QVERIFY2(output.contains(message), qPrintable(output));
        const TapeBlocks written = obrtest::readTapeImage(path("out.tap"));
        QCOMPARE(written.isEmpty(), protect);
        if (!protect) {
            QVERIFY2(closedWithMarks(blocksOf(input, arguments[1] != "raw"), written),
                     qPrintable(QString::number(written.size())));
            QVERIFY2(output.contains("stopped in file 1 after block"), qPrintable(output));
        }
    }

    void filesChangeUnderTheJob_data()
    {
        obrtest::columns<QString, QString, QString, bool, QString>(
            {"in", "out", "victim", "remove", "message"});
        const auto row = [](const char* name, const char* in, const char* out, const char* victim,
                            bool remove, const char* message) {
            QTest::newRow(name) << in << out << victim << remove << message;
        };
        row("output image removed", "in.sgy", "image.tap", "image.tap", true, "error");
        row("output image cut short", "in.sgy", "image.tap", "image.tap", false, "error");
        row("input image cut short", "image.tap", "out.sgy", "image.tap", false, "error reading input tape");
        row("input file cut short", "in.sgy", "image.tap", "in.sgy", false,
            "was cut short while being copied");
    }
    // A file goes away or loses its end while the job runs: no writes into a file nobody sees, no cut
    // taken for the end of the data, and no zeros where the cut was.
    void filesChangeUnderTheJob()
    {
        const auto [in, out, victim, remove, message] =
            obrtest::fetch<QString, QString, QString, bool, QString>("in", "out", "victim", "remove",
                                                                     "message");
        const TapeBlocks blocks = blocksOf(input, true);
        const QString image = path("image.tap");
        obrtest::writeTapeImage(image, in == "image.tap" ? blocks : TapeBlocks{});
        // After the first block, some blocks behind where the job stands.
        const qint64 cutAt = 3208;
        copytest::ScriptedOperator faulty;
        bool faulted = false;
        faulty.alive = [&, step = 6, victim = victim, remove = remove]() mutable {
            if (--step == 0) {
                QFile file(path(victim));
                faulted = remove ? file.remove() : file.resize(cutAt);
            }
            return true;
        };
        RecordingConsole console;
        TapeDriveList drives(&console, {image});
        TapeDevice* drive = drives.drive(0);
        QVERIFY(drive->open(in == "image.tap" ? 0 : 1));
        const auto end = [&](const QString& name) {
            return CopyJob::Endpoint{path(name), name == "image.tap" ? drive : nullptr};
        };
        QVERIFY(!SegyCopyJob(&console, &faulty, end(in), end(out)).run());
        QVERIFY(faulted);
        QVERIFY2(console.errors().join('\n').contains(message, Qt::CaseInsensitive),
                 qPrintable(console.errors().join('\n')));
        drive->close();
        if (out == "out.sgy") {
            QVERIFY(!QFileInfo::exists(path(out)));
            QCOMPARE(obrtest::temporaryFiles(home->path()), QStringList());
        } else if (!remove) {
            const TapeBlocks written = obrtest::readTapeImage(image);
            QVERIFY(victim == "image.tap" ? startsWith(blocks, written) : closedWithMarks(blocks, written));
            if (victim == "image.tap")
                QCOMPARE(QFileInfo(image).size(), cutAt);
        }
    }

    void truncatedInput_data()
    {
        obrtest::columns<QStringList, QString>({"arguments", "message"});
        const auto row = [](const char* name, const QStringList& arguments, const char* message) {
            QTest::newRow(name) << arguments << message;
        };
        row("segy info", {"segy", "info", "cut.sgy"}, "is not a whole number of traces");
        row("copy segy", {"copy", "segy", "cut.sgy", "out.sgy"}, "incomplete");
        row("copy segy to tape", {"copy", "segy", "cut.sgy", "tape:out.tap"}, "incomplete");
        row("segy sort", {"segy", "sort", "--by", "1", "--out", "out.sgy", "cut.sgy"},
            "is not a whole number of traces");
        row("merge", {"merge", "out.sgy", "in.sgy", "cut.sgy"}, "incomplete");
        row("copy segy-dir", {"copy", "segy-dir", "cut", "dir"}, "incomplete");
    }
    // An input that ends inside a trace: told, and what it holds is handled without a crash.
    void truncatedInput()
    {
        const auto [arguments, message] = obrtest::fetch<QStringList, QString>("arguments", "message");
        const QByteArray cut = input.left(input.size() - 1000);
        QVERIFY(obrtest::writeFile(path("cut.sgy"), cut) && QDir(home->path()).mkpath("cut"));
        QVERIFY(QFile::copy(path("cut.sgy"), path("cut/cut.sgy")));
        obrtest::writeTapeImage(path("out.tap"), {});
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, 0);
        const QString output = (run.out + run.err).join('\n');
        QVERIFY2(output.contains(message), qPrintable(output));
        QCOMPARE(readFile(path("cut.sgy")), cut);
    }

    void unreadableInput_data()
    {
        obrtest::columns<QStringList>({"arguments"});
        QTest::newRow("segy info") << QStringList{"segy", "info", "in.sgy"};
        QTest::newRow("copy segy") << QStringList{"copy", "segy", "in.sgy", "out.sgy"};
        QTest::newRow("merge") << QStringList{"merge", "out.sgy", "dir/in.sgy", "in.sgy"};
        QTest::newRow("copy segy-dir") << QStringList{"copy", "segy-dir", "dir", "out"};
        QTest::newRow("copy segd") << QStringList{"copy", "segd", "segd", "out"};
        QTest::newRow("tape image") << QStringList{"copy", "raw", "tape:in.tap", "out.sgy"};
    }
    // Inputs the user may not read: a clear refusal, nothing written.
    void unreadableInput()
    {
        if (geteuid() == 0)
            QSKIP("root reads every file whatever its permissions");
        const auto [arguments] = obrtest::fetch<QStringList>("arguments");
        obrtest::writeTapeImage(path("in.tap"), {"block"});
        QVERIFY(QDir(home->path()).mkpath("out"));
        for (const char* name : {"in.sgy", "dir/in.sgy", "segd/1.sgd", "in.tap"})
            QVERIFY(QFile::setPermissions(path(name), {}));
        const ObrioRun run = obrio(arguments);
        QCOMPARE(run.status, 1);
        QVERIFY2(run.err.join('\n').contains(arguments.contains("segd") ? "1.sgd" : "in."),
                 qPrintable(run.err.join('\n')));
        QVERIFY(!QFileInfo::exists(path("out.sgy")) && QDir(path("out")).isEmpty());
    }

    // A format file or project description whose writing breaks off (the disk full, the program
    // killed) leaves the old file whole and no stray file beside it.
    void settingsFilesWrittenWholeOrNotAtAll()
    {
        SegyFormat segyFormat;
        ProjectDescription project(path("project.xml"));
        const QList<QPair<QString, std::function<bool()>>> writers{
            {"segy.xml", [&] { return SegyFormatFile(path("segy.xml"), 1).write(segyFormat, "drill"); }},
            {"sps.fmt",
             [&] {
                 return SpsFormatFile(path("sps"), SpsKind::Source)
                     .write(SpsLayout::revision21(SpsKind::Source), "drill");
             }},
            {"project.xml", [&] { return project.write(); }},
        };
        const auto ignored = std::signal(SIGXFSZ, SIG_IGN);
        for (const auto& [name, write] : writers) {
            QVERIFY2(write(), qPrintable(name));
            const QByteArray old = readFile(path(name));
            const QStringList files = QDir(home->path()).entryList(QDir::Files);
            bool written = true;
            {
                const FileSizeLimit limit(rlim_t(old.size() / 2));
                written = write();
            }
            QVERIFY2(!written, qPrintable(name));
            QCOMPARE(readFile(path(name)), old);
            QCOMPARE(QDir(home->path()).entryList(QDir::Files), files);
        }
        std::signal(SIGXFSZ, ignored);
    }

private:
    QString path(const QString& name) const { return home->filePath(name); }
    ObrioRun obrio(const QStringList& arguments) { return obrtest::runObrio(home->path(), arguments); }

    // Twenty traces of 4,240 bytes behind the headers.
    const QByteArray input = obrtest::segyFile(1, 1000, false, 20);
    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestFaultDrills)
#include "tst_fault_drills.moc"
