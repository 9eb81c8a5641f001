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
#include "tests/support/TestMain.h"

#include <QFile>
#include <QTemporaryDir>

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

private:
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
