#include "seismic/SampleConversion.h"
#include "seismic/SegyLayout.h"
#include "seismic/SegySampleCodec.h"
#include "tests/support/DataTable.h"
#include "tests/support/TestMain.h"

#include <cmath>
#include <random>
#include <vector>

using namespace SampleConversion;

namespace {

quint32 floatBits(float value)
{
    quint32 bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

float bitsFloat(quint32 bits)
{
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// What an IBM word means: (-1)^s * 16^(e-64) * f / 2^24, exact in a double.
double ibmValue(quint32 word)
{
    const double magnitude = std::ldexp(double(word & 0xFFFFFFu), 4 * (int((word >> 24) & 0x7F) - 64) - 24);
    return (word & 0x80000000u) ? -magnitude : magnitude;
}

// The float a truncating conversion gives: the largest magnitude not above the value's.
// Beyond the IEEE range the conversion gives a zero of the value's sign.
float truncatedFloat(double value)
{
    if (std::fabs(value) >= std::ldexp(1.0, 128))
        return std::copysign(0.0f, float(value));
    float nearest = float(value);
    if (std::fabs(double(nearest)) > std::fabs(value))
        nearest = std::copysign(std::nextafter(nearest, 0.0f), nearest);
    return nearest;
}

// The IBM value a truncating conversion of a nonzero finite magnitude gives, and its
// normalised word: 16^q * f / 2^24 with the leading hexadecimal digit of f nonzero.
double truncatedIbm(double magnitude, quint32* normalisedWord)
{
    int binaryExponent = 0;
    std::frexp(magnitude, &binaryExponent); // magnitude = m * 2^binaryExponent, m in [0.5, 1)
    const int q = binaryExponent > 0 ? (binaryExponent + 3) / 4 : -((-binaryExponent) / 4);
    const double fraction = std::floor(std::ldexp(magnitude, 24 - 4 * q));
    *normalisedWord = (quint32(q + 64) << 24) | quint32(fraction);
    return std::ldexp(fraction, 4 * q - 24);
}

QString hex(quint32 word)
{
    return QStringLiteral("%1").arg(word, 8, 16, QLatin1Char('0'));
}

} // namespace

class TestIbmIeee : public QObject {
    Q_OBJECT
private slots:
    // ways: 1 IBM to IEEE, 2 IEEE to IBM, 3 both
    void edges_data()
    {
        obrtest::columns<quint32, quint32, int>({"ibm", "ieee", "ways"});
        QTest::newRow("zero") << 0x00000000u << 0x00000000u << 3;
        QTest::newRow("negative zero") << 0x80000000u << 0x80000000u << 3;
        QTest::newRow("zero fraction, any exponent") << 0x7F000000u << 0x00000000u << 1;
        QTest::newRow("1.0") << 0x41100000u << 0x3F800000u << 3;
        QTest::newRow("unnormalised 0.0625") << 0x43000100u << 0x3D800000u << 1;
        QTest::newRow("1 + 2^-23 truncates to 1") << 0x41100000u << 0x3F800001u << 2;
        QTest::newRow("largest float") << 0x60FFFFFFu << 0x7F7FFFFFu << 3;
        QTest::newRow("2^128, above the range") << 0x61100000u << 0x00000000u << 1;
        QTest::newRow("infinity") << 0x7FFFFFFFu << 0x7F800000u << 2;
        QTest::newRow("quiet NaN") << 0x7FFFFFFFu << 0x7FC00000u << 2;
        QTest::newRow("denormal 2^-129") << 0x20800000u << 0x00100000u << 2;
        QTest::newRow("smallest denormal from IBM") << 0x1B800000u << 0x00000001u << 1;
        QTest::newRow("smallest denormal to IBM") << 0x20000008u << 0x00000001u << 2;
        QTest::newRow("2^-150 truncates to zero") << 0x1B400000u << 0x00000000u << 1;
        QTest::newRow("-2^-150 truncates to negative zero") << 0x9B400000u << 0x80000000u << 1;
    }
    void edges()
    {
        const auto [ibm, ieee, ways] = obrtest::fetch<quint32, quint32, int>("ibm", "ieee", "ways");
        if (ways & 1)
            QCOMPARE(hex(floatBits(ibmToIeee(ibm))), hex(ieee));
        if (!(ways & 2))
            return;
        const float single = bitsFloat(ieee);
        QCOMPARE(hex(ieeeToIbm(single)), hex(ibm));
        // The double form rounds to a float first: 1 - 2^-40 meets the IBM format as 1.0, 1e300 as infinity.
        const double wide[2] = {double(single) * (1 - std::ldexp(1.0, -40)), std::copysign(1e300, single)};
        quint32 words[2];
        ieeeToIbm(wide, words, 2);
        QCOMPARE(hex(words[0]),
                 hex(std::isnan(single) || std::isinf(single) ? ibm : ieeeToIbm(float(wide[0]))));
        QCOMPARE(hex(words[1]), hex(ieee >> 31 ? 0xFFFFFFFFu : 0x7FFFFFFFu));
    }

    // Several million random words, each taken as an IBM word and as a float, against what it means,
    // computed in doubles. The array forms work in place and, as file buffers need, at odd addresses.
    void randomWordsAgainstReference()
    {
        constexpr int total = 4 << 20;
        constexpr int chunk = 1 << 16;
        std::mt19937 generator(20240611u);
        std::vector<float> floats(chunk), singles(chunk);
        std::vector<double> doubles(chunk);
        std::vector<quint32> ibmWords(chunk);
        std::vector<unsigned char> file(4 * chunk + 1);
        int normal = 0, denormal = 0, underflow = 0, special = 0;
        for (int done = 0; done < total; done += chunk) {
            for (float& value : floats)
                value = bitsFloat(quint32(generator()));
            std::memcpy(file.data() + 1, floats.data(), 4 * chunk);
            SegySampleCodec::decode(SegyLayout::IbmFloat, reinterpret_cast<const char*>(file.data() + 1),
                                    chunk, false, doubles.data());
            singles = floats;
            ibmToIeee(singles.data(), singles.data(), chunk);
            std::memcpy(ibmWords.data(), floats.data(), 4 * chunk);
            ieeeToIbm(reinterpret_cast<const float*>(ibmWords.data()), ibmWords.data(), chunk);
            for (size_t i = 0; i < size_t(chunk); ++i) {
                const quint32 word = floatBits(floats[i]);
                const double exact = ibmValue(word);
                const quint32 got = floatBits(singles[i]);
                if (got != floatBits(truncatedFloat(exact)) || floatBits(float(doubles[i])) != got)
                    QFAIL(qPrintable("IBM " + hex(word) + " gave " + hex(got)));
                const quint32 exponent = (got >> 23) & 0xFF;
                normal += exponent != 0;
                denormal += exponent == 0 && (got & 0x7FFFFFu);
                underflow +=
                    exact != 0.0 && std::fabs(exact) < std::ldexp(1.0, 128) && (got & 0x7FFFFFFFu) == 0;

                // Infinities and NaN give the largest IBM magnitude of their sign; normal floats a normalised
                // word.
                const float single = floats[i];
                const quint32 sign = word & 0x80000000u;
                quint32 normalised = 0;
                const bool finite = std::isfinite(single);
                const double expected =
                    finite ? std::copysign(truncatedIbm(std::fabs(double(single)), &normalised), single) : 0;
                if ((!finite && ibmWords[i] != (sign | 0x7FFFFFFFu)) ||
                    (finite && ibmValue(ibmWords[i]) != expected) ||
                    (finite && (ibmWords[i] & 0x80000000u) != sign) ||
                    (std::fpclassify(single) == FP_NORMAL && ibmWords[i] != (sign | normalised)))
                    QFAIL(qPrintable("float " + hex(word) + " gave IBM " + hex(ibmWords[i])));
                special += !finite;
            }
        }
        // Every region of both conversions was met.
        QVERIFY(normal > total / 4);
        QVERIFY(underflow > total / 10);
        QVERIFY(denormal > 1000);
        QVERIFY(special > 1000);
    }
};

OBR_TEST_MAIN(TestIbmIeee)
#include "tst_ibm_ieee.moc"
