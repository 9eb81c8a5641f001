#include "seismic/SegyScalar.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/DataTable.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/TestMain.h"

#include <QSet>

class TestTraceKey : public QObject {
    Q_OBJECT
private slots:
    void tableIsConsistent()
    {
        // Every format slot but 32 to 35 (scalars and delay, kept as trace members) feeds exactly one key.
        QMap<int, int> keyOfSlot;
        QSet<QByteArray> names;
        for (const TraceKey::Info& row : TraceKey::table) {
            const bool stored = row.storage != TraceKey::Storage::None;
            QCOMPARE(QByteArray(row.name).isEmpty(), !stored);
            QVERIFY2(!stored || !names.contains(row.name), row.name);
            names.insert(row.name);
            if (row.scalar != TraceKey::Scalar::None)
                QVERIFY(row.storage == TraceKey::Storage::Float || row.storage == TraceKey::Storage::Double);
            if (row.formatSlot < 0)
                continue;
            QVERIFY(stored);
            QVERIFY2(!keyOfSlot.contains(row.formatSlot), qPrintable(QString::number(row.formatSlot)));
            keyOfSlot.insert(row.formatSlot, row.key);
        }
        for (int slot = 0; slot <= 64; ++slot)
            QCOMPARE(keyOfSlot.contains(slot), slot < 32 || slot > 35);
    }

    void storageTypesDecideTheRoundTrip_data()
    {
        // form: 0: 32-bit integer, 1: float, 2: 64-bit float
        obrtest::columns<int, int, double, double>({"key", "form", "input", "expected"});
        const int fieldFile = TraceKey::FieldFile;
        const int sourceLocation = TraceKey::SourceLocation;
        const int sourceX = TraceKey::SourceX;
        QTest::newRow("integer key truncates toward zero") << fieldFile << 2 << -12.9 << -12.0;
        QTest::newRow("integer key from a float") << fieldFile << 1 << 7.75 << 7.0;
        QTest::newRow("integer key keeps the low 32 bits") << fieldFile << 2 << 3.0e9 << -1294967296.0;
        QTest::newRow("float key from an integer rounds") << sourceLocation << 0 << 16777217.0 << 16777216.0;
        QTest::newRow("double key keeps 123456.78") << sourceX << 2 << 123456.78 << 123456.78;
        QTest::newRow("double key from a float") << sourceX << 1 << 0.1 << double(0.1f);
    }
    void storageTypesDecideTheRoundTrip()
    {
        const auto [key, form, input, expected] =
            obrtest::fetch<int, int, double, double>("key", "form", "input", "expected");
        const auto trace = SeismicTrace::create(0, 1.0f);
        if (form == 0)
            SeismicData::setValue(*trace, key, qint32(input));
        else if (form == 1)
            SeismicData::setValue(*trace, key, float(input));
        else
            SeismicData::setValue(*trace, key, input);
        OBR_COMPARE_EXACT(SeismicData::value(*trace, key), expected);
    }

    // Every stored key keeps its own value (Crossline shares Cmp's), and a key outside the table touches
    // none.
    void keysOutsideTheTable()
    {
        const auto trace = SeismicTrace::create(0, 1.0f);
        trace->filePosition = 3600;
        for (int k = 1; k < TraceKey::count; ++k)
            trace->setValue(k, k);
        // 0: the file position; 37: no storage
        for (int key : {0, 37, int(TraceKey::count), -1, 1 << 30}) {
            SeismicData::setValue(*trace, key, 99.0);
            SeismicData::setValue(*trace, key, qint32(99));
            QCOMPARE(SeismicData::value(*trace, key), 0.0);
        }
        QCOMPARE(trace->filePosition, qint64(3600));
        for (int k = 1; k < TraceKey::count; ++k) {
            const double expected = !TraceKey::isStored(k) ? 0.0 : k == TraceKey::Cmp ? 5.0 : k;
            QCOMPARE(trace->value(k), expected);
        }
    }

    void scalars()
    {
        // value, scalar, the value applied and removed; 1000005 / 100 is a division, not a reciprocal
        const std::tuple<double, int, double, double> rows[] = {{12.0, 10, 120.0, 1.2},
                                                                {12.5, 0, 12.5, 12.5},
                                                                {12.5, -1, 12.5, 12.5},
                                                                {1000005.0, -100, 10000.05, 100000500.0},
                                                                {32768.0, -32768, 1.0, 32768.0 * 32768}};
        for (const auto& [value, scalar, applied, removed] : rows) {
            OBR_COMPARE_EXACT(applyScalar(value, scalar), applied);
            OBR_COMPARE_EXACT(removeScalar(value, scalar), removed);
        }
    }
};

OBR_TEST_MAIN(TestTraceKey)
#include "tst_trace_key.moc"
