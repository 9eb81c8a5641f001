#include "tests/support/DataTable.h"
#include "tests/support/ObrioProcess.h"
#include "tests/support/SegyRevision2Fixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QImage>
#include <QTemporaryDir>
#include <QtEndian>
#include <cmath>

namespace {

// The rows of a written CSV file, each split at its commas.
QList<QStringList> csvRows(const QString& path)
{
    QList<QStringList> rows;
    for (const QString& line : QString::fromUtf8(obrtest::readFile(path)).split('\n', Qt::SkipEmptyParts))
        rows.append(line.split(','));
    return rows;
}

} // namespace

class TestObrioSegyPictures : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        // obrio draws without a display and finds its platform itself, with no runtime directory.
        for (const char* variable : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM", "XDG_RUNTIME_DIR"})
            qunsetenv(variable);
        // 30 traces of 500 IEEE samples at 2 ms, a 50 Hz sine, written from the standard's layout.
        segy2::File layout;
        layout.traces = 30;
        layout.samples = 500;
        layout.sampleBytes = [](int trace, int sampleBytes) {
            QByteArray bytes(sampleBytes, '\0');
            for (int j = 0; j < sampleBytes / 4; ++j)
                qToBigEndian(float(std::sin(2 * M_PI * 50.0 * j * 0.002 + trace)), bytes.data() + 4 * j);
            return bytes;
        };
        QVERIFY(obrtest::writeFile(file, segy2::build(layout)));
    }

    // Each action and its options reach the picture: its size, and the colours of the mode.
    void pictures_data()
    {
        obrtest::columns<QStringList, QSize, QString>({"arguments", "size", "colours"});
        // 24 traces at 8 pixels: (23 + 4) x 8 = 216, rounded to 224; 499 x 2 ms x 5 x 96 / 1000 = 479 rows.
        const QSize plot(224 + 96, 479 + 96);
        QTest::newRow("plot") << QStringList{"plot"} << plot << "";
        // 200 to 400 ms: rows 48 + trunc(100 x 479 / 500) to 48 + trunc(200 x 479 / 500), with the margins.
        QTest::newRow("time window") << QStringList{"plot", "--start", "200", "--end", "400"}
                                     << QSize(224 + 96, 191 - 95 + 96) << "";
        QTest::newRow("density, red-white-blue")
            << QStringList{"plot", "--mode", "density", "--colours", "rwb", "--clip", "95"} << plot
            << "red blue";
        QTest::newRow("spectrum: curve and grid") << QStringList{"spectrum"} << QSize(900, 500) << "red grey";
        QTest::newRow("histogram") << QStringList{"histogram"} << QSize(900, 500) << "red";
    }
    void pictures()
    {
        const auto [arguments, size, colours] =
            obrtest::fetch<QStringList, QSize, QString>("arguments", "size", "colours");
        const QString picture = dir.filePath(QStringLiteral("picture.png"));
        QVERIFY(drew(arguments.first(), picture, arguments.mid(1)));
        const QImage image(picture);
        QCOMPARE(image.size(), size);
        // Inside the frame: full colours of a map, or grey levels, or none but black and white.
        int red = 0, blue = 0, greys = 0;
        for (int y = 48; y < image.height() - 48; ++y) {
            for (int x = 48; x < image.width() - 48; ++x) {
                const QColor colour = image.pixelColor(x, y);
                red += colour == QColor(255, 0, 0);
                blue += colour == QColor(0, 0, 255);
                greys += colour.red() == colour.blue() && colour.value() > 40 && colour.value() < 215;
            }
        }
        QCOMPARE(QStringList({red ? "red" : "", blue ? "blue" : "", greys > 5000 ? "grey" : ""})
                     .join(' ')
                     .simplified(),
                 colours);
    }

    void numbersBesideThePictures_data()
    {
        obrtest::columns<QString, QStringList, int>({"action", "header", "rows"});
        // 500 samples: N = 504, 252 points below the Nyquist frequency; 15000 values in 15 bins.
        QTest::newRow("spectrum") << "spectrum" << QStringList{"Frequency (Hz)", "dB"} << 252;
        QTest::newRow("histogram") << "histogram"
                                   << QStringList{"Lower bound", "Upper bound", "Count", "Percent"} << 15;
    }
    void numbersBesideThePictures()
    {
        const auto [action, header, rows] =
            obrtest::fetch<QString, QStringList, int>("action", "header", "rows");
        const QString csv = dir.filePath(action + QStringLiteral(".csv"));
        const QString picture = dir.filePath(action + QStringLiteral(".png"));
        // A last trace far past the file reads its 30 traces, and no further.
        QVERIFY(drew(action, picture, {"--csv", csv, "--last", "2147483647"}));
        QCOMPARE(QImage(picture).size(), QSize(900, 500));
        const auto table = csvRows(csv);
        QCOMPARE(table.size(), rows + 1);
        QCOMPARE(table.first(), header);
    }

    void refusals_data()
    {
        obrtest::columns<QStringList, int, QString>({"arguments", "exitCode", "message"});
        QTest::newRow("no picture") << QStringList{"plot", "FILE"} << 2
                                    << "segy plot needs --out PICTURE.png";
        QTest::newRow("traces past the end")
            << QStringList{"histogram", "FILE", "--out", "x.png", "--first", "31"} << 1
            << "not within the file's traces 1 to 30";
    }
    void refusals()
    {
        auto [arguments, exitCode, message] =
            obrtest::fetch<QStringList, int, QString>("arguments", "exitCode", "message");
        arguments.replaceInStrings(QStringLiteral("FILE"), file);
        const auto run = obrtest::runObrio(dir.path(), QStringList{"segy"} + arguments);
        QCOMPARE(run.status, exitCode);
        QVERIFY2(run.err.join('\n').contains(message), qPrintable(run.err.join('\n')));
    }

private:
    // Draws a picture with obrio, which writes nothing but its own line (no Qt warnings on the way).
    [[nodiscard]] bool drew(const QString& action, const QString& picture, const QStringList& options)
    {
        QFile::remove(picture);
        const auto run =
            obrtest::runObrio(dir.path(), QStringList{"segy", action, file, "--out", picture} + options);
        if (run.status == 0 && run.err.isEmpty() && !run.out.isEmpty() &&
            run.out.first().startsWith(QStringLiteral("picture written: ") + picture))
            return true;
        qWarning("%s", qPrintable((run.out + run.err).join('\n')));
        return false;
    }

    QTemporaryDir dir;
    QString file = dir.filePath(QStringLiteral("line.sgy"));
};

OBR_TEST_MAIN(TestObrioSegyPictures)
#include "tst_obrio_segy_pictures.moc"
