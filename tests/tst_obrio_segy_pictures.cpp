#include "seismic/SegyFormat.h"
#include "seismic/SeismicTrace.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/SegyFixture.h"
#include "tests/support/TestMain.h"

#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cmath>

namespace {

int obrio(const QString& home, const QStringList& arguments, QString* err = nullptr)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home);
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/.config"));
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(OBR_BIN_DIR "/obrio"), arguments);
    if (!process.waitForFinished(60000))
        return -1;
    if (err)
        *err = QString::fromLocal8Bit(process.readAllStandardError());
    return process.exitCode();
}

QStringList csvLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    return QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
}

} // namespace

class TestObrioSegyPictures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase();
    void plotPicture_data();
    void plotPicture();
    void spectrumNumbers();
    void histogramNumbers();
    void refusals_data();
    void refusals();

private:
    QTemporaryDir dir;
    QString file;
};

void TestObrioSegyPictures::initTestCase()
{
    // 30 traces of 500 samples at 2 ms, a 50 Hz sine.
    file = dir.filePath(QStringLiteral("line.sgy"));
    SegyFormat format;
    segytest::FileLayout layout;
    layout.traces = 30;
    layout.samples = 500;
    layout.intervalMs = 2.0f;
    RecordingConsole console;
    QVERIFY(segytest::writeFile(
        file, format, layout,
        [](SeismicTrace& trace, int i) {
            trace.setValue(TraceKey::FieldFile, 7);
            trace.setValue(TraceKey::Channel, i + 1);
            for (int j = 0; j < trace.sampleCount(); ++j)
                trace.data()[j] = std::sin(2 * M_PI * 50.0 * j * 0.002 + i);
        },
        &console));
}

void TestObrioSegyPictures::plotPicture_data()
{
    QTest::addColumn<QStringList>("options");
    QTest::addColumn<QSize>("size");
    // 24 traces at 8 pixels: (23 + 4) x 8 = 216, rounded to 224; 499 x 2 ms x 5 x 96 / 1000 = 479 rows.
    QTest::newRow("defaults") << QStringList() << QSize(224 + 96, 479 + 96);
    QTest::newRow("24 traces per inch, 10 traces")
        << QStringList{"--first", "21", "--last", "30", "--hscale", "24"} << QSize(64 + 96, 479 + 96);
    // 200 to 400 ms: rows 48 + trunc(100 x 479 / 500) to 48 + trunc(200 x 479 / 500), with the margins.
    QTest::newRow("time window") << QStringList{"--start", "200", "--end", "400"}
                                 << QSize(224 + 96, 191 - 95 + 96);
}

void TestObrioSegyPictures::plotPicture()
{
    QFETCH(QStringList, options);
    QFETCH(QSize, size);
    const QString picture = dir.filePath(QStringLiteral("plot.png"));
    QFile::remove(picture);
    QCOMPARE(obrio(dir.path(), QStringList{"segy", "plot", file, "--out", picture} + options), 0);
    const QImage image(picture);
    QCOMPARE(image.size(), size);
    QVERIFY(image.pixelColor(image.width() / 2, 48).value() == 0 || image.pixelColor(48, 60).value() == 0);
}

void TestObrioSegyPictures::spectrumNumbers()
{
    const QString picture = dir.filePath(QStringLiteral("spectrum.png"));
    const QString csv = dir.filePath(QStringLiteral("spectrum.csv"));
    QCOMPARE(obrio(dir.path(), {"segy", "spectrum", file, "--out", picture, "--csv", csv, "--end", "1000"}),
             0);
    QCOMPARE(QImage(picture).size(), QSize(900, 500));
    // 500 samples: N = 504, 252 points below the Nyquist frequency.
    const QStringList lines = csvLines(csv);
    QCOMPARE(lines.size(), 253);
    QCOMPARE(lines.first(), QStringLiteral("Frequency (Hz),dB"));
    int peak = 1;
    for (int i = 1; i < lines.size(); ++i) {
        if (lines[i].section(QLatin1Char(','), 1).toDouble() >
            lines[peak].section(QLatin1Char(','), 1).toDouble())
            peak = i;
    }
    QVERIFY(std::abs(lines[peak].section(QLatin1Char(','), 1).toDouble()) < 1e-9);
    // 50 Hz with 250 / 252 Hz between points.
    QCOMPARE(std::lround(lines[peak].section(QLatin1Char(','), 0, 0).toDouble()), 50L);
}

void TestObrioSegyPictures::histogramNumbers()
{
    const QString picture = dir.filePath(QStringLiteral("histogram.png"));
    const QString csv = dir.filePath(QStringLiteral("histogram.csv"));
    QCOMPARE(obrio(dir.path(), {"segy", "histogram", file, "--out", picture, "--csv", csv, "--first", "3",
                                "--last", "12"}),
             0);
    QCOMPARE(QImage(picture).size(), QSize(900, 500));
    // 10 traces x 500 samples: 13 bins, every value counted once.
    const QStringList lines = csvLines(csv);
    QCOMPARE(lines.size(), 14);
    QCOMPARE(lines.first(), QStringLiteral("Lower bound,Upper bound,Count,Percent"));
    qint64 count = 0;
    double percent = 0;
    for (int i = 1; i < lines.size(); ++i) {
        count += lines[i].section(QLatin1Char(','), 2, 2).toLongLong();
        percent += lines[i].section(QLatin1Char(','), 3, 3).toDouble();
    }
    QCOMPARE(count, qint64(5000));
    QVERIFY(std::abs(percent - 100.0) < 1e-6);
}

void TestObrioSegyPictures::refusals_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("no picture") << QStringList{"plot", "FILE"} << 2 << "--out PICTURE.png is needed";
    QTest::newRow("csv of a plot") << QStringList{"plot", "FILE", "--out", "x.png", "--csv", "x.csv"} << 2
                                   << "--csv is an option of spectrum and histogram";
    QTest::newRow("gain of a spectrum") << QStringList{"spectrum", "FILE", "--out", "x.png", "--gain", "6"}
                                        << 2 << "--gain is an option of plot only";
    QTest::newRow("traces past the end")
        << QStringList{"histogram", "FILE", "--out", "x.png", "--first", "31"} << 1
        << "not within the file's traces 1 to 30";
    QTest::newRow("empty window") << QStringList{"spectrum", "FILE", "--out", "x.png", "--start", "2000"} << 1
                                  << "No spectrum: the time window holds no samples";
}

void TestObrioSegyPictures::refusals()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    arguments.replaceInStrings(QStringLiteral("FILE"), file);
    QString err;
    QCOMPARE(obrio(dir.path(), QStringList{"segy"} + arguments, &err), exitCode);
    QVERIFY2(err.contains(message), qPrintable(err));
}

OBR_TEST_MAIN(TestObrioSegyPictures)
#include "tst_obrio_segy_pictures.moc"
