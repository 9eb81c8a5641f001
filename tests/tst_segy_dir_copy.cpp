#include "copy/DirCopyOperator.h"
#include "copy/SegyDirCopyJob.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/ScriptedOperator.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDir>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <memory>
#include <vector>

using namespace obrtest;
using copytest::ScriptedOperator;
using dirtest::tapeFile;

namespace {

const QString head = QStringLiteral("Multiple SEG-Y Copy Summary:");

QByteArray segy(int traces, int samples = 20, int format = 1, int fieldRecord = 1)
{
    dirtest::SegyParams params;
    params.traces = traces;
    params.samples = samples;
    params.format = format;
    params.fieldRecord = fieldRecord;
    return dirtest::segyFile(params);
}

// A big-endian word of SEG-Y trace `trace`'s header, 1-based `byte`.
template <typename Word> void setTraceWord(QByteArray& file, int trace, int byte, Word value)
{
    const int traceLength = 240 + 4 * qFromBigEndian<quint16>(file.constData() + 3220);
    qToBigEndian(value, file.data() + 3600 + trace * traceLength + byte - 1);
}

int bcd(const QByteArray& bytes, int offset, int length)
{
    int value = 0;
    for (int k = offset; k < offset + length; ++k)
        value = value * 100 + (quint8(bytes[k]) >> 4) * 10 + (quint8(bytes[k]) & 0x0F);
    return value;
}

qint64 binary(const QByteArray& bytes, int offset, int length)
{
    qint64 value = 0;
    for (int k = offset; k < offset + length; ++k)
        value = value << 8 | quint8(bytes[k]);
    return value;
}

// A converted field file read at the positions the SEG-D standard gives (0-based offsets).
struct FieldFileBytes {
    QByteArray bytes;

    int majorRevision() const { return quint8(bytes[42]); }
    int descriptorBytes() const { return majorRevision() >= 3 ? 96 : 32; }
    // General header blocks, the descriptors of every scan type, extended and external blocks.
    int headerLength() const
    {
        const int additional = quint8(bytes[11]) >> 4;
        const int channelSets = quint8(bytes[27]) * bcd(bytes, 28, 1);
        return 32 * (1 + additional + bcd(bytes, 30, 1) + quint8(bytes[31])) +
               channelSets * descriptorBytes();
    }
    qint64 fileNumber() const { return binary(bytes, 32, 3); }
    // Channel set 1's channels (BCD before revision 3).
    int channels() const
    {
        return majorRevision() >= 3 ? int(binary(bytes, 96 + 20, 3)) : bcd(bytes, 96 + 8, 2);
    }
    // Trace record `k` of traces of `samples` samples, with its two header extensions.
    int trace(int k, int samples) const { return headerLength() + k * (20 + 64 + 4 * samples); }
    // A big-endian IEEE sample.
    float sample(int k, int samples, int s) const
    {
        const quint32 bits = quint32(binary(bytes, trace(k, samples) + 84 + 4 * s, 4));
        float value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

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
        QCOMPARE(console.summary(head),
                 QStringList({QStringLiteral("   %1 bytes copied").arg(bytes), "   3 files copied"}));
    }

    // Revision 2 doubles, 65,535 to a trace: 524,520 bytes, more than the copy reads at a time.
    void traceLongerThanTheWorkBuffer()
    {
        QByteArray file = QByteArray(3200, ' ') + QByteArray(400, '\0');
        qToBigEndian<quint16>(1000, file.data() + 3216);
        qToBigEndian<quint16>(65535, file.data() + 3220);
        qToBigEndian<quint16>(6, file.data() + 3224);
        qToBigEndian<quint16>(0x0200, file.data() + 3500);
        for (int trace = 1; trace <= 2; ++trace) {
            QByteArray header(240, '\0');
            qToBigEndian<qint32>(trace, header.data());
            file += header + QByteArray(65535 * 8, char('a' + trace));
        }
        QVERIFY(SegyDirCopyJob::workBufferSize < 240 + 65535 * 8);
        QVERIFY(writeFile(path("a/long.sgy"), file));
        QVERIFY2(run(disk({"a"}, "out")), qPrintable(console.errors().join('\n')));
        QCOMPARE(readFile(path("out/long.sgy")), file);
    }

    void concatenationMismatches_data()
    {
        obrtest::columns<QByteArray, QString>({"second", "error"});
        QTest::newRow("matching") << segy(2) << QString();
        QTest::newRow("format") << segy(2, 20, 2)
                                << "sample format mismatch for concatenated files - job will abort";
    }
    void concatenationMismatches()
    {
        const auto [second, error] = obrtest::fetch<QByteArray, QString>("second", "error");
        QVERIFY(writeFile(path("a/1.sgy"), segy(3)));
        QVERIFY(writeFile(path("a/2.sgy"), second));
        QVERIFY(writeFile(path("a/3.sgy"), segy(1)));
        SegyDirCopyJob::Settings settings = disk({"a"}, "out");
        settings.concatenate = true;
        QCOMPARE(run(settings), error.isEmpty());
        if (error.isEmpty()) {
            // The traces of the others follow the first file whole.
            QCOMPARE(readFile(path("out/1.sgy")), segy(3) + segy(2).mid(3600) + segy(1).mid(3600));
            return;
        }
        QCOMPARE(console.errors(), QStringList({path("a/2.sgy") + ": " + error, "  job failed"}));
        // The job stopped at the first file that differs: its one output is no concatenation of them.
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), QStringList());
        QCOMPARE(console.summary(head), QStringList({"   0 bytes copied", "   0 files copied"}));
    }

    // Stopped by the operator in the second of two files converted a field file per record: the
    // first file's field files stay whole, nothing of the second is left, and the summary counts
    // what stayed.
    void abortKeepsWholeFilesOnly()
    {
        dirtest::SegyParams params;
        params.traces = 12;
        params.tracesPerRecord = 3;
        params.fieldRecord = 1001;
        params.samples = 20;
        params.format = 1;
        QVERIFY(writeFile(path("a/1.sgy"), dirtest::segyFile(params)));
        QVERIFY(writeFile(path("a/2.sgy"), dirtest::segyFile(params)));
        SegyDirCopyJob::Settings settings = disk({"a"}, "out");
        settings.segd = true;
        settings.revision = 31;
        settings.perRecord = true;
        // One question a batch of traces: the second file's first batch is written, then the stop.
        copyOperator.stopAfter = 1;
        SegyDirCopyJob job(&console, &copyOperator, settings);
        QVERIFY(job.run() && job.wasAborted());
        const QStringList kept{"1_1001.sgd", "1_1002.sgd", "1_1003.sgd", "1_1004.sgd"};
        QCOMPARE(QDir(path("out")).entryList(QDir::Files | QDir::Hidden), kept);
        QVERIFY(console.summary(head).contains("   1 file copied"));
        QVERIFY(console.summary(head).contains("   4 SEG-D field files written"));
    }

    // The samples are converted on several threads: the field files are the same on any number,
    // also where a field record ends inside a batch of traces.
    void conversionSameOnAnyThreads()
    {
        dirtest::SegyParams params;
        params.format = 1;
        params.traces = 700;
        params.tracesPerRecord = 90;
        params.samples = 400;
        QVERIFY(writeFile(path("a/1.sgy"), dirtest::segyFile(params)));
        QList<QByteArray> outputs;
        for (const int threads : {1, 2, 3}) {
            const QString out = QStringLiteral("out/%1").arg(threads);
            QVERIFY(QDir(path("out")).mkdir(QString::number(threads)));
            SegyDirCopyJob::Settings settings = disk({"a"}, out);
            settings.segd = true;
            settings.revision = 31;
            settings.perRecord = true;
            settings.threads = threads;
            QVERIFY2(run(settings), qPrintable(console.errors().join('|')));
            QByteArray files;
            for (const QString& name : QDir(path(out)).entryList(QDir::Files))
                files += name.toUtf8() + readFile(path(out + "/" + name));
            outputs << files;
        }
        QVERIFY(outputs[0].size() > 700 * 1600);
        QVERIFY(outputs[1] == outputs[0] && outputs[2] == outputs[0]);
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
            QCOMPARE(console.summary(head), QStringList{"<no " + head + ">"});
        }
        QCOMPARE(QDir(path("a")).entryList(QDir::Files), QStringList{"x.sgy"});
        QCOMPARE(readTapeImage(path("in.tap")), tapeFile(segy(1)));
    }

    void segdPerFieldRecord_data()
    {
        obrtest::columns<int, int, bool, bool, bool>(
            {"revision", "format", "perRecord", "littleEndian", "fromTape"});
        QTest::newRow("2.1, per record") << 21 << 1 << true << false << false;
        QTest::newRow("3.1, per record, little-endian 16-bit integers") << 31 << 3 << true << true << false;
        // The trace count the headers give is the tape file's, known only at its end.
        QTest::newRow("3.1 from tape, one field file") << 31 << 1 << false << false << true;
    }
    // Four shots of three traces in one SEG-Y file (twice on tape): a field file each, its headers
    // from its own first trace and its traces numbered from 1; or one field file and a warning. Read
    // back at the positions the SEG-D standard gives; the headers' every byte is tst_segd_conversion's.
    void segdPerFieldRecord()
    {
        const auto [revision, format, perRecord, littleEndian, fromTape] =
            obrtest::fetch<int, int, bool, bool, bool>("revision", "format", "perRecord", "littleEndian",
                                                       "fromTape");
        dirtest::SegyParams params;
        params.traces = 12;
        params.tracesPerRecord = 3;
        params.fieldRecord = 1001;
        params.samples = 20;
        params.interval = 1000;
        params.format = format;
        params.scalar = format == 3 ? 10 : -100;
        params.littleEndian = littleEndian;
        const QByteArray file = dirtest::segyFile(params);
        SegyDirCopyJob::Settings settings = disk(fromTape ? QStringList() : QStringList{"a"}, "out");
        settings.segd = true;
        settings.revision = revision;
        settings.perRecord = perRecord;
        QString label = path("a/line.sgy");
        if (fromTape) {
            settings.inputTape =
                tape("in.tap", tapeFile(file) + tapeFile(file) + TapeBlocks{QByteArray()}, 0);
            settings.baseName = "shot";
            label = "file %1 on input tape " + settings.inputTape->name();
        }
        QVERIFY(writeFile(path("a/line.sgy"), file));
        QVERIFY2(run(settings), qPrintable(console.errors().join('|')));

        const QStringList stems = fromTape ? QStringList{"shot-1", "shot-2"} : QStringList{"line"};
        const int outputs = perRecord ? 4 : 1;
        const int traces = 12 / outputs;
        QStringList names;
        for (const QString& stem : stems) {
            for (int k = 0; k < outputs; ++k)
                names.append(stem + (perRecord ? QStringLiteral("_%1").arg(1001 + k) : QString()) +
                             (fromTape ? ".segd" : ".sgd"));
        }
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), names);
        for (int n = 0; n < names.size(); ++n) {
            const FieldFileBytes segd{readFile(path("out/" + names[n]))};
            const int k = n % outputs;
            const int firstTrace = k * traces;
            QCOMPARE(segd.majorRevision(), revision / 10);
            QCOMPARE(segd.fileNumber(), 1001 + k);
            QCOMPARE(segd.channels(), traces);
            QCOMPARE(segd.bytes.size(), segd.trace(traces, params.samples));
            for (int t = 0; t < traces; ++t) {
                const int at = segd.trace(t, params.samples);
                const int s = firstTrace + t;
                QCOMPARE(bcd(segd.bytes, at + 4, 2), t + 1);
                QCOMPARE(binary(segd.bytes, at + 17, 3), 1001 + k);
                // Each trace header from its own SEG-Y trace: the receiver point (extension 1, bytes 4-6).
                QCOMPARE(binary(segd.bytes, at + 23, 3), dirtest::receiverPoint(s));
                for (int sample = 0; sample < params.samples; ++sample)
                    QCOMPARE(segd.sample(t, params.samples, sample), float(dirtest::sampleValue(s, sample)));
            }
        }
        QStringList warnings;
        for (int f = 1; !perRecord && f <= stems.size(); ++f)
            warnings << (fromTape ? label.arg(f) : label) +
                            " holds 4 field records: they become one SEG-D field file (one for each "
                            "with \"One SEG-D file per field record\", --per-record)";
        QCOMPARE(console.warnings(), warnings);
        QVERIFY(console.summary(head).contains(QStringLiteral("   %1 SEG-D field file%2 written")
                                                   .arg(names.size())
                                                   .arg(names.size() > 1 ? "s" : "")));
    }

    void segdFilesPassedOver_data()
    {
        obrtest::columns<int, bool, QByteArray, QString, QStringList>(
            {"revision", "perRecord", "second", "reason", "outputs"});
        dirtest::SegyParams params;
        params.fieldRecord = 7;
        params.interval = 300;
        QTest::newRow("2.1, interval of no whole sixteenths")
            << 21 << false << dirtest::segyFile(params)
            << "sample interval of 300 microseconds cannot be written as a SEG-D 2.1 base scan interval"
            << QStringList{"1.sgd", "3.sgd"};
        params.interval = 2000;
        params.traces = 9;
        params.tracesPerRecord = 3;
        QByteArray third = dirtest::segyFile(params);
        setTraceWord<qint16>(third, 6, 109, -40);
        // The two field files before it are written, then removed with it.
        QTest::newRow("2.1 per record, negative delay in the third record")
            << 21 << true << third
            << "field record 9: recording delay of -40 ms: a SEG-D 2.1 channel set cannot start before "
               "time zero (revision 3.1 can)"
            << QStringList{"1_5.sgd", "3_5.sgd"};
    }
    // A file SEG-D cannot hold is passed over with an error naming it, nothing of it written; the
    // others are converted and the job fails.
    void segdFilesPassedOver()
    {
        const auto [revision, perRecord, second, reason, outputs] =
            obrtest::fetch<int, bool, QByteArray, QString, QStringList>("revision", "perRecord", "second",
                                                                        "reason", "outputs");
        dirtest::SegyParams params;
        params.fieldRecord = 5;
        const QByteArray good = dirtest::segyFile(params);
        SegyDirCopyJob::Settings settings = disk({"a"}, "out");
        settings.segd = true;
        settings.revision = revision;
        settings.perRecord = perRecord;
        for (const auto& [name, content] :
             {std::pair{"a/1.sgy", good}, {"a/2.sgy", second}, {"a/3.sgy", good}})
            QVERIFY(writeFile(path(name), content));
        QVERIFY(!run(settings));
        QCOMPARE(QDir(path("out")).entryList(QDir::Files), outputs);
        QCOMPARE(console.errors(),
                 QStringList({path("a/2.sgy") + ": " + reason + " - file passed over", "  job failed"}));
        QCOMPARE(console.summary(head).mid(1, 2),
                 QStringList({"   2 files copied", "   1 file passed over"}));
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

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console;
    std::vector<std::unique_ptr<TapeDriveList>> drives;
    ScriptedOperator copyOperator;
};

OBR_TEST_MAIN(TestSegyDirCopy)
#include "tst_segy_dir_copy.moc"
