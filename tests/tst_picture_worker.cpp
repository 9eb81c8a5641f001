#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/SampleHistogram.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TraceScanRanges.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "tests/support/Controls.h"
#include "tests/support/DataTable.h"
#include "tests/support/RecordingConsole.h"
#include "tests/support/Responsiveness.h"
#include "tests/support/SegyDirFixture.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestMain.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <functional>

using obrtest::control;

namespace {

constexpr int traceCount = 20000;
constexpr int samples = 50;
// The window's thread works at most this long in a turn of its event loop while it draws.
constexpr qint64 turnMs = 100;

[[nodiscard]] bool answersQuickly(const std::function<void()>& action, int forMs,
                                  const std::function<bool()>& done = {})
{
    return obrtest::answersQuickly(action, forMs, done, turnMs, obrtest::TurnClock::ThreadCpu);
}

// What a picture of the whole file shows, to compare with the one computed at once.
using Numbers = std::function<QVector<double>(const SegyAnalysis& analyzer)>;

QVector<double> spectrumNumbers(const AmplitudeSpectrum& spectrum)
{
    return QVector<double>(spectrum.average.begin(), spectrum.average.end());
}

QVector<double> histogramNumbers(const SampleHistogram& histogram)
{
    QVector<double> counts{double(histogram.total)};
    for (const SampleHistogram::Bin& bin : histogram.bins)
        counts.append(double(bin.count));
    return counts;
}

} // namespace

Q_DECLARE_METATYPE(Numbers)

// Spectra, histograms and the trace plot of a long file drawn on a worker: the window answers
// throughout, Cancel stops the drawing and leaves the picture before, and the result is the one
// computed at once.
class TestPictureWorker : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        dirtest::SegyParams params;
        params.traces = traceCount;
        params.samples = samples;
        QVERIFY(obrtest::writeFile(dir.filePath("long.sgy"), dirtest::segyFile(params)));
    }

    void pictureOfManyTraces_data()
    {
        obrtest::columns<QString, QString, Numbers, Numbers>({"create", "traces", "shown", "computed"});
        const QString path = dir.filePath("long.sgy");
        const auto atOnce = [path](auto compute) {
            return [path, compute](const SegyAnalysis&) {
                SegyFormat format;
                RecordingConsole quiet;
                SegyData data(&quiet, path, 0u, &format);
                return compute(data);
            };
        };
        QTest::newRow("spectra") << "CreateSpectra"
                                 << "Spectra_LastTrace" << Numbers([](const SegyAnalysis& a) {
                                        return spectrumNumbers(a.spectraImage()->spectrum());
                                    })
                                 << Numbers(atOnce([](SegyData& data) {
                                        return spectrumNumbers(AmplitudeSpectrum::compute(data, 1, traceCount,
                                                                                          0, samples * 2.0));
                                    }));
        QTest::newRow("histogram") << "CreateHistogram"
                                   << "Histogram_LastTrace" << Numbers([](const SegyAnalysis& a) {
                                          return histogramNumbers(a.histogramImage()->histogram());
                                      })
                                   << Numbers(atOnce([](SegyData& data) {
                                          return histogramNumbers(SampleHistogram::compute(
                                              data, 1, traceCount, 0, samples * 2.0));
                                      }));
    }
    void pictureOfManyTraces()
    {
        const auto [create, traces, shown, computed] =
            obrtest::fetch<QString, QString, Numbers, Numbers>("create", "traces", "shown", "computed");
        SegyAnalysis analyzer(&console, dir.path(), nullptr, dir.filePath("none.xml"),
                              dir.filePath("long.sgy"));
        const auto idle = [&analyzer] { return !analyzer.drawing() && !analyzer.scanning(); };
        QVERIFY(shownAfterItsScan(analyzer, idle));
        auto* button = control<QPushButton>(analyzer, create);
        auto* last = control<QSpinBox>(analyzer, traces);

        // The first 24 traces: a picture to keep.
        QVERIFY(answersQuickly([&] { button->click(); }, 60000, idle));
        const QVector<double> first = shown(analyzer);
        QVERIFY(!first.isEmpty());

        // The whole file: the window answers, shows how far the drawing has come, and Cancel
        // stops it with the picture before still shown.
        last->setValue(traceCount);
        QVERIFY(answersQuickly([&] { button->click(); }, 400));
        QVERIFY(analyzer.drawing());
        QVERIFY(control<QProgressBar>(analyzer, "PictureProgress")->isVisible());
        control<QPushButton>(analyzer, "CancelPictures")->click();
        QVERIFY(!analyzer.drawing());
        QVERIFY(!control<QProgressBar>(analyzer, "PictureProgress")->isVisible());
        QVERIFY(control<QLabel>(analyzer, "PictureCancelled")->text().endsWith("cancelled"));
        QVERIFY(answersQuickly([] {}, 300));
        QCOMPARE(shown(analyzer), first);

        // A newer request drops the running one; the last one asked for is the one shown, and it
        // is what the computation at once finds.
        QVERIFY(answersQuickly([&] { button->click(); }, 200));
        QVERIFY(answersQuickly([&] { button->click(); }, 120000, idle));
        QCOMPARE(shown(analyzer), computed(analyzer));
    }

    void tracePlotOnAWorker()
    {
        SegyAnalysis analyzer(&console, dir.path(), nullptr, dir.filePath("none.xml"),
                              dir.filePath("long.sgy"));
        const auto idle = [&analyzer] { return !analyzer.drawing() && !analyzer.scanning(); };
        QVERIFY(shownAfterItsScan(analyzer, idle));
        QCOMPARE(analyzer.seismicImage()->plot().annotations.size(), 24);
        QVERIFY(answersQuickly([&] { control<QSpinBox>(analyzer, "LastDisplayTrace")->setValue(3000); },
                               120000, idle));
        QCOMPARE(analyzer.seismicImage()->plot().annotations.size(), 3000);
    }

private:
    // The analyzer reading its file through a slow disk, shown, its first scan and pictures done.
    static bool shownAfterItsScan(SegyAnalysis& analyzer, const std::function<bool()>& idle)
    {
        analyzer.scanRanges()->readThrough([](ObrConsole* console, const QString& file) {
            return std::make_unique<obrtest::SlowDisk>(console, file, 0u);
        });
        analyzer.show();
        return QTest::qWaitForWindowExposed(&analyzer) && QTest::qWaitFor(idle, 60000);
    }

    QTemporaryDir dir;
    RecordingConsole console;
};

OBR_TEST_MAIN(TestPictureWorker)
#include "tst_picture_worker.moc"
