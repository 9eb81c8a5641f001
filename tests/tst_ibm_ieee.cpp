#include "seismic/SampleConversion.h"
#include "tests/support/TestMain.h"

#include <QProcess>
#include <QtEndian>
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

bool ibmNormalised(quint32 word)
{
    return (word & 0x00F00000u) != 0;
}

} // namespace

class TestIbmIeee : public QObject {
    Q_OBJECT
private slots:
    void ibmToIeeeEdges_data();
    void ibmToIeeeEdges();
    void ieeeToIbmEdges_data();
    void ieeeToIbmEdges();
    void randomIbmWordsAgainstReference();
    void randomFloatsAgainstReference();
    void doubleFormsRoundToSingleFirst();
    void arrayFormsWorkInPlaceAndUnaligned();
    void realFileAgreesWithSegyio();
};

void TestIbmIeee::ibmToIeeeEdges_data()
{
    QTest::addColumn<quint32>("ibm");
    QTest::addColumn<quint32>("ieee");
    QTest::newRow("all zero bits") << 0x00000000u << 0x00000000u;
    QTest::newRow("negative zero") << 0x80000000u << 0x80000000u;
    QTest::newRow("zero fraction, any exponent") << 0x7F000000u << 0x00000000u;
    QTest::newRow("1.0") << 0x41100000u << 0x3F800000u;
    QTest::newRow("100.0") << 0x42640000u << 0x42C80000u;
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

void TestIbmIeee::ibmToIeeeEdges()
{
    QFETCH(quint32, ibm);
    QFETCH(quint32, ieee);
    QCOMPARE(QString::number(ibmToIeeeBits(ibm), 16), QString::number(ieee, 16));
    QCOMPARE(floatBits(ibmToIeee(ibm)), ieee);
    double wide = 1.0;
    ibmToIeee(&ibm, &wide, 1);
    QCOMPARE(floatBits(float(wide)), ieee);
    QCOMPARE(wide, double(bitsFloat(ieee)));
}

void TestIbmIeee::ieeeToIbmEdges_data()
{
    QTest::addColumn<quint32>("ieee");
    QTest::addColumn<quint32>("ibm");
    QTest::newRow("zero") << 0x00000000u << 0x00000000u;
    QTest::newRow("negative zero") << 0x80000000u << 0x80000000u;
    QTest::newRow("1.0") << 0x3F800000u << 0x41100000u;
    QTest::newRow("100.0") << 0x42C80000u << 0x42640000u;
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

void TestIbmIeee::ieeeToIbmEdges()
{
    QFETCH(quint32, ieee);
    QFETCH(quint32, ibm);
    QCOMPARE(QString::number(ieeeToIbmBits(ieee), 16), QString::number(ibm, 16));
    QCOMPARE(ieeeToIbm(bitsFloat(ieee)), ibm);
    const float single = bitsFloat(ieee);
    quint32 word = 0;
    ieeeToIbm(&single, &word, 1);
    QCOMPARE(word, ibm);
    // The IBM word means the float's value, cut to what six hexadecimal digits hold.
    if (std::isfinite(single) && single != 0.0f) {
        quint32 normalised = 0;
        QCOMPARE(ibmValue(word), std::copysign(truncatedIbm(std::fabs(double(single)), &normalised), single));
    }
}

void TestIbmIeee::doubleFormsRoundToSingleFirst()
{
    // 1 + 2^-40 rounds to the float 1.0 before it meets the IBM format; 1e300 becomes infinity.
    const double values[4] = {100.0, -100.0, 1.0 + std::ldexp(1.0, -40), -1e300};
    quint32 words[4];
    ieeeToIbm(values, words, 4);
    QCOMPARE(words[2], 0x41100000u);
    QCOMPARE(words[3], 0xFFFFFFFFu);
    double back[2];
    ibmToIeee(words, back, 2);
    QCOMPARE(back[0], 100.0);
    QCOMPARE(back[1], -100.0);
}

void TestIbmIeee::randomIbmWordsAgainstReference()
{
    constexpr int total = 4 << 20;
    constexpr int chunk = 1 << 16;
    std::mt19937 generator(20240611u);
    std::vector<quint32> words(chunk);
    std::vector<float> singles(chunk);
    std::vector<double> doubles(chunk);
    int normal = 0, denormal = 0, underflow = 0, overflow = 0, roundedDiffers = 0;
    for (int done = 0; done < total; done += chunk) {
        for (quint32& word : words)
            word = quint32(generator());
        ibmToIeee(words.data(), singles.data(), chunk);
        ibmToIeee(words.data(), doubles.data(), chunk);
        for (int i = 0; i < chunk; ++i) {
            const quint32 word = words[size_t(i)];
            const double exact = ibmValue(word);
            const float expected = truncatedFloat(exact);
            const quint32 got = floatBits(singles[size_t(i)]);
            if (got != floatBits(expected))
                QFAIL(qPrintable(QStringLiteral("IBM %1 gave %2, expected %3")
                                     .arg(word, 8, 16, QLatin1Char('0'))
                                     .arg(got, 8, 16, QLatin1Char('0'))
                                     .arg(floatBits(expected), 8, 16, QLatin1Char('0'))));
            if (floatBits(float(doubles[size_t(i)])) != got)
                QFAIL(qPrintable(QStringLiteral("double form differs at IBM %1").arg(word, 8, 16)));
            if (std::fabs(exact) >= std::ldexp(1.0, 128)) {
                ++overflow;
                continue;
            }
            // Truncation stays within one unit in the last place of the correctly rounded float,
            // never above the value, and is that float or its neighbour toward zero.
            const float rounded = float(exact);
            const float roundedMagnitude = std::fabs(rounded);
            const double ulp = double(std::nextafter(roundedMagnitude, HUGE_VALF)) - double(roundedMagnitude);
            const double error = std::fabs(double(singles[size_t(i)]) - exact);
            const quint32 magnitudeGot = got & 0x7FFFFFFFu;
            const quint32 magnitudeRounded = floatBits(rounded) & 0x7FFFFFFFu;
            if (!(error < ulp) || std::fabs(double(singles[size_t(i)])) > std::fabs(exact) ||
                (magnitudeGot != magnitudeRounded && magnitudeGot + 1 != magnitudeRounded))
                QFAIL(qPrintable(QStringLiteral("IBM %1 is off by more than truncation").arg(word, 8, 16)));
            roundedDiffers += magnitudeGot != magnitudeRounded ? 1 : 0;
            const quint32 exponent = (got >> 23) & 0xFF;
            if (exponent != 0) {
                ++normal;
                // Normal IEEE values hold every IBM fraction bit, so a normalised word comes back whole.
                if (ibmNormalised(word) && ieeeToIbmBits(got) != word)
                    QFAIL(qPrintable(QStringLiteral("IBM %1 did not round-trip").arg(word, 8, 16)));
            } else if (magnitudeGot != 0) {
                ++denormal;
            } else {
                ++underflow;
            }
        }
    }
    // Every region of the conversion was met, and truncation did differ from rounding.
    QVERIFY(normal > total / 4);
    QVERIFY(overflow > total / 10);
    QVERIFY(underflow > total / 10);
    QVERIFY(denormal > 1000);
    QVERIFY(roundedDiffers > 100);
}

void TestIbmIeee::randomFloatsAgainstReference()
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
        for (int i = 0; i < chunk; ++i) {
            const float single = singles[size_t(i)];
            const quint32 word = words[size_t(i)];
            const quint32 sign = floatBits(single) & 0x80000000u;
            if (!std::isfinite(single)) {
                ++special;
                if (word != (sign | 0x7FFFFFFFu))
                    QFAIL(qPrintable(QStringLiteral("infinity or NaN gave %1").arg(word, 8, 16)));
                continue;
            }
            if ((word & 0x80000000u) != sign)
                QFAIL("sign lost");
            quint32 normalised = 0;
            const double expected = truncatedIbm(std::fabs(double(single)), &normalised);
            if (std::fabs(ibmValue(word)) != expected)
                QFAIL(qPrintable(QStringLiteral("float %1 gave IBM %2 worth %3, expected %4")
                                     .arg(floatBits(single), 8, 16)
                                     .arg(word, 8, 16)
                                     .arg(ibmValue(word))
                                     .arg(expected)));
            if (std::fpclassify(single) == FP_NORMAL) {
                ++normal;
                if (word != (sign | normalised))
                    QFAIL(
                        qPrintable(QStringLiteral("float %1 not normalised").arg(floatBits(single), 8, 16)));
            } else {
                denormal += single != 0.0f ? 1 : 0;
            }
        }
    }
    QVERIFY(normal > total / 2);
    QVERIFY(special > 1000);
    QVERIFY(denormal > 1000);
}

void TestIbmIeee::arrayFormsWorkInPlaceAndUnaligned()
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
    QCOMPARE(inPlace[0], ibm[0]);
    QCOMPARE(inPlace[1], ibm[1]);

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

void TestIbmIeee::realFileAgreesWithSegyio()
{
    OBR_REQUIRE_REALDATA();
    const QString python = QStringLiteral("/usr/bin/python3");
    const QString path = obrtest::realDataDir() + QStringLiteral("/segy/format1-msb.sgy");
    QProcess process;
    process.start(
        python,
        {QStringLiteral("-c"),
         QStringLiteral("import sys, segyio\n"
                        "with segyio.open(sys.argv[1], ignore_geometry=True) as f:\n"
                        "    print(len(f.samples))\n"
                        "    for t in f.trace[:40]:\n"
                        "        print(' '.join(str(x) for x in t.astype('float32').view('uint32')))\n"),
         path});
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        QSKIP("python3-segyio is not available through /usr/bin/python3");
    const QStringList lines =
        QString::fromLatin1(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    QVERIFY(lines.size() > 1);
    const int samples = lines.first().toInt();
    QVERIFY(samples > 0);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    const int traceLength = 240 + 4 * samples;
    int compared = 0;
    std::vector<double> decoded(static_cast<size_t>(samples));
    for (int trace = 0; trace + 1 < lines.size(); ++trace) {
        QByteArray raw = bytes.mid(3600 + trace * traceLength + 240, 4 * samples);
        QCOMPARE(raw.size(), 4 * samples);
        if (QSysInfo::ByteOrder == QSysInfo::LittleEndian)
            swapBytes32(raw.data(), samples);
        ibmToIeee(raw.constData(), decoded.data(), samples);
        const QStringList peer = lines[trace + 1].split(QLatin1Char(' '));
        QCOMPARE(peer.size(), samples);
        for (int i = 0; i < samples; ++i) {
            QCOMPARE(floatBits(float(decoded[size_t(i)])), peer[i].toUInt());
            ++compared;
        }
    }
    QVERIFY(compared > 100);
}

OBR_TEST_MAIN(TestIbmIeee)
#include "tst_ibm_ieee.moc"
