#include "devices/DiskDevice.h"
#include "seismic/RangeLimit.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyIndexFiles.h"
#include "seismic/SegyTraceIndex.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "seismic/SortOrder.h"
#include "seismic/TraceGather.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QDataStream>
#include <QFile>
#include <QTemporaryDir>
#include <QVariant>
#include <QtEndian>
#include <algorithm>

Q_DECLARE_METATYPE(RangeLimit)

namespace {

constexpr int traceCount = 24;

// A 2-D line of four shots of six channels, stored shuffled: file trace i holds shot trace (7 i) mod 24.
void fillShuffled(SeismicTrace& trace, int i)
{
    const int k = (7 * i) % traceCount;
    const int shot = k / 6;
    const int channel = k % 6;
    trace.setValue(TraceKey::FieldFile, 10 + shot);
    trace.setValue(TraceKey::Channel, channel + 1);
    trace.setValue(TraceKey::SourceLine, 1 + shot / 2);
    trace.setValue(TraceKey::SourceLocation, 100 + shot % 2);
    trace.setValue(TraceKey::ReceiverLine, 5);
    trace.setValue(TraceKey::ReceiverLocation, 200 + channel + shot);
    trace.setValue(TraceKey::Offset, (channel - 3) * 25);
    trace.setValue(TraceKey::Cmp, 1000 + 2 * shot + channel);
    trace.setValue(TraceKey::SourceX, 1000.0 * (shot + 1));
    trace.setValue(TraceKey::ReceiverX, 1000.0 * (shot + 1) + 50.0 * (channel - 3));
}

// A data set whose description the test sets by hand, the way a reader sets it from headers.
class DescribedData : public SeismicData {
public:
    using SeismicData::SeismicData;
    void describe(int samples, int tracesPerRecord, float interval)
    {
        samples_ = samples;
        tracesPerRecord_ = tracesPerRecord;
        sampleInterval_ = interval;
        recordLength_ = float(samples) * interval;
    }
};

} // namespace

// Data sets as gathers: their description, the gathers made of it, and a SEG-Y file's index, sort
// orders and range limits.
class TestSegyIndex : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        dir = std::make_unique<QTemporaryDir>();
        console.clear();
    }

    void sortOrders_data()
    {
        // errors: of a sort refused, which keeps file order
        obrtest::columns<int, int, QStringList>({"code", "gathers", "errors"});
        QTest::newRow("0 file order, one gather per field file run") << 0 << 24 << QStringList();
        QTest::newRow("3 CMP of a 2-D line") << 3 << 12 << QStringList();
        QTest::newRow("9 on a 2-D line") << 9 << 24
                                         << QStringList{"Data must have 3-D geometry to be sorted by Inline.",
                                                        "no min/max Inline numbers to sort by."};
    }
    void sortOrders()
    {
        const auto [code, gathers, errors] =
            obrtest::fetch<int, int, QStringList>("code", "gathers", "errors");
        const auto data = open();
        data->prepareSortOrder(code);
        QCOMPARE(data->sortOrder()->ready, errors.isEmpty());
        // Each error names the file.
        QStringList named;
        for (const QString& error : errors)
            named.append(dir->filePath(QStringLiteral("line.sgy: ")) + error);
        QCOMPARE(console.errors(), named);
        data->applySortOrder(data->sortOrder());
        QCOMPARE(data->recordCount(), gathers);
        if (!errors.isEmpty())
            return;
        const SegyTraceIndex& index = *data->index();
        const QVector<int> keys = data->sortOrder()->keys;
        // Gathers hold equal keys, in rising key order; traces of a gather keep file order.
        QVector<double> previous;
        qint32 previousTrace = 0;
        int traces = 0;
        for (int record = 1; record <= gathers; ++record) {
            for (int n = 1; n <= index.tracesInRecord(record); ++n, ++traces) {
                const SegyTraceIndex::Entry& entry = index.entries[size_t(index.entryOf(record, n))];
                QVector<double> key;
                for (int k : keys)
                    key.append(entry.value(k));
                if (n > 1)
                    QVERIFY(key == previous && entry.fileTrace > previousTrace);
                else if (record > 1 && !keys.isEmpty())
                    QVERIFY(previous < key);
                previous = key;
                previousTrace = entry.fileTrace;
            }
        }
        QCOMPARE(traces, traceCount);
    }

    void rangeLimiting_data()
    {
        // fieldFiles: of the selected shots, in order
        obrtest::columns<RangeLimit, QList<int>>({"limit", "fieldFiles"});
        const auto row = [](const char* name, qint64 first, qint64 last, qint64 increment, int window,
                            const QList<int>& fieldFiles) {
            QTest::newRow(name) << RangeLimit{TraceKey::FieldFile, first, last, increment, window}
                                << fieldFiles;
        };
        row("every second", 10, 13, 2, 0, {10, 12});
        row("window shifts the increment", 11, 11, 5, 2, {10, 11});
        row("nothing", 20, 30, 1, 0, {});
    }
    void rangeLimiting()
    {
        const auto [limit, fieldFiles] = obrtest::fetch<RangeLimit, QList<int>>("limit", "fieldFiles");
        const auto data = open();
        data->prepareSortOrder(6);
        data->applySortOrder(data->sortOrder());
        console.clear();
        QCOMPARE(data->applyRangeLimits({limit}), !fieldFiles.isEmpty());
        if (fieldFiles.isEmpty()) {
            QCOMPARE(
                console.errors(),
                QStringList(
                    "range limiting parameters have resulted in no records being input into processing."));
            return;
        }
        QVERIFY(console.messages().value(0).contains(
            QStringLiteral("a total of %1 out of 4 records").arg(fieldFiles.size())));
        QCOMPARE(data->recordCount(), fieldFiles.size());
        const auto gather = data->makeGather(true);
        for (int n = 1; n <= fieldFiles.size(); ++n) {
            QVERIFY(data->readRecordNumber(*gather, n));
            OBR_COMPARE_EXACT(gather->trace(0)->value(TraceKey::FieldFile), fieldFiles[n - 1]);
        }
        QVERIFY(!data->readRecordNumber(*gather, fieldFiles.size() + 1));
    }

    void geometryFromCoordinates()
    {
        const auto data = open();
        data->updateIndexGeometry();
        for (const SegyTraceIndex::Entry& entry : data->index()->entries) {
            const double channel = entry.value(TraceKey::Channel) - 1;
            OBR_COMPARE_EXACT(entry.value(TraceKey::CmpX),
                              entry.value(TraceKey::SourceX) + 25.0 * (channel - 3));
            // Distance from the coordinates; the recorded side of the spread (the sign) stays.
            OBR_COMPARE_EXACT(entry.value(TraceKey::Offset), 50.0 * (channel - 3));
        }
    }

    void damagedIndexFiles_data()
    {
        // backup: the damage is in the backup, else in the index file written from it; at: the byte
        // replaced from, or -1: where find is, -2: cut in half
        obrtest::columns<bool, int, QByteArray, QByteArray, QString>(
            {"backup", "at", "find", "replacement", "error"});
        // The first trace: at byte 3600, trace 1 of the file; an index file holds each as a variant.
        const QByteArray firstEntry = bigEndian<qint64>(3600) + bigEndian<qint32>(1);
        const QByteArray firstVariant = variant(3600.0);
        // One record per trace in file order: the record list is 0, 1, ..., 23.
        QByteArray records = bigEndian<quint32>(traceCount);
        for (int start = 0; start < traceCount; ++start)
            records += bigEndian<qint32>(start);
        const QByteArray hugeRecords = bigEndian<quint32>(0x7fffffff) + records.mid(4);
        const QString backupError = QStringLiteral("error opening .indxbak file: line.sgy.indxbak");
        const QString indexError = QStringLiteral("error opening index file.");
        const QString outside = QStringLiteral("\ntrace entry 1 lies outside the data set");
        const auto row = [](const char* name, bool backup, int at, const QByteArray& find,
                            const QByteArray& replacement, const QString& error) {
            QTest::newRow(name) << backup << at << find << replacement << error;
        };
        row("type", true, 0, {}, bigEndian<qint32>(1005),
            "line.sgy.indxbak file type error - \nthis does not appear to be a .indxbak file.");
        row("other data set", true, -1, utf16("line"), utf16("lime"),
            "line.sgy.indxbak file name error - \nthis internal dataset name for this .indxbak file is: "
            "lime.sgy");
        row("truncated", true, -2, {}, {}, backupError);
        row("backup entry beyond the file", true, -1, firstEntry,
            bigEndian<qint64>(1LL << 40) + bigEndian<qint32>(1), backupError + outside);
        row("index value that is a text", false, -1, firstVariant,
            bigEndian<quint32>(QMetaType::QString) + '\0',
            indexError + QStringLiteral("\ntrace entry 1 holds a value that is not a number"));
        row("index position NaN", false, -1, firstVariant, variant(qQNaN()), indexError + outside);
        row("index record list longer than the traces", false, -1, records, hugeRecords, indexError);
    }
    void damagedIndexFiles()
    {
        const auto [backup, at, find, replacement, error] =
            obrtest::fetch<bool, int, QByteArray, QByteArray, QString>("backup", "at", "find", "replacement",
                                                                       "error");
        const auto data = open();
        QVERIFY(data->saveIndexBackup());
        if (!backup)
            data->loadIndexBackup(); // writes the index file from the backup
        const QString path = backup ? data->indexBackupPath() : data->indexFilePath();
        QByteArray bytes = obrtest::readFile(path);
        const int from = at == -1 ? bytes.indexOf(find) : at;
        QVERIFY2(from >= 0 || at < -1, "the bytes to damage are where they were written");
        QVERIFY(obrtest::writeFile(path, at == -2 ? bytes.left(bytes.size() / 2)
                                                  : bytes.replace(from, replacement.size(), replacement)));

        console.clear();
        if (backup)
            data->loadIndexBackup();
        else
            QVERIFY(!data->readIndexFile());
        QCOMPARE(console.errors(), QStringList(error));
        QCOMPARE(data->recordCount(), 24); // the index in use is kept
    }

    // More samples than the data set holds: truncated, said with the file name taken as it is.
    void reconcileSampleCount()
    {
        auto data = openData(QStringLiteral("r.sgy"));
        data->describe(1500, 1, 2.0f);
        data->reconcileSampleCount(2000, QStringLiteral("100%3.sgy"));
        QCOMPARE(data->samples(), 1500);
        QCOMPARE(data->fileSamples(), 2000);
        QVERIFY(console.warnings().value(0).contains(QStringLiteral("file 100%3.sgy is more")));
    }

    // The largest count of traces, even without samples, is refused, not overflowed.
    void refusesGathersBeyondTheLimits()
    {
        auto data = openData(QStringLiteral("big.sgy"));
        data->describe(1000, 2147483647, 1.0f);
        QVERIFY(!data->makeGather(true));
        QCOMPARE(console.errors().size(), 1);
        QVERIFY(console.errors().first().startsWith(QStringLiteral("failed to allocate memory")));
    }

    void resizeGather_data()
    {
        // expected: field file numbers; 0 is a fresh trace
        obrtest::columns<int, int, QList<double>>({"count", "dropFront", "expected"});
        QTest::newRow("grow") << 7 << 0 << QList<double>{1, 2, 3, 4, 5, 0, 0};
        QTest::newRow("negative count empties") << -4 << 0 << QList<double>{};
        QTest::newRow("shrink, dropping the front") << 3 << 2 << QList<double>{3, 4, 5};
        QTest::newRow("drop more than the excess, then refill") << 4 << 3 << QList<double>{4, 5, 0, 0};
        QTest::newRow("drop more than held") << 2 << 9 << QList<double>{0, 0};
    }
    void resizeGather()
    {
        const auto [count, dropFront, expected] =
            obrtest::fetch<int, int, QList<double>>("count", "dropFront", "expected");
        auto data = openData(QStringLiteral("g.sgy"));
        data->describe(50, 5, 1.0f);
        const auto gather = data->makeGather(false);
        for (int i = 0; i < gather->count(); ++i)
            gather->traces[size_t(i)]->setValue(TraceKey::FieldFile, i + 1);
        const int held =
            dropFront ? data->resizeGather(*gather, count, dropFront) : data->resizeGather(*gather, count);
        QCOMPARE(held, int(expected.size()));
        QCOMPARE(gather->count(), held);
        QCOMPARE(gather->requested, std::max(count, 0));
        for (int i = 0; i < held; ++i) {
            OBR_COMPARE_EXACT(gather->trace(i)->value(TraceKey::FieldFile), expected[i]);
            QCOMPARE(gather->trace(i)->sampleCount(), 50);
        }
    }

private:
    template <typename T> static QByteArray bigEndian(T value)
    {
        QByteArray bytes(sizeof value, '\0');
        qToBigEndian(value, bytes.data());
        return bytes;
    }
    static QByteArray utf16(const char* text)
    {
        QByteArray bytes;
        for (const char* c = text; *c; ++c)
            bytes += '\0' + QByteArray(1, *c);
        return bytes;
    }
    // A variant holding a 64-bit float as a data stream writes it: type, null flag, value.
    static QByteArray variant(double value)
    {
        QByteArray bytes;
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out.setVersion(QDataStream::Qt_5_15);
        out << QVariant(value);
        return bytes;
    }

    std::unique_ptr<SegyData> open(const QString& name = QStringLiteral("line.sgy"))
    {
        const QString path = dir->filePath(name);
        if (!QFile::exists(path)) {
            segytest::FileLayout layout;
            layout.traces = traceCount;
            if (!segytest::writeFile(path, format, layout, fillShuffled, &console))
                qFatal("cannot write %s", qPrintable(path));
        }
        auto data = std::make_unique<SegyData>(&console, path, 0, &format);
        if (!data->ok() || !data->buildIndex())
            qFatal("cannot index %s", qPrintable(path));
        return data;
    }

    std::unique_ptr<DescribedData> openData(const QString& fileName)
    {
        const QString path = dir->filePath(fileName);
        if (!obrtest::writeFile(path, QByteArray()))
            qFatal("cannot create %s", qPrintable(path));
        auto data = std::make_unique<DescribedData>(new DiskDevice(&console, path, 0));
        console.clear();
        return data;
    }

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console{1};
    SegyFormat format;
};

OBR_TEST_MAIN(TestSegyIndex)
#include "tst_segy_index.moc"
