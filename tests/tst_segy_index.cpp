#include "seismic/RangeLimit.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyIndexFiles.h"
#include "seismic/SegyTraceIndex.h"
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

} // namespace

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
        obrtest::columns<int, int>({"code", "gathers"});
        QTest::newRow("0 file order, one gather per field file run") << 0 << 24;
        QTest::newRow("1 source") << 1 << 4;
        QTest::newRow("2 receiver") << 2 << 9;
        QTest::newRow("3 CMP of a 2-D line") << 3 << 12;
        QTest::newRow("5 offset") << 5 << 6;
        QTest::newRow("6 field file") << 6 << 4;
        QTest::newRow("12 CMP of a 2-D line") << 12 << 12;
    }
    void sortOrders()
    {
        const auto [code, gathers] = obrtest::fetch<int, int>("code", "gathers");
        const auto data = open();
        data->prepareSortOrder(code);
        QVERIFY(data->sortOrder()->ready);
        data->applySortOrder(data->sortOrder());
        QCOMPARE(data->recordCount(), gathers);
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

    void sortRefusals_data()
    {
        obrtest::columns<int, QStringList>({"code", "errors"});
        QTest::newRow("9 on a 2-D line") << 9
                                         << QStringList{"Data must have 3-D geometry to be sorted by Inline.",
                                                        "no min/max Inline numbers to sort by."};
        QTest::newRow("4 without inlines") << 4 << QStringList{"no min/max Inline numbers to sort by."};
        QTest::newRow("11 without attributes")
            << 11 << QStringList{"no min/max Attribute numbers to sort by."};
    }
    void sortRefusals()
    {
        const auto [code, errors] = obrtest::fetch<int, QStringList>("code", "errors");
        const auto data = open();
        data->prepareSortOrder(code);
        QVERIFY(!data->sortOrder()->ready);
        QCOMPARE(console.errors(), errors);
        data->applySortOrder(data->sortOrder());
        QCOMPARE(data->recordCount(), 24); // file order untouched
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
        row("all", 10, 13, 1, 0, {10, 11, 12, 13});
        row("every second", 10, 13, 2, 0, {10, 12});
        row("window of three", 11, 11, 1, 3, {10, 11, 12});
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
        QCOMPARE(console.messages(),
                 QStringList({QStringLiteral("Based on range limiting settings, a total of %1 out of 4 "
                                             "records from the input dataset will be processed.")
                                  .arg(fieldFiles.size()),
                              QString()}));
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

    void backupRoundTrip()
    {
        const auto data = open();
        data->prepareSortOrder(1);
        data->applySortOrder(data->sortOrder());
        QVERIFY(data->saveIndexBackup());

        const auto restored = open();
        restored->loadIndexBackup();
        QVERIFY(console.errors().isEmpty());
        QCOMPARE(restored->recordCount(), 4);
        QCOMPARE(restored->sortOrder()->code, 1);
        QCOMPARE(restored->sortOrder()->keys, data->sortOrder()->keys);
        for (int i = 0; i < traceCount; ++i) {
            QCOMPARE(restored->index()->entries[size_t(i)].filePosition,
                     data->index()->entries[size_t(i)].filePosition);
            QVERIFY(restored->index()->entries[size_t(i)].values == data->index()->entries[size_t(i)].values);
        }
        // Loading rewrote the index file, which reads back to the same grouping.
        const auto fromIndexFile = open();
        QVERIFY(fromIndexFile->readIndexFile());
        QCOMPARE(fromIndexFile->recordCount(), 4);
        QCOMPARE(fromIndexFile->index()->recordStartList(), data->index()->recordStartList());
    }

    void backupRefusals_data()
    {
        obrtest::columns<int, int, QString>({"patchAt", "value", "error"});
        const QString version =
            QStringLiteral("line.sgy.indxbak file version error - \nthis software release does "
                           "not support version %1 of the .indxbak file.");
        const QString opening = QStringLiteral("error opening .indxbak file: line.sgy.indxbak");
        QTest::newRow("type")
            << 0 << 1005
            << "line.sgy.indxbak file type error - \nthis does not appear to be a .indxbak file.";
        QTest::newRow("version 15") << 4 << 15 << version.arg(15);
        QTest::newRow("version 0") << 4 << 0 << version.arg(0);
        QTest::newRow("other data set") << -1 << 0
                                        << "line.sgy.indxbak file name error - \nthis internal dataset name "
                                           "for this .indxbak file is: other.sgy";
        QTest::newRow("missing") << -2 << 0 << opening;
        QTest::newRow("truncated") << -3 << 0 << opening;
    }
    void backupRefusals()
    {
        const auto [patchAt, value, error] = obrtest::fetch<int, int, QString>("patchAt", "value", "error");
        const auto data = open();
        const QString backup = data->indexBackupPath();
        if (patchAt == -1) {
            const auto other = open(QStringLiteral("other.sgy"));
            QVERIFY(other->saveIndexBackup());
            QVERIFY(QFile::copy(other->indexBackupPath(), backup));
        } else if (patchAt != -2) {
            QVERIFY(data->saveIndexBackup());
            QFile file(backup);
            QVERIFY(file.open(QIODevice::ReadWrite));
            if (patchAt == -3) {
                QVERIFY(file.resize(file.size() / 2));
            } else {
                QDataStream out(&file);
                QVERIFY(file.seek(patchAt));
                out << qint32(value);
            }
        }
        console.clear();
        data->loadIndexBackup();
        QCOMPARE(console.errors(), QStringList(error));
        QCOMPARE(data->recordCount(), 24); // the index in use is kept
    }

    void damagedIndexFiles_data()
    {
        // backup: the damage is in the backup, else in the index file written from it; find: bytes of
        // the file, whose first ones are replaced by replacement
        obrtest::columns<bool, QByteArray, QByteArray, QString>({"backup", "find", "replacement", "error"});
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
        const auto row = [](const char* name, bool backup, const QByteArray& find,
                            const QByteArray& replacement, const QString& error) {
            QTest::newRow(name) << backup << find << replacement << error;
        };
        row("backup entry beyond the file", true, firstEntry,
            bigEndian<qint64>(1LL << 40) + bigEndian<qint32>(1), backupError + outside);
        row("backup entry inside the headers", true, firstEntry,
            bigEndian<qint64>(100) + bigEndian<qint32>(1), backupError + outside);
        row("backup trace number 0", true, firstEntry, bigEndian<qint64>(3600) + bigEndian<qint32>(0),
            backupError + outside);
        row("backup record list longer than the traces", true, records, hugeRecords, backupError);
        row("index value that is a text", false, firstVariant, bigEndian<quint32>(QMetaType::QString) + '\0',
            indexError + QStringLiteral("\ntrace entry 1 holds a value that is not a number"));
        row("index position NaN", false, firstVariant, variant(qQNaN()), indexError + outside);
        row("index position 1e30", false, firstVariant, variant(1e30), indexError + outside);
        row("index record list longer than the traces", false, records, hugeRecords, indexError);
    }
    void damagedIndexFiles()
    {
        const auto [backup, find, replacement, error] =
            obrtest::fetch<bool, QByteArray, QByteArray, QString>("backup", "find", "replacement", "error");
        const auto data = open();
        QVERIFY(data->saveIndexBackup());
        if (!backup)
            data->loadIndexBackup(); // writes the index file from the backup
        const QString path = backup ? data->indexBackupPath() : data->indexFilePath();
        QByteArray bytes = obrtest::readFile(path);
        const int at = bytes.indexOf(find);
        QVERIFY2(at >= 0, "the bytes to damage are where they were written");
        QVERIFY(obrtest::writeFile(path, bytes.replace(at, replacement.size(), replacement)));

        console.clear();
        if (backup)
            data->loadIndexBackup();
        else
            QVERIFY(!data->readIndexFile());
        QCOMPARE(console.errors(), QStringList(error));
        QCOMPARE(data->recordCount(), 24); // the index in use is kept
    }

private:
    template <typename T> static QByteArray bigEndian(T value)
    {
        QByteArray bytes(sizeof value, '\0');
        qToBigEndian(value, bytes.data());
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

    std::unique_ptr<QTemporaryDir> dir;
    RecordingConsole console{1};
    SegyFormat format;
};

OBR_TEST_MAIN(TestSegyIndex)
#include "tst_segy_index.moc"
