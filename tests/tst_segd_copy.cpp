#include "copy/NumberList.h"
#include "copy/OutputTapeOperator.h"
#include "copy/SegdCopyJob.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <functional>
#include <memory>

using namespace obrtest;

Q_DECLARE_METATYPE(segdstd::FieldFile)

using copytest::ScriptedOperator;

// The SEG-D copy over disk directories and tape images, with the operator scripted.
class TestSegdCopy : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        drives.clear();
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
        copyOperator = ScriptedOperator();
        options = SegdCopyJob::Options();
        QVERIFY(QDir(dir->path()).mkpath("in") && QDir(dir->path()).mkpath("out"));
        options.input.path = path("in");
        options.output.path = path("out");
    }

    // Field files by number; a second field file 123 does not overwrite the first; Sercel
    // revision 3 files of format 8036 are warned of and copied by their own size.
    void diskToDiskNaming()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.fieldFile = 123;
        const QByteArray first = segdstd::build(layout);
        layout.majorRevision = 3;
        layout.minorRevision = 0;
        layout.formatCode = 8036;
        layout.samples = [](int trace, int samples) { return QByteArray(3 * samples, char('a' + trace)); };
        const QByteArray second = segdstd::build(layout);
        layout.fieldFile = 124;
        const QByteArray third = segdstd::build(layout);
        QVERIFY(writeFile(path("in/a.sgd"), first) && writeFile(path("in/b.segd"), second) &&
                writeFile(path("in/c.raw"), third) && writeFile(path("in/notes.txt"), "not a field file"));

        options.ffidNames = true;
        QCOMPARE(run(), SegdCopyJob::Outcome::Copied);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files),
                 (QStringList{"00123.sgd", "00123_1.sgd", "00124.sgd"}));
        QCOMPARE(readFile(path("out/00123.sgd")), first);
        QCOMPARE(readFile(path("out/00123_1.sgd")), second);
        QCOMPARE(readFile(path("out/00124.sgd")), third);
        QCOMPARE(console.warnings().size(), 2);
    }

    // A field file of some 3 MiB goes from disk to disk in pieces that end on pages of the input:
    // whole and in order.
    void largeFieldFileCopiedWhole()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.channelSets = {{700, 1001}};
        layout.samples = [](int trace, int samples) {
            QByteArray bytes(4 * samples, Qt::Uninitialized);
            for (int k = 0; k < bytes.size(); ++k)
                bytes[k] = char(trace * 31 + k * 7);
            return bytes;
        };
        const QByteArray file = segdstd::build(layout);
        QVERIFY(file.size() > (3 << 20) - 200000);
        QVERIFY(writeFile(path("in/big.sgd"), file));
        QCOMPARE(run(), SegdCopyJob::Outcome::Copied);
        QCOMPARE(readFile(path("out/00001.sgd")), file);
    }

    void blockingAndFileMarks_data()
    {
        obrtest::columns<bool, bool>({"blockTraces", "writeEofs"});
        QTest::newRow("blocked, no file marks between field files") << true << false;
        QTest::newRow("blocked, a file mark after each") << true << true;
        QTest::newRow("one record a block") << false << false;
    }
    void blockingAndFileMarks()
    {
        const auto [blockTraces, writeEofs] = obrtest::fetch<bool, bool>("blockTraces", "writeEofs");
        // Trace records of 4,096 bytes: 20 + 4 x 32 header bytes and 987 IEEE samples.
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.extensions = 4;
        layout.channelSets = {{40, 987}, {3, 987}};
        const QByteArray file = segdstd::build(layout);
        const int header = segdstd::headerLength(layout);
        QVERIFY(writeFile(path("in/1.sgd"), file) && writeFile(path("in/2.sgd"), file));
        options.output = tape("out.tap", 1);
        options.blockTraces = blockTraces;
        options.writeEofs = writeEofs;
        QCOMPARE(run(), SegdCopyJob::Outcome::Copied);
        options.output.tape->close();

        QList<int> fieldFile{header};
        if (blockTraces)
            fieldFile += {32 * 4096, 8 * 4096, 3 * 4096};
        else
            fieldFile += QVector<int>(43, 4096).toList();
        QList<int> expected = fieldFile + (writeEofs ? QList<int>{-1} : QList<int>()) + fieldFile;
        expected += writeEofs ? QList<int>{-1, -1} : QList<int>{-1};
        const TapeBlocks blocks = readTapeImage(path("out.tap"));
        QCOMPARE(blockLengths(blocks), expected);
        QCOMPARE(blocks.mid(0, fieldFile.size()).join(), file);
    }

    // A tape is changed once it holds more than the limit, each tape beginning with the prepended
    // file; "No more tapes" ends the job.
    void tapeByteLimit()
    {
        const QByteArray file = segdstd::build(segdstd::sercelRevision21());
        for (const char* name : {"in/1.sgd", "in/2.sgd", "in/3.sgd"})
            QVERIFY(writeFile(path(name), file));
        const QByteArray label(70000, 'P');
        QVERIFY(writeFile(path("label.txt"), label));
        options.output = tape("one.tap", 1);
        options.prependFile = path("label.txt");
        // Scaled down: the label and two field files are more than this, one is not.
        options.tapeLimit = label.size() + file.size() + 1;
        const CopyJob::Endpoint second = tape("two.tap", 1);
        copyOperator.outputAnswers = {second.tape};
        QCOMPARE(run(), SegdCopyJob::Outcome::Copied);
        options.output.tape->close();
        second.tape->close();

        const QList<int> labelBlocks{65536, 4464, -1};
        const QList<int> fieldFile = blockLengths(recordBlocks(segdstd::sercelRevision21(), file));
        QCOMPARE(blockLengths(readTapeImage(path("one.tap"))),
                 (labelBlocks + fieldFile + fieldFile + QList<int>{-1, -1}));
        const TapeBlocks two = readTapeImage(path("two.tap"));
        QCOMPARE(blockLengths(two), (labelBlocks + fieldFile + QList<int>{-1}));
        QCOMPARE(two.mid(0, 2).join(), label);
        QCOMPARE(two.mid(3).join(), file);
    }

    // Excluded field files are passed over on tape input; the others are copied whole.
    void rangeExcludedFromTape()
    {
        TapeBlocks blocks;
        QList<QByteArray> files;
        for (int number = 1; number <= 5; ++number) {
            segdstd::FieldFile layout = segdstd::sercelRevision21();
            layout.fieldFile = number;
            files += segdstd::build(layout);
            blocks += recordBlocks(layout, files.last());
        }
        writeTapeImage(path("in.tap"), blocks + TapeBlocks{QByteArray()});
        options.input = tape("in.tap", 0);
        options.rangeLimit = true;
        options.exclude = true;
        QVERIFY(NumberList::parse("2-3", &options.range, nullptr));
        options.ffidNames = true;
        QCOMPARE(run(), SegdCopyJob::Outcome::Copied);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files),
                 (QStringList{"00001.sgd", "00004.sgd", "00005.sgd"}));
        QCOMPARE(readFile(path("out/00004.sgd")), files.at(3));
    }

    // Listed seismic channels keep their headers and get samples of 0; auxiliary traces stay.
    void zeroTraces()
    {
        const segdstd::FieldFile layout = segdstd::sercelRevision21();
        const QByteArray file = segdstd::build(layout);
        QVERIFY(writeFile(path("in/1.sgd"), file));
        options.zeroTraces = true;
        QVERIFY(NumberList::parse("1, 3", &options.zeroChannels, nullptr));
        QCOMPARE(run(), SegdCopyJob::Outcome::Copied);
        QByteArray expected = file;
        const int record = segdstd::traceRecordBytes(layout, 1);
        for (const int trace : {1, 3})
            expected.replace(segdstd::headerLength(layout) + (trace + 1) * record - 4 * 9, 4 * 9,
                             QByteArray(4 * 9, '\0'));
        QCOMPARE(readFile(path("out/00001.sgd")), expected);
    }

    void outputInsideInputRefused()
    {
        QVERIFY(writeFile(path("in/1.sgd"), segdstd::build(segdstd::sercelRevision21())));
        options.output.path = path("in/../in");
        QCOMPARE(run(), SegdCopyJob::Outcome::Failed);
        QCOMPARE(QDir(path("in")).entryList(QDir::Files), QStringList{"1.sgd"});
    }

    void secondFieldFile_data()
    {
        // copied: the bytes the copy holds, empty when refused; said: on the console, IN its path
        obrtest::columns<QByteArray, QByteArray, QString>({"bytes", "copied", "said"});
        const auto numbered = [](segdstd::FieldFile file) {
            file.fieldFile = 2;
            return segdstd::build(file);
        };
        const QByteArray sercel = numbered(segdstd::sercelRevision21());
        const QByteArray trailing = numbered(segdstd::withTrailingBytes());
        QTest::newRow("revision 3.1 of another maker")
            << numbered(segdstd::standardRevision31()) << numbered(segdstd::standardRevision31()) << "";
        QTest::newRow("bytes after the last trace")
            << trailing << trailing.left(trailing.size() - 512)
            << "512 bytes after the last trace of Field File 2 not copied";
        QTest::newRow("cut short") << sercel.left(sercel.size() - 5) << QByteArray()
                                   << "IN is cut short: the headers announce 4 traces of 9 samples (1,376 "
                                      "bytes); the file holds 1,371 bytes - job will abort";
        QByteArray damaged = sercel;
        damaged[damaged.size() - (20 + 7 * 32 + 9 * 4) + 9] = char(3);
        // Found after the header went out: the copy is removed.
        QTest::newRow("a damaged trace") << damaged << QByteArray() << "invalid trace record in Field File 2";
    }
    // A field file after a good one: copied as its traces tile it, less what follows its last
    // trace, or refused with nothing of it left.
    void secondFieldFile()
    {
        const auto [bytes, copied, said] =
            obrtest::fetch<QByteArray, QByteArray, QString>("bytes", "copied", "said");
        const QByteArray first = segdstd::build(segdstd::sercelRevision21());
        QVERIFY(writeFile(path("in/1.sgd"), first) && writeFile(path("in/2.sgd"), bytes));
        const bool refused = copied.isEmpty();
        QCOMPARE(run(), refused ? SegdCopyJob::Outcome::Failed : SegdCopyJob::Outcome::Copied);
        QCOMPARE(readFile(path("out/00001.sgd")), first);
        QCOMPARE(readFile(path("out/00002.sgd")), copied);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden).size(), refused ? 1 : 2);
        QVERIFY2(console.contains(QString(said).replace("IN", path("in/2.sgd"))),
                 qPrintable(console.errors().join('\n')));
    }

    // A file written in pieces is copied once it is whole, once; Abort ends the watch.
    void realTimeInput()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        layout.fieldFile = 77;
        const QByteArray file = segdstd::build(layout);
        const QList<int> cuts{50, 200, segdstd::headerLength(layout), file.size() - 3, file.size()};
        options.realTime = true;
        options.pollMilliseconds = 1;
        int written = 0;
        int seenCopied = -1;
        int calls = 0;
        copyOperator.alive = [&]() {
            ++calls;
            const bool copied = QFileInfo::exists(path("out/00001.sgd"));
            if (copied && seenCopied < 0)
                seenCopied = written;
            if (written < cuts.size()) {
                QFile piece(path("in/77.sgd"));
                if (!piece.open(QIODevice::WriteOnly | QIODevice::Truncate))
                    return false;
                piece.write(file.left(cuts.at(written++)));
            }
            return calls < 40;
        };
        QCOMPARE(run(), SegdCopyJob::Outcome::Aborted);
        QCOMPARE(seenCopied, cuts.size());
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), QStringList{"00001.sgd"});
        QCOMPARE(readFile(path("out/00001.sgd")), file);
    }

    // Stopped inside the second field file: the first stays whole, nothing of the second is left
    // under a name or beside it, and the summary counts the one copied.
    void abortInsideAFieldFile()
    {
        segdstd::FieldFile layout = segdstd::sercelRevision21();
        const QByteArray file = segdstd::build(layout);
        QVERIFY(writeFile(path("in/1.sgd"), file) && writeFile(path("in/2.sgd"), file));
        int calls = 0;
        // A question before each field file and one a trace: the stop comes in the second file.
        const int traces = layout.channelSets.first().channels + layout.channelSets.last().channels;
        copyOperator.alive = [&] { return ++calls < traces + 4; };
        QCOMPARE(run(), SegdCopyJob::Outcome::Aborted);
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList{"00001.sgd"});
        QCOMPARE(readFile(path("out/00001.sgd")), file);
        QCOMPARE(console.summary(QStringLiteral("SEG-D Copy Summary:")).value(1), "   1 field file copied");
    }

    // A nodal recorder's file (its count in extension 1, its end times after the last sample) that
    // stops short is reported once and copied when it is whole at the size its traces tile.
    void realTimeInputOfAnotherRecorder()
    {
        const QByteArray nodal = segdstd::build(segdstd::nodalRevision16());
        QVERIFY(writeFile(path("in/b.sgd"), nodal.left(nodal.size() - 100)));
        options.realTime = true;
        options.pollMilliseconds = 5;
        QElapsedTimer clock;
        clock.start();
        copyOperator.alive = [&]() {
            if (console.warnings().join('\n').contains("has not grown") &&
                QFileInfo(path("in/b.sgd")).size() < nodal.size() && !writeFile(path("in/b.sgd"), nodal))
                return false;
            return !QFileInfo::exists(path("out/00001.sgd")) && clock.elapsed() < 20000;
        };
        QCOMPARE(run(), SegdCopyJob::Outcome::Aborted);
        QCOMPARE(readFile(path("out/00001.sgd")), nodal);
        QCOMPARE(console.warnings().filter("has not grown").size(), 1);
    }

private:
    QString path(const QString& name) const { return dir->filePath(name); }

    SegdCopyJob::Outcome run()
    {
        SegdCopyJob job(&console, &copyOperator, options);
        return job.run();
    }

    // The blocks of a field file on tape: its headers, then one block a trace.
    static TapeBlocks recordBlocks(const segdstd::FieldFile& layout, const QByteArray& file)
    {
        const int header = segdstd::headerLength(layout);
        TapeBlocks blocks{file.left(header)};
        int at = header;
        for (int set = 0; set < layout.channelSets.size(); ++set) {
            const int record = segdstd::traceRecordBytes(layout, set);
            for (int channel = 0; channel < layout.channelSets.at(set).channels; ++channel, at += record)
                blocks.append(file.mid(at, record));
        }
        return blocks;
    }

    // A drive on the image name, opened to read (0) or, on a new empty image, to write (1).
    CopyJob::Endpoint tape(const QString& name, int mode)
    {
        if (mode == 1) {
            QFile::remove(path(name));
            writeTapeImage(path(name), {});
        }
        drives.push_back(std::make_unique<TapeDriveList>(&console, QStringList{path(name)}));
        TapeDevice* device = drives.back()->drive(0);
        if (!device->open(mode))
            qFatal("cannot open %s", qPrintable(name));
        return {path(name), device};
    }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    std::vector<std::unique_ptr<TapeDriveList>> drives;
    ScriptedOperator copyOperator;
    SegdCopyJob::Options options;
};

OBR_TEST_MAIN(TestSegdCopy)
#include "tst_segd_copy.moc"
