#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestMain.h"

using namespace segdstd;

namespace {

// The big-endian number in count bytes from the 1-based position byte.
quint64 at(const QByteArray& data, int byte, int count)
{
    quint64 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | uchar(data.at(byte - 1 + i));
    return value;
}

// 2024-03-14 09:26:53.589 UTC: 1,394,443,613.589 s after the GPS epoch, plus 18 leap seconds.
const quint64 presetGpsMicroseconds = 1394443631589000;

} // namespace

// Sizes and bytes worked out by hand from the standard's layout.
class TestSegdStandardFixture : public QObject {
    Q_OBJECT
private slots:
    void sizes()
    {
        QCOMPARE(build(nodalRevision16()).size(), 288 + 9 * (20 + 320 + 4 * 30000));
        QCOMPARE(headerLength(nodalRevision16()), 288);
        QCOMPARE(headerLength(sercelRevision1()), 3 * 32 + 2 * 32 + 32 * 32);
        QCOMPARE(headerLength(standardRevision31()), 4 * 32 + 3 * 96);
        const int revision21 = 192 + (84 + 501 * 3) + 4 * (84 + 1001 * 3) + 3 * (84 + 751 * 3);
        QCOMPARE(build(standardRevision21()).size(), revision21);
        QCOMPARE(build(withTrailingBytes()).size(), revision21 + 512);
        QCOMPARE(build(headerOnly()).size(), 192);
        const QByteArray bare = build(headerAndBareTraceHeader());
        QCOMPARE(bare.size(), 212);
        QCOMPARE(at(bare, 193, 6), 0x000101010001ull); // file 1, scan type 1, set 1, trace 1
    }

    void revision16()
    {
        const QByteArray file = build(nodalRevision16());
        QCOMPARE(at(file, 3, 2), 0x8058ull);
        QCOMPARE(at(file, 12, 2), 0x1074ull); // one more general block; day 074
        QCOMPARE(at(file, 17, 1), 0x20ull);
        QCOMPARE(at(file, 43, 2), 0x0106ull);
        QCOMPARE(at(file, 65 + 4, 2), 15000ull); // 30,000 ms in 2 ms units
        QCOMPARE(at(file, 289 + 20 + 7, 3), 30000ull);
        QCOMPARE(at(file, file.size() - 3, 4), 0x47146F00ull); // 37,999.0f: trace 8, sample 29,999
        const QByteArray unstated = build(revision1WithoutStatedSamples());
        QCOMPARE(at(unstated, 65 + 4, 2), 15000ull);
        QCOMPARE(at(unstated, 289 + 20 + 7, 3), 0ull);
    }

    void revision21()
    {
        const QByteArray file = build(standardRevision21());
        QCOMPARE(at(file, 97 + 10, 1), 0x20ull);       // time break
        QCOMPARE(at(file, 161 + 2, 4), 0x00320320ull); // third set: 100 ms to 1,600 ms
        QCOMPARE(at(file, 193 + 20 + 7, 3), 501ull);
        QCOMPARE(at(file, 193 + 1587 + 84, 3), 1000ull); // trace 1, sample 0, 24-bit
        // The traces hold 511 samples where the headers say 501: trace 2 starts 30 bytes later.
        const QByteArray longer = build(countsMatchNeitherRule());
        QCOMPARE(at(longer, 97 + 4, 2), 500ull);
        QCOMPARE(at(longer, 193 + 20 + 7, 3), 501ull);
        QCOMPARE(at(longer, 193 + 1617 + 4, 2), 0x0002ull);
    }

    void revision31()
    {
        const QByteArray file = build(standardRevision31());
        QCOMPARE(at(file, 43, 2), 0x0301ull);
        QCOMPARE(at(file, 64, 1) << 16 | at(file, 96, 1) << 8 | at(file, 128, 1), 0x020316ull);
        QCOMPARE(at(file, 65, 8), presetGpsMicroseconds);
        QCOMPARE(at(file, 73, 8), quint64(file.size()));
        QCOMPARE(at(file, 81, 8), quint64(file.size() - 416));
        QCOMPARE(at(file, 89, 4), 416ull);
        QCOMPARE(at(file, 129 + 3, 1), 0x20ull);
        QCOMPARE(at(file, 225 + 8, 8), 2000500ull << 32 | 4001); // end after 4,001 x 500 us; samples
        QCOMPARE(at(file, 417 + 20 + 24, 4), 2001ull);
        QCOMPARE(at(file, 417 + 20 + 31, 1), 0x40ull);
        QCOMPARE(at(file, 417 + 52, 8), presetGpsMicroseconds);
        QCOMPARE(at(file, 417 + 52 + 31, 1), 0x42ull);
        QCOMPARE(at(file, file.size() - 7, 8), 0x40BF400000000000ull); // 8,000.0: trace 7, sample 1,000
    }

    void gpsTime()
    {
        QCOMPARE(gpsMicroseconds(QDateTime({1980, 1, 6}, {0, 0}, Qt::UTC)), qint64(0));
        const QDateTime beforeLeap({2016, 12, 31}, {23, 59, 59}, Qt::UTC);
        QCOMPARE(gpsMicroseconds(beforeLeap.addSecs(1)) - gpsMicroseconds(beforeLeap), qint64(2000000));
    }
};

OBR_TEST_MAIN(TestSegdStandardFixture)
#include "tst_segd_standard_fixture.moc"
