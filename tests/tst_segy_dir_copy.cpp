#include "copy/DirCopyOperator.h"
#include "copy/SegyDirCopyJob.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SercelData.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <memory>
#include <vector>

using namespace obrtest;

namespace {

// Answers the tape prompts from scripts (null: "No more tapes"); stops the job when asked to.
class ScriptedOperator : public DirCopyOperator {
public:
    QList<TapeDevice*> inputAnswers;
    QList<TapeDevice*> outputAnswers;
    int outputPrompts = 0;

    void startProgress(qint64) override {}
    void showProgress(qint64) override {}
    void endProgress() override {}
    bool keepAlive() override { return true; }
    TapeDevice* nextInputTape(TapeDevice*) override
    {
        return inputAnswers.isEmpty() ? nullptr : inputAnswers.takeFirst();
    }
    TapeDevice* nextOutputTape(TapeDevice*) override
    {
        ++outputPrompts;
        return outputAnswers.isEmpty() ? nullptr : outputAnswers.takeFirst();
    }
    void showCurrentFile(const QString&) override {}
};

// The summary lines of a job's listing: those after its head, up to the empty line.
QStringList summary(const RecordingConsole& console)
{
    const QStringList lines = console.messages();
    const int first = lines.indexOf(QStringLiteral("Multiple SEG-Y Copy Summary:")) + 1;
    const int end = lines.indexOf(QString(), first);
    return first > 0 ? lines.mid(first, end - first) : QStringList{"<no summary>"};
}

QByteArray segy(int traces, int samples = 20, int format = 1, int fieldRecord = 1)
{
    dirtest::SegyParams params;
    params.traces = traces;
    params.samples = samples;
    params.format = format;
    params.fieldRecord = fieldRecord;
    return dirtest::segyFile(params);
}

// A SEG-Y file as a tape file: header blocks, a block per trace, a file mark.
TapeBlocks tapeFile(const QByteArray& file)
{
    const int traceLength = qFromBigEndian<quint16>(file.constData() + 3220) * 4 + 240;
    TapeBlocks blocks{file.left(3200), file.mid(3200, 400)};
    for (int offset = 3600; offset < file.size(); offset += traceLength)
        blocks.append(file.mid(offset, traceLength));
    blocks.append(QByteArray());
    return blocks;
}

} // namespace

// The multi-file SEG-Y copy and the SEG-Y to SEG-D conversion over directories and tape images.
class TestSegyDirCopy : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        copyOperator = ScriptedOperator();
        drives.clear();
        for (const char* sub : {"a", "b", "out"})
            QDir(dir->path()).mkdir(sub);
    }

    void diskToDisk()
    {
        QVERIFY(writeFile(path("a/x.sgy"), segy(3)));
        QVERIFY(writeFile(path("a/y.sgy"), segy(2)));
        QVERIFY(writeFile(path("a/notes.txt"), "not SEG-Y"));
        QVERIFY(writeFile(path("b/z.sgy"), segy(1)));
        // A name taken in the output gets a unique one beside it.
        QVERIFY(writeFile(path("out/x.sgy"), "kept"));
        QVERIFY(run(disk({"a", "b"}, "out")));
        QCOMPARE(readFile(path("out/x.sgy")), QByteArray("kept"));
        for (const auto& [name, traces] : QList<QPair<QString, int>>{{"x-1", 3}, {"y", 2}, {"z", 1}})
            QCOMPARE(readFile(path(QStringLiteral("out/%1.sgy").arg(name))), segy(traces));
        const qint64 bytes = segy(3).size() + segy(2).size() + segy(1).size();
        QCOMPARE(summary(console),
                 QStringList({QStringLiteral("   %1 bytes copied").arg(bytes), "   3 files copied"}));
        const QStringList lines = console.messages();
        QVERIFY(lines.at(1).startsWith("Multiple SEG-Y copy started at "));
        QVERIFY(lines.at(lines.size() - 2).startsWith("Multiple SEG-Y copy ended at "));
        QVERIFY(console.errors().isEmpty());
    }

    void concatenationMismatches_data()
    {
        obrtest::columns<QByteArray, QString>({"second", "error"});
        QTest::newRow("format") << segy(2, 20, 2)
                                << "sample format mismatch for concatenated files - job will abort";
        QByteArray interval = segy(2);
        qToBigEndian<qint16>(1000, interval.data() + 3216);
        QTest::newRow("interval") << interval
                                  << "sample interval mismatch for concatenated files - job will abort";
        QTest::newRow("count") << segy(2, 30)
                               << "sample count mismatch for concatenated files - job will abort";
    }
    void concatenationMismatches()
    {
        const auto [second, error] = obrtest::fetch<QByteArray, QString>("second", "error");
        QVERIFY(writeFile(path("a/1.sgy"), segy(3)));
        QVERIFY(writeFile(path("a/2.sgy"), second));
        QVERIFY(writeFile(path("a/3.sgy"), segy(1)));
        SegyDirCopyJob::Settings settings = disk({"a"}, "out");
        settings.concatenate = true;
        QVERIFY(!run(settings));
        QCOMPARE(console.errors(), QStringList({error, "  job failed"}));
        // The job stopped at the first file that differs.
        QCOMPARE(readFile(path("out/1.sgy")), segy(3));
        QCOMPARE(summary(console).last(), QStringLiteral("   1 file copied"));
    }

    // An output directory that is an input (also through a link), or one tape on both sides: refused
    // before anything is written.
    void sameEndsRefused()
    {
        QVERIFY(writeFile(path("a/x.sgy"), segy(2)));
        QVERIFY(writeFile(path("b/y.sgy"), segy(2)));
        QVERIFY(QFile::link(path("a"), path("link")));
        SegyDirCopyJob::Settings sameTape = disk({}, QString());
        sameTape.inputTape = sameTape.outputTape = tape("in.tap", tapeFile(segy(1)), 0);
        for (const SegyDirCopyJob::Settings& settings :
             {disk({"b", "a"}, "a"), disk({"b", "a"}, "link"), sameTape}) {
            console.clear();
            QVERIFY(!run(settings));
            QCOMPARE(console.errors(),
                     QStringList({settings.inputTape ? "input and output tape drives cannot be the same."
                                                     : "input and output directories cannot be the same.",
                                  "job will abort"}));
            QCOMPARE(summary(console), QStringList{"<no summary>"});
        }
        QCOMPARE(QDir(path("a")).entryList(QDir::Files), QStringList{"x.sgy"});
        QCOMPARE(readTapeImage(path("in.tap")), tapeFile(segy(1)));
    }

    void diskToTapesByByteLimit()
    {
        const QByteArray file = segy(4);
        for (const char* name : {"a/1.sgy", "a/2.sgy", "a/3.sgy"})
            QVERIFY(writeFile(path(name), file));
        SegyDirCopyJob::Settings settings = disk({"a"}, QString());
        settings.outputTape = tape("one.tap", {}, 1);
        copyOperator.outputAnswers = {tape("two.tap", {}, 1)};
        settings.outputLimit = true;
        // Two files fit; the third would cross the limit and starts the next tape.
        settings.bytesPerTapeLimit = file.size() * 5 / 2;
        QVERIFY2(run(settings), qPrintable(console.errors().join('|')));
        QCOMPARE(copyOperator.outputPrompts, 1);
        const TapeBlocks one = tapeFile(file);
        QCOMPARE(readTapeImage(path("one.tap")), one + one + TapeBlocks{QByteArray()});
        QCOMPARE(readTapeImage(path("two.tap")), one + TapeBlocks{QByteArray()});
        const QStringList lines = console.messages();
        const int end = lines.indexOf("End of output tape 1");
        QVERIFY(end > 0);
        QCOMPARE(lines.mid(end, 6),
                 QStringList({"End of output tape 1", "", "Writing double end-of-file to output tape", "", "",
                              "Start of output tape 2"}));
    }

    void tapeToDiskWithBaseNames()
    {
        SegyDirCopyJob::Settings settings = disk({}, "out");
        settings.inputTape =
            tape("in.tap", tapeFile(segy(3)) + tapeFile(segy(2, 30)) + TapeBlocks{QByteArray()}, 0);
        settings.baseName = "shot";
        QVERIFY2(run(settings), qPrintable(console.errors().join('|')));
        QCOMPARE(readFile(path("out/shot-1.sgy")), segy(3));
        QCOMPARE(readFile(path("out/shot-2.sgy")), segy(2, 30));
        QCOMPARE(summary(console).mid(1),
                 QStringList({"   2 files copied", "   9 blocks copied", "   1 tape copied"}));
    }

    void recordBoundaryChangesTapes()
    {
        // Field record numbers (bytes 9 to 12) of the tape files: 1, 1, 2, 3.
        const QList<int> records{1, 1, 2, 3};
        TapeBlocks input;
        for (const int record : records)
            input += tapeFile(segy(2, 20, 1, record));
        SegyDirCopyJob::Settings settings = disk({}, QString());
        settings.inputTape = tape("in.tap", input + TapeBlocks{QByteArray()}, 0);
        settings.outputTape = tape("one.tap", {}, 1);
        copyOperator.outputAnswers = {tape("two.tap", {}, 1)};
        settings.outputLimit = true;
        settings.bytesPerTapeLimit = 2 * segy(2).size();
        settings.recordByte = 9;
        settings.recordSize = 4;
        QVERIFY2(run(settings), qPrintable(console.errors().join('|')));
        const TapeBlocks file1 = tapeFile(segy(2, 20, 1, 1));
        QCOMPARE(readTapeImage(path("one.tap")),
                 file1 + file1 + tapeFile(segy(2, 20, 1, 2)) + TapeBlocks{QByteArray()});
        QCOMPARE(readTapeImage(path("two.tap")), tapeFile(segy(2, 20, 1, 3)) + TapeBlocks{QByteArray()});
        const QStringList lines = console.messages();
        const int first = lines.indexOf("First record =  1");
        QVERIFY(first > 0);
        QCOMPARE(lines.mid(first + 1, 6),
                 QStringList({"Last record =  2", "", "Output tape 1 is full with:", "     6 traces",
                              QStringLiteral("     %1 bytes").arg(3 * segy(2).size()), ""}));
        const int continuing = lines.indexOf("Continuing output on file 4");
        QVERIFY(continuing > first);
        QCOMPARE(lines.at(continuing + 1), QStringLiteral("First record =  3"));
    }

    void segdRoundTrip_data()
    {
        obrtest::columns<int, int, bool, bool>({"revision", "format", "littleEndian", "fromTape"});
        QTest::newRow("rev 2.1, IBM floats") << 21 << 1 << false << false;
        QTest::newRow("rev 3.1, little-endian 16-bit integers") << 31 << 3 << true << false;
        // The trace count the headers give is the tape file's, known only at its end.
        QTest::newRow("rev 3.1 from tape, IBM floats") << 31 << 1 << false << true;
    }
    void segdRoundTrip()
    {
        const auto [revision, format, littleEndian, fromTape] =
            obrtest::fetch<int, int, bool, bool>("revision", "format", "littleEndian", "fromTape");
        dirtest::SegyParams params;
        params.format = format;
        params.littleEndian = littleEndian;
        params.traces = 5;
        params.samples = 40;
        params.interval = 1000;
        params.scalar = format == 3 ? 10 : -100;
        const QByteArray file = dirtest::segyFile(params);
        SegyDirCopyJob::Settings settings = disk(fromTape ? QStringList() : QStringList{"a"}, "out");
        settings.segd = true;
        settings.revision = revision;
        if (fromTape) {
            settings.inputTape =
                tape("in.tap", tapeFile(file) + tapeFile(file) + TapeBlocks{QByteArray()}, 0);
            settings.baseName = "shot";
        }
        QVERIFY(writeFile(path("a/line.sgy"), file));
        QVERIFY2(run(settings), qPrintable(console.errors().join('|')));
        for (const char* name : fromTape ? QList<const char*>{"out/shot-1.segd", "out/shot-2.segd"}
                                         : QList<const char*>{"out/line.sgd"})
            checkSegd(path(name), params, revision);
    }

    void segdRefusedBeforeWriting()
    {
        dirtest::SegyParams params;
        QVERIFY(writeFile(path("a/1.sgy"), dirtest::segyFile(params)));
        params.interval = 300;
        QVERIFY(writeFile(path("a/2.sgy"), dirtest::segyFile(params)));
        SegyDirCopyJob::Settings settings = disk({"a"}, "out");
        settings.segd = true;
        QVERIFY(!run(settings));
        QCOMPARE(console.errors(),
                 QStringList{path("a/2.sgy") +
                             ": sample interval of 300 microseconds cannot be written as a SEG-D "
                             "2.1 base scan interval - job will abort"});
        QVERIFY(QDir(path("out")).entryList(QDir::Files).isEmpty());
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    SegyDirCopyJob::Settings disk(const QStringList& inputs, const QString& output) const
    {
        SegyDirCopyJob::Settings settings;
        for (const QString& input : inputs)
            settings.inputDirectories.append(path(input));
        if (!output.isEmpty())
            settings.outputDirectory = path(output);
        return settings;
    }

    // A drive of its own holding a new image of that name, opened for reading (0) or writing (1).
    TapeDevice* tape(const QString& name, const TapeBlocks& blocks, unsigned mode)
    {
        drives.push_back(
            std::make_unique<TapeDriveList>(&console, QStringList{writeTapeImage(path(name), blocks)}));
        TapeDevice* drive = drives.back()->drive(0);
        if (!drive->open(mode))
            qFatal("cannot open %s", qPrintable(name));
        return drive;
    }

    bool run(const SegyDirCopyJob::Settings& settings)
    {
        return SegyDirCopyJob(&console, &copyOperator, settings).run();
    }

    // Reads a converted file back as Sercel data and compares it with the SEG-Y it came from.
    void checkSegd(const QString& file, const dirtest::SegyParams& params, int revision)
    {
        RecordingConsole quiet;
        SercelData data(&quiet, file, false, false, false);
        QVERIFY2(data.ok(), qPrintable(quiet.errors().join('|')));
        QCOMPARE(data.generalHeader().majorRevision, revision / 10);
        QCOMPARE(data.generalHeader().formatCode, 8058);
        QCOMPARE(data.seismicTraces(), params.traces);
        QCOMPARE(data.sampleInterval(), float(params.interval / 1000.0));
        const SegdBytes extended = data.extendedHeader();
        QCOMPARE(extended.float64(573), dirtest::scaled(dirtest::sourceX(0), params.scalar));
        QCOMPARE(extended.float64(581), dirtest::scaled(dirtest::sourceY(0), params.scalar));
        if (revision == 21)
            QCOMPARE(data.sourceX(), dirtest::scaled(dirtest::sourceX(0), params.scalar));
        const auto gather = data.makeGather(false);
        QVERIFY(data.readRecord(*gather));
        QCOMPARE(gather->count(), params.traces);
        for (int t = 0; t < params.traces; ++t) {
            const SeismicTrace& trace = *gather->trace(t);
            QCOMPARE(trace.sampleCount(), params.samples);
            for (int s = 0; s < params.samples; ++s)
                QCOMPARE(trace.data()[s], double(dirtest::sampleValue(t, s)));
            QCOMPARE(int(trace.value(TraceKey::ReceiverLine)), dirtest::receiverLine(t));
            QCOMPARE(int(trace.value(TraceKey::ReceiverLocation)), dirtest::receiverPoint(t));
            const SegdBytes header = data.traceHeaderRecords().at(size_t(t)).bytes();
            QCOMPARE(header.float64(53), dirtest::scaled(dirtest::receiverX(t), params.scalar));
            QCOMPARE(header.float64(61), dirtest::scaled(dirtest::receiverY(t), params.scalar));
        }
    }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    std::vector<std::unique_ptr<TapeDriveList>> drives;
    ScriptedOperator copyOperator;
};

OBR_TEST_MAIN(TestSegyDirCopy)
#include "tst_segy_dir_copy.moc"
