#include "tests/support/SegdStandardFixture.h"
#include "tests/support/TestMain.h"

using namespace segdstd;

namespace {

// The big-endian number in count bytes from the 1-based position byte; from the end when negative.
quint64 at(const QByteArray& data, int byte, int count)
{
    const int first = byte > 0 ? byte - 1 : data.size() + byte;
    quint64 value = 0;
    for (int i = 0; i < count; ++i)
        value = value << 8 | uchar(data.at(first + i));
    return value;
}

// 2024-03-14 09:26:53.589 UTC: 1,394,443,613.589 s after the GPS epoch, plus 18 leap seconds.
const quint64 presetGpsMicroseconds = 1394443631589000;

} // namespace

// Sizes and bytes worked out by hand from the standard's layout.
class TestSegdStandardFixture : public QObject {
    Q_OBJECT
private slots:
    void bytes()
    {
        const QByteArray r16 = build(nodalRevision16());
        const QByteArray unstated = build(revision1WithoutStatedSamples());
        const QByteArray r21 = build(standardRevision21());
        const QByteArray longer = build(countsMatchNeitherRule());
        const QByteArray r31 = build(standardRevision31());
        const struct {
            const QByteArray& file;
            int byte, count;
            quint64 expected;
        } rows[] = {{r16, 3, 2, 0x8058},
                    {r16, 12, 2, 0x1074}, // one more general block; day 074
                    {r16, 43, 2, 0x0106},
                    {r16, 65 + 4, 2, 15000}, // 30,000 ms in 2 ms units
                    {r16, 289 + 20 + 7, 3, 30000},
                    {r16, -4, 4, 0x47146F00}, // 37,999.0f: trace 8, sample 29,999
                    {unstated, 289 + 20 + 7, 3, 0},
                    {r21, 97 + 10, 1, 0x20},         // time break
                    {r21, 161 + 2, 4, 0x00320320},   // third set: 100 ms to 1,600 ms
                    {r21, 193 + 1587 + 84, 3, 1000}, // trace 1, sample 0, 24-bit
                    {longer, 193 + 1617 + 4, 2, 2},  // 511 samples where the headers say 501
                    {r31, 43, 2, 0x0301},
                    {r31, 65, 8, presetGpsMicroseconds},
                    {r31, 73, 8, quint64(r31.size())},
                    {r31, 89, 4, 416},
                    {r31, 225 + 8, 8, 2000500ull << 32 | 4001}, // end after 4,001 x 500 us; samples
                    {r31, 417 + 20 + 24, 4, 2001},
                    {r31, 417 + 52, 8, presetGpsMicroseconds},
                    {r31, -8, 8, 0x40BF400000000000}}; // 8,000.0: trace 7, sample 1,000
        for (const auto& row : rows)
            QCOMPARE(at(row.file, row.byte, row.count), row.expected);
        QCOMPARE(r16.size(), 288 + 9 * (20 + 320 + 4 * 30000));
        QCOMPARE(headerLength(sercelRevision1()), 3 * 32 + 2 * 32 + 32 * 32);
        QCOMPARE(r21.size(), 192 + (84 + 501 * 3) + 4 * (84 + 1001 * 3) + 3 * (84 + 751 * 3));
        QCOMPARE(build(headerAndBareTraceHeader()).size(), 212);
    }
};

OBR_TEST_MAIN(TestSegdStandardFixture)
#include "tst_segd_standard_fixture.moc"
