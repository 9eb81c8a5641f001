#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/TapeImageFiles.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QRegularExpression>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QtEndian>
#include <cstring>
#include <sys/stat.h>

// Files beyond 4 GiB, made sparse so that they cost no disk: only their ends hold data, and the
// checks seek there instead of reading everything between.
namespace {

using obrtest::ObrioRun;

constexpr qint64 gib = qint64(1) << 30;
// Traces of 240,240 bytes: some ten thousand of them pass 4 GiB, and an index of all stays quick.
constexpr int samples = 60000;
constexpr qint64 traceLength = 240 + 4 * samples;
constexpr qint64 dataStart = 3600;

// The value a trace's sample s holds at the file's far end.
float farSample(int s, int trace)
{
    return float(s % 977 - trace % 1000);
}

// Writes `bytes` at each offset of a file of `size` bytes that is otherwise a hole; false when the
// file system cannot hold it or stores the holes (the checks would fill the disk).
bool writeSparse(const QString& path, qint64 size, const QList<QPair<qint64, QByteArray>>& pieces)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadWrite) || !file.resize(size))
        return false;
    for (const auto& [offset, bytes] : pieces)
        if (!file.seek(offset) || file.write(bytes) != bytes.size())
            return false;
    file.close();
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && status.st_size == size &&
           qint64(status.st_blocks) * 512 < 64 * 1024 * 1024;
}

// A trace as the SEG-Y standard lays it out: sequence and field record number (bytes 1-4, 9-12), the
// sample count (115-116), then big-endian IEEE samples.
QByteArray segyTrace(int number)
{
    QByteArray bytes(int(traceLength), '\0');
    qToBigEndian<qint32>(number, bytes.data());
    qToBigEndian<qint32>(number, bytes.data() + 8);
    qToBigEndian<quint16>(samples, bytes.data() + 114);
    for (int s = 0; s < samples; ++s) {
        const float value = farSample(s, number);
        quint32 bits;
        std::memcpy(&bits, &value, sizeof bits);
        qToBigEndian(bits, bytes.data() + 240 + 4 * s);
    }
    return bytes;
}

QByteArray word(quint32 value)
{
    QByteArray bytes(4, '\0');
    qToLittleEndian(value, bytes.data());
    return bytes;
}

} // namespace

class TestLargeFiles : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        home = std::make_unique<QTemporaryDir>();
        if (QStorageInfo(home->path()).bytesAvailable() < 256 * 1024 * 1024)
            QSKIP("too little free space for the metadata of large sparse files");
    }

    void segyLastTrace_data()
    {
        obrtest::columns<qint64>({"size"});
        QTest::newRow("just over 4 GiB") << 4 * gib + 1;
    }
    // The first and the last trace are real; a dump, the index and a seek reach the last.
    void segyLastTrace()
    {
        const auto [size] = obrtest::fetch<qint64>("size");
        // The last trace starts at `size` or just after it.
        const int count = int((size - dataStart + traceLength - 1) / traceLength) + 1;
        const qint64 lastPosition = dataStart + qint64(count - 1) * traceLength;
        QVERIFY(lastPosition > 4 * gib);

        // The binary header: 4 ms, the sample count, format 5.
        QByteArray headers(int(dataStart), 'C');
        std::memset(headers.data() + 3200, 0, 400);
        qToBigEndian<quint16>(4000, headers.data() + 3216);
        qToBigEndian<quint16>(samples, headers.data() + 3220);
        qToBigEndian<quint16>(5, headers.data() + 3224);
        const QString big = path("big.sgy");
        if (!writeSparse(big, dataStart + count * traceLength,
                         {{0, headers + segyTrace(1)}, {lastPosition, segyTrace(count)}}))
            QSKIP("the file system refuses large sparse files");

        const ObrioRun dump = obrio({"segy", "dump", "--trace", QString::number(count), big});
        QVERIFY2(dump.status == 0 && dump.err.isEmpty(), qPrintable(dump.err.join('\n')));
        const QRegularExpression fieldFile("^     9 int32  Field file +" + QString::number(count) + "$");
        QCOMPARE(dump.out.filter(fieldFile).size(), 1);

        SegyFormat format;
        RecordingConsole console(1);
        SegyData data(&console, big, 0, &format);
        QCOMPARE(data.traceCount(), count);
        const auto trace = SeismicTrace::create(data.samples(), data.sampleInterval());
        const auto checkLast = [&](int record, int number) {
            QVERIFY(data.seekTrace(record, number));
            QVERIFY(data.readTrace(*trace));
            QCOMPARE(trace->filePosition, lastPosition);
            QCOMPARE(trace->value(TraceKey::FieldFile), double(count));
            for (int s : {0, 1, samples / 2, samples - 1})
                QCOMPARE(trace->data()[s], farSample(s, count));
        };
        checkLast(1, count);
        // The index groups the traces by field file: the first, the empty ones, the last.
        QVERIFY(data.buildIndex());
        QCOMPARE(data.recordCount(), 3);
        QCOMPARE(data.index()->entries.back().filePosition, lastPosition);
        checkLast(3, 1);
        QVERIFY(data.saveIndexBackup());
        data.loadIndexBackup();
        checkLast(3, 1);
    }

    void tapeImagePast4GiB_data()
    {
        obrtest::columns<QString, qint64>({"suffix", "record"});
        // SIMH records hold at most 2^28 - 1 bytes; Tape-In-File offsets are 32 bits wide.
        QTest::newRow("SIMH") << "tap" << qint64(0x0FFFFFF0);
        QTest::newRow("Tape-In-File") << "tif" << qint64(0x3FFFFFF0);
    }
    // A tape whose first blocks are huge and hollow: a SEG-Y copy goes after them past 4 GiB and comes
    // back whole, and a raw copy starts at a trace there. Tape-In-File ends at 4 GiB instead.
    void tapeImagePast4GiB()
    {
        const auto [suffix, record] = obrtest::fetch<QString, qint64>("suffix", "record");
        const bool simh = suffix == "tap";
        const QString image = path("big." + suffix);
        obrtest::writeTapeImage(image, {}, 64 * gib);
        const int blocks = simh ? 17 : 4;
        QList<QPair<qint64, QByteArray>> frames;
        qint64 end = 0;
        for (int i = 0; i < blocks; ++i) {
            const qint64 next = end + record + (simh ? 8 : 12);
            if (simh)
                frames << qMakePair(end, word(quint32(record))) << qMakePair(next - 4, word(quint32(record)));
            else
                frames << qMakePair(end, word(0) + word(quint32(frames.isEmpty() ? 0 : frames.last().first)) +
                                             word(quint32(next)));
            end = next;
        }
        if (!writeSparse(image, end, frames))
            QSKIP("the file system refuses large sparse files");

        const QByteArray segy = obrtest::segyFile(1, 100, false, 3);
        QVERIFY(obrtest::writeFile(path("small.sgy"), segy));
        QCOMPARE(obrio({"tape", "eod", "tape:" + image}).status, 0);
        const ObrioRun onto = obrio({"copy", "segy", "small.sgy", "tape:" + image});
        if (!simh) {
            QCOMPARE(onto.status, 1);
            QVERIFY2(onto.out.contains("EOT encountered on tape"), qPrintable(onto.out.join('\n')));
            QCOMPARE(QFileInfo(image).size(), end);
            return;
        }
        QCOMPARE(onto.status, 0);
        QVERIFY(end > 4 * gib);
        QFile file(image);
        QVERIFY(file.open(QIODevice::ReadOnly) && file.seek(end));
        QCOMPARE(file.read(4 + 3200), word(3200) + segy.left(3200));
        QCOMPARE(file.size(), end + 3200 + 400 + 3 * 640 + 5 * 8 + 2 * 4);

        const QString skipHeaders = QString::number(blocks);
        const QString skipFirstTrace = QString::number(blocks + 3);
        const QList<QStringList> copies{{"segy", skipHeaders, "back.sgy"},
                                        {"raw", skipFirstTrace, "traces.dat"}};
        for (const QStringList& copy : copies) {
            QCOMPARE(obrio({"tape", "skip", "--blocks", copy[1], "tape:" + image}).status, 0);
            QCOMPARE(obrio({"copy", copy[0], "tape:" + image, copy[2]}).status, 0);
        }
        QCOMPARE(obrtest::readFile(path("back.sgy")), segy);
        QCOMPARE(obrtest::readFile(path("traces.dat")), segy.mid(3600 + 640));
    }

private:
    QString path(const QString& name) const { return home->filePath(name); }
    ObrioRun obrio(const QStringList& arguments) { return obrtest::runObrio(home->path(), arguments); }

    std::unique_ptr<QTemporaryDir> home;
};

OBR_TEST_MAIN(TestLargeFiles)
#include "tst_large_files.moc"
