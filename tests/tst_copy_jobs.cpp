#include "copy/CopyOperator.h"
#include "copy/DiskStreamCopy.h"
#include "copy/SegyCopyJob.h"
#include "copy/SegyMergeJob.h"
#include "copy/UnfmtCopyJob.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRandomGenerator>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtEndian>
#include <fcntl.h>
#include <memory>
#include <unistd.h>
#include <vector>

using namespace obrtest;
using copytest::ScriptedOperator;

namespace {

// What a real file's own bytes say of its layout, read here without the program's rules: the byte
// order is the one in which the sample format word is a small number; the extended textual
// headers are those the binary header counts, when they fit; a sample has the size the SEG-Y
// standard gives its format code, and the data must then be a whole number of traces.
struct RealLayout {
    qint64 dataStart = 0;
    int extended = 0;
    int traceLength = 0;
    qint64 traces = 0;

    static RealLayout of(const QByteArray& file)
    {
        const bool little = file[3224] != 0;
        const auto word = [&file, little](int offset) {
            return little ? qFromLittleEndian<qint16>(file.constData() + offset)
                          : qFromBigEndian<qint16>(file.constData() + offset);
        };
        RealLayout layout;
        const int count = word(3504);
        layout.extended = count > 0 && 3600 + qint64(count) * 3200 <= file.size() ? count : 0;
        layout.dataStart = 3600 + qint64(layout.extended) * 3200;
        const QMap<int, int> standardSizes{{1, 4}, {2, 4}, {3, 2}, {4, 4}, {5, 4}, {8, 1}};
        const int length = 240 + quint16(word(3220)) * standardSizes.value(word(3224));
        const qint64 data = file.size() - layout.dataStart;
        if (length > 240 && data > 0 && data % length == 0) {
            layout.traceLength = length;
            layout.traces = data / length;
        }
        return layout;
    }
};

// The blocks of `bytes` cut at the given lengths, -1 for a file mark.
TapeBlocks cut(const QByteArray& bytes, const QList<int>& lengths)
{
    TapeBlocks blocks;
    int offset = 0;
    for (const int length : lengths) {
        blocks.append(length < 0 ? QByteArray() : bytes.mid(offset, length));
        offset += qMax(length, 0);
    }
    return blocks;
}

// A SEG-Y file on tape: a block per header and per trace, then two file marks.
QList<int> tapeLayout(int extended, int traceLength, qint64 traces)
{
    QList<int> layout{3200, 400};
    for (int k = 0; k < extended; ++k)
        layout.append(3200);
    for (qint64 t = 0; t < traces; ++t)
        layout.append(traceLength);
    return layout + QList<int>{-1, -1};
}

} // namespace

// The copy and merge jobs over disk files and tape images, with the operator scripted.
class TestCopyJobs : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        copyOperator = ScriptedOperator();
    }

    // Every real file, and two of 2-byte samples and of little-endian words with two extended textual
    // headers: merged with itself, copied disk to disk whole and ended inside its last trace, then to
    // tape, tape to tape, and back.
    void realFiles_data()
    {
        realFileRows(QStringLiteral("segy"), QStringLiteral("*.sgy"));
        QByteArray little = segyFile(2, 20, true, 4);
        qToLittleEndian<quint16>(2, little.data() + 3504);
        little.insert(3600, QByteArray(2 * 3200, 'E'));
        for (const auto& [name, bytes] :
             {std::pair{"format 3", segyFile(3, 50, false, 4)}, {"little-endian", little}}) {
            QVERIFY(writeFile(fixtures.filePath(name), bytes));
            QTest::newRow(name) << fixtures.filePath(name);
        }
    }
    void realFiles()
    {
        const auto [input] = obrtest::fetch<QString>("path");
        if (!input.startsWith(fixtures.path()))
            OBR_REQUIRE_REALDATA();
        const QByteArray original = readFile(input);
        const RealLayout real = RealLayout::of(original);
        QVERIFY2(real.traceLength > 0, "the file is a whole number of traces of the size its header gives");

        // The second file gives its traces only, whatever headers precede them.
        QVERIFY(SegyMergeJob(&console, &copyOperator, path("twice.sgy"), {input, input}).run());
        QCOMPARE(readFile(path("twice.sgy")), original + original.mid(int(real.dataStart)));
        SegyFormat format;
        SegyData merged(&console, path("twice.sgy"), 0, &format);
        QVERIFY(merged.ok());
        QCOMPARE(merged.traceCount(), int(2 * real.traces));
        QVERIFY(!merged.partialTrace());

        const int rest = real.traceLength - real.traceLength / 2;
        // The incomplete last trace is copied and counted all the same.
        for (const QByteArray& bytes : {original.left(original.size() - real.traceLength / 2), original}) {
            QVERIFY(writeFile(path("in.sgy"), bytes));
            console.clear();
            QVERIFY(copy(true, "in.sgy", "out.sgy"));
            QCOMPARE(readFile(path("out.sgy")), bytes);
            QCOMPARE(copyOperator.shown, real.traces);
            QCOMPARE(console.warnings()
                         .filter(QStringLiteral("(%1 of %2 bytes)").arg(rest).arg(real.traceLength))
                         .size(),
                     bytes.size() == original.size() ? 0 : 1);
            QVERIFY(copy(false, "in.sgy", "out.raw", 1000));
            QCOMPARE(readFile(path("out.raw")), bytes);
        }

        writeTapeImage(path("out.tap"), {});
        const int largestBlock = TapeDriveList(&console, {path("out.tap")}).drive(0)->maxBlockSize();
        console.clear();
        copyOperator = ScriptedOperator();
        if (real.traceLength > largestBlock) {
            // A trace the drive cannot write as one block stops the job before the tape is touched.
            QVERIFY(!copy(true, "in.sgy", "out.tap"));
            QVERIFY(console.errors().first().startsWith(
                QStringLiteral("trace length %1 is beyond").arg(real.traceLength)));
            QVERIFY(readTapeImage(path("out.tap")).isEmpty());
            return;
        }
        QVERIFY2(copy(true, "in.sgy", "out.tap"), qPrintable(console.errors().join("|")));
        QCOMPARE(readTapeImage(path("out.tap")),
                 cut(original, tapeLayout(real.extended, real.traceLength, real.traces)));

        writeTapeImage(path("second.tap"), {});
        QVERIFY2(copy(true, "out.tap", "second.tap"), qPrintable(console.errors().join("|")));
        QCOMPARE(readTapeImage(path("second.tap")), readTapeImage(path("out.tap")));
        console.clear();
        QVERIFY2(copy(true, "second.tap", "back.sgy"), qPrintable(console.errors().join("|")));
        QCOMPARE(readFile(path("back.sgy")), original);
    }

    void streamCopyBothWays()
    {
        // Beyond one kernel stretch and one buffer, and ending inside both.
        QByteArray bytes(int(DiskStreamCopy::kernelStretch) + 3 * CopyJob::workBufferSize + 4321, '\0');
        QRandomGenerator(18).fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
        QVERIFY(writeFile(path("in"), bytes));
        std::vector<char> buffer(CopyJob::workBufferSize);
        const auto run = [&buffer](const QString& from, const QString& to, DiskStreamCopy::Way way,
                                   qint64* total) {
            const int in = ::open(QFile::encodeName(from).constData(), O_RDONLY);
            const int out = ::open(QFile::encodeName(to).constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            DiskStreamCopy stream(in, out, buffer.data(), qint64(buffer.size()), way);
            DiskStreamCopy::Status status;
            qint64 copied = 0;
            *total = 0;
            while ((status = stream.next(&copied)) == DiskStreamCopy::Status::copied)
                *total += copied;
            ::close(in);
            ::close(out);
            return status;
        };
        for (const DiskStreamCopy::Way way : {DiskStreamCopy::Way::inKernel, DiskStreamCopy::Way::buffered}) {
            qint64 total = 0;
            QCOMPARE(run(path("in"), path("out"), way, &total), DiskStreamCopy::Status::ended);
            QCOMPARE(total, qint64(bytes.size()));
            QCOMPARE(readFile(path("out")), bytes);
            QCOMPARE(run(path("in"), "/dev/full", way, &total), DiskStreamCopy::Status::writeFailed);
            QCOMPARE(run(dir->path(), path("out"), way, &total), DiskStreamCopy::Status::readFailed);
        }
    }

    void multiVolumeInput()
    {
        const QByteArray original = segyFile(1, 10, false, 4);
        writeTapeImage(path("one.tap"), cut(original, {3200, 400, 280, 280, -1}));
        writeTapeImage(path("two.tap"), cut(original.mid(4160), {280, 280, -1}));
        TapeDriveList drives(&console, {path("one.tap"), path("two.tap")});
        QVERIFY(drives.drive(0)->open(0) && drives.drive(1)->open(0));
        copyOperator.inputAnswers = {drives.drive(1), nullptr};
        QVERIFY(SegyCopyJob(&console, &copyOperator, {QString(), drives.drive(0)}, {path("out.sgy"), nullptr})
                    .run());
        QCOMPARE(readFile(path("out.sgy")), original);
        QCOMPARE(copyOperator.inputPrompts, 2);
    }

    void unformattedBlocks()
    {
        const QByteArray data = segyFile(1, 10, false, 78).left(25000);
        QVERIFY(writeFile(path("in.dat"), data));
        writeTapeImage(path("cut.tap"), {});
        QVERIFY(copy(false, "in.dat", "cut.tap", 10240));
        QCOMPARE(readTapeImage(path("cut.tap")), cut(data, {10240, 10240, 4520, -1, -1}));
    }

    // An output tape holding files is written from its start, after its last file (closed by a mark
    // or not), or left as it is, as the operator says.
    void tapeHoldingFiles_data()
    {
        obrtest::columns<TapeBlocks, int, TapeBlocks>({"held", "start", "kept"});
        const TapeBlocks closed{"one", QByteArray(), "two", QByteArray(), QByteArray()};
        const TapeBlocks unclosed{"one", QByteArray(), "two"};
        QTest::newRow("append") << closed << int(CopyOperator::TapeStart::Append) << closed.mid(0, 4);
        QTest::newRow("append after a file no mark ends")
            << unclosed << int(CopyOperator::TapeStart::Append) << unclosed + TapeBlocks{QByteArray()};
        QTest::newRow("overwrite") << closed << int(CopyOperator::TapeStart::Overwrite) << TapeBlocks();
        QTest::newRow("cancel") << closed << int(CopyOperator::TapeStart::Cancel) << closed;
    }
    void tapeHoldingFiles()
    {
        const auto [held, start, kept] = obrtest::fetch<TapeBlocks, int, TapeBlocks>("held", "start", "kept");
        const bool cancel = start == int(CopyOperator::TapeStart::Cancel);
        QVERIFY(writeFile(path("in.dat"), "data"));
        writeTapeImage(path("out.tap"), held);
        copyOperator.tapeStart = CopyOperator::TapeStart(start);
        QCOMPARE(copy(false, "in.dat", "out.tap"), !cancel);
        QCOMPARE(copyOperator.tapeFiles, 2);
        const TapeBlocks written = cancel ? kept : kept + TapeBlocks{"data", QByteArray(), QByteArray()};
        QCOMPARE(readTapeImage(path("out.tap")), written);
    }

    // Refused before anything is written: the reason in one box, every file left as it was.
    void refusedBeforeWriting_data()
    {
        obrtest::columns<bool, QByteArray, QByteArray, QString, QString>(
            {"merge", "first", "second", "output", "error"});
        // As f3.sgy: 75 samples of 2-byte integers.
        const QByteArray f3 = segyFile(3, 75, false, 4);
        QByteArray noFormat = f3;
        noFormat[3225] = 13;
        const auto row = [](const char* name, bool merge, const QByteArray& first, const QByteArray& second,
                            const char* output, const char* error) {
            QTest::newRow(name) << merge << first << second << QString(output) << QString(error);
        };
        row("copy: hard link", false, f3, f3, "hard.sgy", "is the same as the input");
        row("copy: sample format 13", false, noFormat, f3, "out.sgy", "invalid sample format 13 in ");
        row("copy: shorter than the headers", false, f3.left(3000), f3, "out.sgy",
            "error reading input file");
        row("merge: output is an input, through a link", true, f3, f3, "link.sgy", "is the same as");
        row("merge: byte order", true, f3, segyFile(3, 75, true, 4), "out.sgy", "little-endian");
        row("merge: no sample format", true, f3, noFormat, "out.sgy", "invalid sample format 13");
        // The traces of the next file would all be out of step.
        row("merge: first ends inside a trace", true, f3.left(f3.size() - 1), f3, "out.sgy",
            "(389 of 390 bytes) - job will abort");
    }
    void refusedBeforeWriting()
    {
        const auto [merge, first, second, output, error] =
            obrtest::fetch<bool, QByteArray, QByteArray, QString, QString>("merge", "first", "second",
                                                                           "output", "error");
        QVERIFY(writeFile(path("a.sgy"), first) && writeFile(path("b.sgy"), second));
        QCOMPARE(::link(qPrintable(path("a.sgy")), qPrintable(path("hard.sgy"))), 0);
        QVERIFY(QFile::link(path("b.sgy"), path("link.sgy")));
        QVERIFY(writeFile(path("out.sgy"), "kept"));
        QVERIFY(
            merge ? !SegyMergeJob(&console, &copyOperator, path(output), {path("a.sgy"), path("b.sgy")}).run()
                  : !copy(true, "a.sgy", output));
        QCOMPARE(console.errors().size(), 2);
        QVERIFY2(console.errors().first().contains(error), qPrintable(console.errors().first()));
        QCOMPARE(readFile(path("a.sgy")), first);
        QCOMPARE(readFile(path("b.sgy")), second);
        QCOMPARE(readFile(path("out.sgy")), QByteArray("kept"));
    }

    // Stopped by the operator: no output under its name nor beside it, the summary counting nothing;
    // on tape, the blocks written so far and the file marks that end them.
    void abortLeavesNothingHalfWritten()
    {
        const QByteArray input = segyFile(1, 100, false, 8);
        QVERIFY(writeFile(path("in.sgy"), input) && writeFile(path("b.sgy"), input));
        // After the first stretch of a disk copy.
        copyOperator.stopAfter = 1;
        QVERIFY(!copy(true, "in.sgy", "out.sgy"));
        copyOperator.stopAfter = 1;
        QVERIFY(!SegyMergeJob(&console, &copyOperator, path("merged.sgy"), {path("in.sgy"), path("b.sgy")})
                     .run());
        QCOMPARE(QDir(dir->path()).entryList(QDir::Files | QDir::Hidden), QStringList({"b.sgy", "in.sgy"}));
        QCOMPARE(console.summary("Single SEG-Y Copy Summary:").value(1), "   0 files copied");
        QCOMPARE(console.summary("SEG-Y Merge Summary:").value(1), "   0 files merged");

        writeTapeImage(path("out.tap"), {});
        copyOperator.stopAfter = 4;
        QVERIFY(!copy(true, "in.sgy", "out.tap"));
        // The headers and four traces went out before the stop.
        const TapeBlocks written =
            cut(input, {3200, 400, 640, 640, 640, 640}) + TapeBlocks{QByteArray(), QByteArray()};
        QCOMPARE(readTapeImage(path("out.tap")), written);
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }
    // Runs a job between two ends; a tape end is the image of that name, opened on a drive.
    bool copy(bool segy, const QString& input, const QString& output, int blockSize = 10240)
    {
        const auto isTape = [](const QString& name) { return name.endsWith(QLatin1String(".tap")); };
        TapeDriveList drives(&console, QStringList{path(input), path(output)}.filter(".tap"));
        const CopyJob::Endpoint in{path(input), isTape(input) ? drives.drive(0) : nullptr};
        const CopyJob::Endpoint out{path(output),
                                    isTape(output) ? drives.drive(drives.count() - 1) : nullptr};
        if ((in.tape && !in.tape->open(0)) || (out.tape && !out.tape->open(1)))
            return false;
        if (segy)
            return SegyCopyJob(&console, &copyOperator, in, out).run();
        return UnfmtCopyJob(&console, &copyOperator, in, out, blockSize).run();
    }

    QTemporaryDir fixtures;
    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    ScriptedOperator copyOperator;
};

OBR_TEST_MAIN(TestCopyJobs)
#include "tst_copy_jobs.moc"
