#include "seismic/HeaderDataType.h"
#include "seismic/SegyScalar.h"
#include "seismic/SeismicData.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/ExactCompare.h"
#include "tests/support/TestMain.h"

#include <QSet>
#include <algorithm>
#include <cmath>

using Storage = TraceKey::Storage;
using Scalar = TraceKey::Scalar;

Q_DECLARE_METATYPE(TraceKey::Storage)
Q_DECLARE_METATYPE(TraceKey::Scalar)

class TestTraceKey : public QObject {
    Q_OBJECT
private slots:
    void everyFormatSlotBelongsToOneKey();
    void keysWithoutStorageHaveNothingElse();
    void sampleRows_data();
    void sampleRows();
    void freshTrace();
    void storageTypesDecideTheRoundTrip_data();
    void storageTypesDecideTheRoundTrip();
    void everyStoredKeyKeepsItsOwnValue();
    void cmpAndCrosslineShareOneValue();
    void keysOutsideTheTable_data();
    void keysOutsideTheTable();
    void scalars_data();
    void scalars();
    void scaledValuesThroughIntegerWords_data();
    void scaledValuesThroughIntegerWords();
};

void TestTraceKey::everyFormatSlotBelongsToOneKey()
{
    // Slots 32 to 35 hold the scalars and the recording delay, which are trace members.
    QMap<int, int> keyOfSlot;
    for (const TraceKey::Info& row : TraceKey::table) {
        if (row.formatSlot < 0)
            continue;
        QVERIFY2(!keyOfSlot.contains(row.formatSlot), qPrintable(QString::number(row.formatSlot)));
        keyOfSlot.insert(row.formatSlot, row.key);
    }
    for (int slot = 0; slot <= 64; ++slot)
        QCOMPARE(keyOfSlot.contains(slot), slot < 32 || slot > 35);
}

void TestTraceKey::keysWithoutStorageHaveNothingElse()
{
    QSet<QString> names;
    int withoutStorage = 0;
    for (const TraceKey::Info& row : TraceKey::table) {
        const QString name = QString::fromLatin1(row.name);
        if (row.storage == Storage::None) {
            ++withoutStorage;
            QVERIFY(name.isEmpty());
            QCOMPARE(row.formatSlot, -1);
            QCOMPARE(row.scalar, Scalar::None);
            QVERIFY(!TraceKey::isStored(row.key));
        } else {
            QVERIFY(!name.isEmpty());
            QVERIFY2(!names.contains(name), row.name);
            names.insert(name);
        }
        // Scaled values are the ones kept as floating point.
        if (row.scalar != Scalar::None)
            QVERIFY(row.storage == Storage::Float || row.storage == Storage::Double);
    }
    QCOMPARE(withoutStorage, 6); // 37, 53 to 56, 72
    QVERIFY(!TraceKey::isStored(TraceKey::FilePosition));
}

void TestTraceKey::sampleRows_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("name");
    QTest::addColumn<Storage>("storage");
    QTest::addColumn<int>("slot");
    QTest::addColumn<Scalar>("scalar");
    QTest::newRow("0") << 0 << "FilePosition" << Storage::Int64 << -1 << Scalar::None;
    QTest::newRow("1") << int(TraceKey::FieldFile) << "FieldFile" << Storage::Int32 << 0 << Scalar::None;
    QTest::newRow("3") << int(TraceKey::Cmp) << "Cmp" << Storage::Float << 2 << Scalar::None;
    QTest::newRow("10") << int(TraceKey::Offset) << "Offset" << Storage::Float << 26 << Scalar::Coordinate;
    QTest::newRow("12") << int(TraceKey::SequentialTrace) << "SequentialTrace" << Storage::Int32 << -1
                        << Scalar::None;
    QTest::newRow("19") << int(TraceKey::SourceDepth) << "SourceDepth" << Storage::Float << 15
                        << Scalar::Elevation;
    QTest::newRow("23") << int(TraceKey::CmpX) << "CmpX" << Storage::Double << 5 << Scalar::Coordinate;
    QTest::newRow("30") << int(TraceKey::ReceiverY) << "ReceiverY" << Storage::Double << 20
                        << Scalar::Coordinate;
    QTest::newRow("32") << int(TraceKey::ReceiverWaterDepth) << "ReceiverWaterDepth" << Storage::Float << 23
                        << Scalar::Elevation;
    QTest::newRow("34") << int(TraceKey::ReceiverComponent) << "ReceiverComponent" << Storage::Int32 << 24
                        << Scalar::None;
    QTest::newRow("49") << int(TraceKey::UserDefined9) << "UserDefined9" << Storage::Float << 44
                        << Scalar::None;
    QTest::newRow("68") << int(TraceKey::ReceiverOrientation) << "ReceiverOrientation" << Storage::Float << 25
                        << Scalar::None;
    QTest::newRow("71") << int(TraceKey::AvaComponent) << "AvaComponent" << Storage::Int32 << 64
                        << Scalar::None;
    QTest::newRow("75") << int(TraceKey::GatherIndex) << "GatherIndex" << Storage::Int32 << 50
                        << Scalar::None;
}

void TestTraceKey::sampleRows()
{
    QFETCH(int, key);
    QFETCH(QString, name);
    QFETCH(Storage, storage);
    QFETCH(int, slot);
    QFETCH(Scalar, scalar);
    const TraceKey::Info& row = TraceKey::info(key);
    QCOMPARE(row.key, key);
    QCOMPARE(QString::fromLatin1(row.name), name);
    QCOMPARE(row.storage, storage);
    QCOMPARE(row.formatSlot, slot);
    QCOMPARE(row.scalar, scalar);
}

void TestTraceKey::freshTrace()
{
    const auto trace = SeismicTrace::create(100, 2.0f);
    QVERIFY(trace);
    for (int key = 0; key < TraceKey::count; ++key)
        QCOMPARE(trace->value(key), 0.0);
    QCOMPARE(trace->coordinateScalar, -100);
    QCOMPARE(trace->elevationScalar, -100);
    QCOMPARE(trace->timeScalar, -1000);
    QCOMPARE(trace->timestamp, qint64(0));
    QCOMPARE(trace->filePosition, qint64(0));
    QCOMPARE(trace->sampleInterval, 2.0f);
    QCOMPARE(trace->sampleCount(), 100);
    QVERIFY(trace->hasSamples());
    QVERIFY(std::all_of(trace->data(), trace->data() + 100, [](double s) { return s == 0.0; }));
}

void TestTraceKey::storageTypesDecideTheRoundTrip_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("form"); // 0: 32-bit integer, 1: float, 2: 64-bit float
    QTest::addColumn<double>("input");
    QTest::addColumn<double>("expected");
    const int fieldFile = TraceKey::FieldFile;
    const int sourceLocation = TraceKey::SourceLocation;
    const int sourceX = TraceKey::SourceX;
    QTest::newRow("integer key truncates") << fieldFile << 2 << 12.9 << 12.0;
    QTest::newRow("integer key truncates toward zero") << fieldFile << 2 << -12.9 << -12.0;
    QTest::newRow("integer key from a float") << fieldFile << 1 << 7.75 << 7.0;
    QTest::newRow("integer key keeps the low 32 bits") << fieldFile << 2 << 3.0e9 << -1294967296.0;
    QTest::newRow("integer key from an integer") << fieldFile << 0 << -2147483648.0 << -2147483648.0;
    QTest::newRow("float key rounds to float") << sourceLocation << 2 << 123456.78 << double(123456.78f);
    QTest::newRow("float key from an integer rounds") << sourceLocation << 0 << 16777217.0 << 16777216.0;
    QTest::newRow("float key keeps fractions") << sourceLocation << 2 << -0.5 << -0.5;
    QTest::newRow("double key keeps 123456.78") << sourceX << 2 << 123456.78 << 123456.78;
    QTest::newRow("double key keeps large coordinates") << sourceX << 2 << 6543210.987654 << 6543210.987654;
    QTest::newRow("double key from a float") << sourceX << 1 << 0.1 << double(0.1f);
    QTest::newRow("double key from an integer") << sourceX << 0 << 16777217.0 << 16777217.0;
}

void TestTraceKey::storageTypesDecideTheRoundTrip()
{
    QFETCH(int, key);
    QFETCH(int, form);
    QFETCH(double, input);
    QFETCH(double, expected);
    const auto trace = SeismicTrace::create(0, 1.0f);
    if (form == 0)
        SeismicData::setValue(*trace, key, qint32(input));
    else if (form == 1)
        SeismicData::setValue(*trace, key, float(input));
    else
        SeismicData::setValue(*trace, key, input);
    OBR_COMPARE_EXACT(SeismicData::value(*trace, key), expected);
    OBR_COMPARE_EXACT(trace->value(key), expected);
}

void TestTraceKey::everyStoredKeyKeepsItsOwnValue()
{
    const auto trace = SeismicTrace::create(0, 1.0f);
    for (int key = 1; key < TraceKey::count; ++key) {
        if (key != TraceKey::Crossline)
            trace->setValue(key, 1000.0 + key);
    }
    for (int key = 1; key < TraceKey::count; ++key) {
        const double expected = !TraceKey::isStored(key)     ? 0.0
                                : key == TraceKey::Crossline ? 1003.0
                                                             : 1000.0 + key;
        OBR_COMPARE_EXACT(trace->value(key), expected);
    }
    QCOMPARE(trace->sequentialTrace(), 1012);
    QCOMPARE(trace->traceId(), 1013);
}

void TestTraceKey::cmpAndCrosslineShareOneValue()
{
    const auto trace = SeismicTrace::create(0, 1.0f);
    SeismicData::setValue(*trace, TraceKey::Cmp, 7.5);
    QCOMPARE(trace->value(TraceKey::Cmp), 7.5);
    QCOMPARE(trace->value(TraceKey::Crossline), 7.5);
    SeismicData::setValue(*trace, TraceKey::Crossline, qint32(1201));
    QCOMPARE(trace->value(TraceKey::Cmp), 1201.0);
    QCOMPARE(trace->value(TraceKey::Crossline), 1201.0);
    QCOMPARE(trace->value(TraceKey::Inline), 0.0);
}

void TestTraceKey::keysOutsideTheTable_data()
{
    QTest::addColumn<int>("key");
    QTest::newRow("0, the file position") << 0;
    QTest::newRow("76") << 76;
    QTest::newRow("-1") << -1;
    QTest::newRow("37, no storage") << 37;
    QTest::newRow("55, no storage") << 55;
    QTest::newRow("72, no storage") << 72;
    QTest::newRow("very large") << (1 << 30);
}

void TestTraceKey::keysOutsideTheTable()
{
    QFETCH(int, key);
    const auto trace = SeismicTrace::create(0, 1.0f);
    trace->filePosition = 3600;
    for (int k = 1; k < TraceKey::count; ++k)
        trace->setValue(k, k);
    SeismicData::setValue(*trace, key, 99.0);
    SeismicData::setValue(*trace, key, qint32(99));
    QCOMPARE(SeismicData::value(*trace, key), 0.0);
    QCOMPARE(trace->filePosition, qint64(3600));
    for (int k = 1; k < TraceKey::count; ++k) {
        const double expected = !TraceKey::isStored(k) ? 0.0 : k == TraceKey::Cmp ? 5.0 : k;
        QCOMPARE(trace->value(k), expected);
    }
}

void TestTraceKey::scalars_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<int>("scalar");
    QTest::addColumn<double>("applied");
    QTest::addColumn<double>("removed");
    QTest::newRow("divide by 100") << 1234.0 << -100 << 12.34 << 123400.0;
    QTest::newRow("multiply by 10") << 12.0 << 10 << 120.0 << 1.2;
    QTest::newRow("zero leaves the value") << 12.5 << 0 << 12.5 << 12.5;
    QTest::newRow("one leaves the value") << 12.5 << 1 << 12.5 << 12.5;
    QTest::newRow("minus one leaves the value") << 12.5 << -1 << 12.5 << 12.5;
    QTest::newRow("negative values") << -500.0 << -1000 << -0.5 << -500000.0;
    QTest::newRow("division, not a reciprocal") << 1000005.0 << -100 << 10000.05 << 100000500.0;
    QTest::newRow("largest 16-bit scalar") << 3.0 << 32767 << 98301.0 << 3.0 / 32767;
    QTest::newRow("smallest 16-bit scalar") << 32768.0 << -32768 << 1.0 << 32768.0 * 32768;
}

void TestTraceKey::scalars()
{
    QFETCH(double, value);
    QFETCH(int, scalar);
    QFETCH(double, applied);
    QFETCH(double, removed);
    OBR_COMPARE_EXACT(applyScalar(value, scalar), applied);
    OBR_COMPARE_EXACT(removeScalar(value, scalar), removed);
    OBR_COMPARE_EXACT(removeScalar(12.34, -100), 1234.0);
}

void TestTraceKey::scaledValuesThroughIntegerWords_data()
{
    QTest::addColumn<int>("key");
    QTest::addColumn<int>("scalar");
    QTest::addColumn<double>("value");
    QTest::addColumn<qint32>("word");
    QTest::addColumn<double>("readBack");
    const int sourceX = TraceKey::SourceX;
    const int offset = TraceKey::Offset;
    const int elevation = TraceKey::ReceiverElevation;
    QTest::newRow("12.349 truncates to 1234") << sourceX << -100 << 12.349 << qint32(1234) << 12.34;
    QTest::newRow("coordinate of 123456.78") << sourceX << -100 << 123456.78 << qint32(12345678) << 123456.78;
    QTest::newRow("coordinate of 1000005 survives a round trip")
        << sourceX << -100 << 1000005 / 100.0 << qint32(1000005) << 10000.05;
    QTest::newRow("negative coordinate") << sourceX << -100 << -98765.43 << qint32(-9876543) << -98765.43;
    QTest::newRow("positive scalar divides on writing")
        << sourceX << 10 << 12345.0 << qint32(1234) << 12340.0;
    QTest::newRow("float offset") << offset << -10 << 2500.25 << qint32(25002) << 2500.2;
    QTest::newRow("elevation") << elevation << -100 << 312.5 << qint32(31250) << 312.5;
}

void TestTraceKey::scaledValuesThroughIntegerWords()
{
    QFETCH(int, key);
    QFETCH(int, scalar);
    QFETCH(double, value);
    QFETCH(qint32, word);
    QFETCH(double, readBack);
    const bool swap = QSysInfo::ByteOrder == QSysInfo::LittleEndian;
    const auto trace = SeismicTrace::create(0, 1.0f);
    trace->setValue(key, value);
    char header[240] = {};
    HeaderDataType::writeValue(header, 240, 73, HeaderDataType::Int32,
                               removeScalar(trace->value(key), scalar), swap);
    QCOMPARE(qint32(HeaderDataType::readValue(header, 240, 73, HeaderDataType::Int32, swap)), word);
    const auto back = SeismicTrace::create(0, 1.0f);
    back->setValue(
        key, applyScalar(HeaderDataType::readValue(header, 240, 73, HeaderDataType::Int32, swap), scalar));
    const bool singlePrecision = TraceKey::info(key).storage == Storage::Float;
    OBR_COMPARE_EXACT(back->value(key), singlePrecision ? double(float(readBack)) : readBack);
}

OBR_TEST_MAIN(TestTraceKey)
#include "tst_trace_key.moc"
