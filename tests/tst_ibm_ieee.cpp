#include "seismic/SampleConversion.h"
#include "tests/support/DataTable.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestFiles.h"
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
    void ibmToIeeeEdges_data()
    {
        obrtest::columns<quint32, quint32>({"ibm", "ieee"});
        QTest::newRow("all zero bits") << 0x00000000u << 0x00000000u;
        QTest::newRow("negative zero") << 0x80000000u << 0x80000000u;
        QTest::newRow("zero fraction, any exponent") << 0x7F000000u << 0x00000000u;
        QTest::newRow("1.0") << 0x41100000u << 0x3F800000u;
        QTest::newRow("-100.0") << 0xC2640000u << 0xC2C80000u;
        QTest::newRow("unnormalised 0.0625") << 0x43000100u << 0x3D800000u;
        QTest::newRow("largest float") << 0x60FFFFFFu << 0x7F7FFFFFu;
        QTest::newRow("2^128, above the range") << 0x61100000u << 0x00000000u;
        QTest::newRow("largest IBM") << 0x7FFFFFFFu << 0x00000000u;
        QTest::newRow("largest negative IBM") << 0xFFFFFFFFu << 0x80000000u;
        QTest::newRow("smallest normal float") << 0x21400000u << 0x00800000u;
        QTest::newRow("2^-127, denormal") << 0x21200000u << 0x00400000u;
        QTest::newRow("-2^-127, denormal") << 0xA1200000u << 0x80400000u;
        QTest::newRow("smallest denormal") << 0x1B800000u << 0x00000001u;
        QTest::newRow("1.5 smallest denormals truncates to 1") << 0x1BC00000u << 0x00000001u;
        QTest::newRow("2^-150 truncates to zero") << 0x1B400000u << 0x00000000u;
        QTest::newRow("-2^-150 truncates to negative zero") << 0x9B400000u << 0x80000000u;
        QTest::newRow("smallest IBM magnitude") << 0x00000001u << 0x00000000u;
        QTest::newRow("fraction bits truncate in a denormal") << 0x20FFFFFFu << 0x001FFFFFu;
    }
    void ibmToIeeeEdges()
    {
        const auto [ibm, ieee] = obrtest::fetch<quint32, quint32>("ibm", "ieee");
        QCOMPARE(hex(ibmToIeeeBits(ibm)), hex(ieee));
        QCOMPARE(floatBits(ibmToIeee(ibm)), ieee);
        double wide = 1.0;
        ibmToIeee(&ibm, &wide, 1);
        QCOMPARE(wide, double(bitsFloat(ieee)));
        QCOMPARE(std::signbit(wide), bool(ieee >> 31));
    }

    void ieeeToIbmEdges_data()
    {
        obrtest::columns<quint32, quint32>({"ieee", "ibm"});
        QTest::newRow("zero") << 0x00000000u << 0x00000000u;
        QTest::newRow("negative zero") << 0x80000000u << 0x80000000u;
        QTest::newRow("1.0") << 0x3F800000u << 0x41100000u;
        QTest::newRow("-100.0") << 0xC2C80000u << 0xC2640000u;
        QTest::newRow("1 + 2^-23 truncates to 1") << 0x3F800001u << 0x41100000u;
        QTest::newRow("largest float") << 0x7F7FFFFFu << 0x60FFFFFFu;
        QTest::newRow("infinity") << 0x7F800000u << 0x7FFFFFFFu;
        QTest::newRow("negative infinity") << 0xFF800000u << 0xFFFFFFFFu;
        QTest::newRow("quiet NaN") << 0x7FC00000u << 0x7FFFFFFFu;
        QTest::newRow("negative NaN") << 0xFFC00001u << 0xFFFFFFFFu;
        QTest::newRow("signalling NaN") << 0x7F800001u << 0x7FFFFFFFu;
        QTest::newRow("denormal 2^-127") << 0x00400000u << 0x21200000u;
        QTest::newRow("denormal 2^-128") << 0x00200000u << 0x21100000u;
        QTest::newRow("denormal 2^-129") << 0x00100000u << 0x20800000u;
        QTest::newRow("smallest denormal") << 0x00000001u << 0x20000008u;
        QTest::newRow("negative smallest denormal") << 0x80000001u << 0xA0000008u;
        QTest::newRow("smallest normal") << 0x00800000u << 0x21400000u;
    }
    void ieeeToIbmEdges()
    {
        const auto [ieee, ibm] = obrtest::fetch<quint32, quint32>("ieee", "ibm");
        QCOMPARE(hex(ieeeToIbmBits(ieee)), hex(ibm));
        QCOMPARE(ieeeToIbm(bitsFloat(ieee)), ibm);
        const float single = bitsFloat(ieee);
        quint32 word = 0;
        ieeeToIbm(&single, &word, 1);
        QCOMPARE(word, ibm);
        // The double form rounds to a float first: 1 - 2^-40 meets the IBM format as 1.0, 1e300 as infinity.
        const double wide[2] = {double(single) * (1 - std::ldexp(1.0, -40)), std::copysign(1e300, single)};
        quint32 words[2];
        ieeeToIbm(wide, words, 2);
        QCOMPARE(hex(words[0]),
                 hex(std::isnan(single) || std::isinf(single) ? ibm : ieeeToIbm(float(wide[0]))));
        QCOMPARE(hex(words[1]), hex(ieee >> 31 ? 0xFFFFFFFFu : 0x7FFFFFFFu));
    }

    // Several million random words against the meaning of an IBM word, computed in doubles.
    void randomIbmWordsAgainstReference()
    {
        constexpr int total = 4 << 20;
        constexpr int chunk = 1 << 16;
        std::mt19937 generator(20240611u);
        std::vector<quint32> words(chunk);
        std::vector<float> singles(chunk);
        std::vector<double> doubles(chunk);
        int normal = 0, denormal = 0, underflow = 0, roundedDiffers = 0;
        for (int done = 0; done < total; done += chunk) {
            for (quint32& word : words)
                word = quint32(generator());
            ibmToIeee(words.data(), singles.data(), chunk);
            ibmToIeee(words.data(), doubles.data(), chunk);
            for (size_t i = 0; i < size_t(chunk); ++i) {
                const quint32 word = words[i];
                const double exact = ibmValue(word);
                const quint32 got = floatBits(singles[i]);
                if (got != floatBits(truncatedFloat(exact)) || floatBits(float(doubles[i])) != got)
                    QFAIL(qPrintable("IBM " + hex(word) + " gave " + hex(got)));
                const quint32 exponent = (got >> 23) & 0xFF;
                normal += exponent != 0;
                denormal += exponent == 0 && (got & 0x7FFFFFu);
                underflow +=
                    exact != 0.0 && std::fabs(exact) < std::ldexp(1.0, 128) && (got & 0x7FFFFFFFu) == 0;
                roundedDiffers += std::fabs(exact) < std::ldexp(1.0, 128) && float(exact) != singles[i];
                // Normal IEEE values hold every IBM fraction bit, so a normalised word comes back whole.
                if (exponent != 0 && (word & 0x00F00000u) && ieeeToIbmBits(got) != word)
                    QFAIL(qPrintable("IBM " + hex(word) + " did not round-trip"));
            }
        }
        // Every region of the conversion was met, and truncation did differ from rounding.
        QVERIFY(normal > total / 4);
        QVERIFY(underflow > total / 10);
        QVERIFY(denormal > 1000);
        QVERIFY(roundedDiffers > 100);
    }

    void randomFloatsAgainstReference()
    {
        constexpr int total = 4 << 20;
        constexpr int chunk = 1 << 16;
        std::mt19937 generator(19670217u);
        std::vector<float> singles(chunk);
        std::vector<quint32> words(chunk);
        int normal = 0, denormal = 0, special = 0;
        for (int done = 0; done < total; done += chunk) {
            for (float& single : singles)
                single = bitsFloat(quint32(generator()));
            ieeeToIbm(singles.data(), words.data(), chunk);
            for (size_t i = 0; i < size_t(chunk); ++i) {
                const float single = singles[i];
                const quint32 sign = floatBits(single) & 0x80000000u;
                quint32 normalised = 0;
                const bool finite = std::isfinite(single);
                const double expected =
                    finite ? std::copysign(truncatedIbm(std::fabs(double(single)), &normalised), single) : 0;
                const bool isNormal = std::fpclassify(single) == FP_NORMAL;
                // Infinities and NaN give the largest IBM magnitude of their sign; normal floats a normalised
                // word.
                if ((!finite && words[i] != (sign | 0x7FFFFFFFu)) ||
                    (finite && ibmValue(words[i]) != expected) ||
                    (finite && (words[i] & 0x80000000u) != sign) ||
                    (isNormal && words[i] != (sign | normalised)))
                    QFAIL(qPrintable("float " + hex(floatBits(single)) + " gave IBM " + hex(words[i])));
                special += !finite;
                normal += isNormal;
                denormal += std::fpclassify(single) == FP_SUBNORMAL;
            }
        }
        QVERIFY(normal > total / 2);
        QVERIFY(special > 1000);
        QVERIFY(denormal > 1000);
    }

    void arrayFormsWorkInPlaceAndUnaligned()
    {
        const quint32 ibm[4] = {0x42640000u, 0xC1100000u, 0x00000000u, 0x7FFFFFFFu};
        const float expected[4] = {100.0f, -1.0f, 0.0f, 0.0f};
        // In place: the words turn into floats in the same memory.
        quint32 inPlace[4];
        std::memcpy(inPlace, ibm, sizeof ibm);
        ibmToIeee(inPlace, reinterpret_cast<float*>(inPlace), 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(bitsFloat(inPlace[i]), expected[i]);
        ieeeToIbm(reinterpret_cast<const float*>(inPlace), inPlace, 3);
        QCOMPARE(std::memcmp(inPlace, ibm, 8), 0);

        // File buffers give no alignment: a trace header of 241 bytes puts the samples at an odd address.
        alignas(8) unsigned char file[1 + sizeof ibm];
        std::memcpy(file + 1, ibm, sizeof ibm);
        double wide[4];
        ibmToIeee(file + 1, wide, 4);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(wide[i], double(expected[i]));
        const double back[2] = {100.0, -1.0};
        ieeeToIbm(back, file + 1, 2);
        QCOMPARE(std::memcmp(file + 1, ibm, 8), 0);

        // Counts of zero or below touch nothing.
        double untouched = 7.0;
        ibmToIeee(ibm, &untouched, 0);
        ibmToIeee(ibm, &untouched, -3);
        QCOMPARE(untouched, 7.0);
    }

    void realFileAgreesWithSegyio()
    {
        OBR_REQUIRE_REALDATA();
        QString reason;
        if (!segytest::peerAvailable(&reason))
            QSKIP(qPrintable(reason));
        const QString path = obrtest::realDataDir() + QStringLiteral("/segy/format1-msb.sgy");
        const QStringList lines =
            QString::fromLatin1(
                segytest::runPeer("import sys, segyio\n"
                                  "with segyio.open(sys.argv[1], ignore_geometry=True) as f:\n"
                                  "    print(len(f.samples))\n"
                                  "    for t in f.trace[:40]:\n"
                                  "        print(' '.join(str(x) for x in "
                                  "t.astype('float32').view('uint32')))\n",
                                  {path}))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 1);
        const int samples = lines.first().toInt();
        const QByteArray bytes = obrtest::readFile(path);
        std::vector<double> decoded(static_cast<size_t>(samples));
        for (int trace = 1; trace < lines.size(); ++trace) {
            QByteArray raw = bytes.mid(3600 + (trace - 1) * (240 + 4 * samples) + 240, 4 * samples);
            QCOMPARE(raw.size(), 4 * samples);
            if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
                swapBytes32(raw.data(), samples);
            ibmToIeee(raw.constData(), decoded.data(), samples);
            QStringList ours;
            for (const double value : decoded)
                ours << QString::number(floatBits(float(value)));
            QCOMPARE(ours, lines[trace].split(QLatin1Char(' ')));
        }
    }
};

OBR_TEST_MAIN(TestIbmIeee)
#include "tst_ibm_ieee.moc"
