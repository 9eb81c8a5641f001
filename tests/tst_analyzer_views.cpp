#include "analyzers/ui/Bar.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/ImageExport.h"
#include "analyzers/ui/SegyImage.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "base/ui/FileDialogs.h"
#include "tests/support/MemoryData.h"
#include "tests/support/TestMain.h"

#include <QGraphicsPathItem>
#include <QGraphicsPixmapItem>
#include <QGraphicsSimpleTextItem>
#include <QPointer>
#include <QTemporaryDir>
#include <cmath>

namespace {

QStringList textsOf(const QGraphicsScene& scene)
{
    QStringList texts;
    for (QGraphicsItem* item : scene.items(Qt::AscendingOrder))
        if (auto* text = qgraphicsitem_cast<QGraphicsSimpleTextItem*>(item))
            texts.append(text->text());
    return texts;
}

double sine(int trace, int j)
{
    return std::sin(2 * M_PI * 30.0 * j * 0.002 + trace);
}

} // namespace

class TestAnalyzerViews : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        parent = std::make_unique<QWidget>();
        parent->resize(800, 400);
    }
    void cleanup()
    {
        FileDialogs::answerWith({});
        parent.reset();
    }
    void segyImageOwnsItsDisplay()
    {
        MemoryData data(30, 500, 2.0f, sine);
        TraceDisplaySettings settings;
        settings.firstTrace = 5;
        settings.lastTrace = 14;
        auto image = std::make_unique<SegyImage>(parent.get(), &data, settings);
        QPointer<TraceDisplay> display = image->display();
        QVERIFY(display);
        QVERIFY(image->isHidden());
        QCOMPARE(display->size(), parent->size());
        QCOMPARE(display->plot().annotations.size(), 10);
        QCOMPARE(display->plot().annotations.first().primary, qint64(5));
        const auto items = display->scene()->items();
        QCOMPARE(items.size(), 1);
        QVERIFY(qgraphicsitem_cast<QGraphicsPixmapItem*>(items.first()));
        QCOMPARE(display->picture().size(), display->plot().image.size());
        image.reset();
        QVERIFY(display.isNull());
    }
    void spectraAxesAndCurve()
    {
        MemoryData data(4, 1000, 2.0f, sine);
        Spectra view(parent.get(), &data, 1, 4, 0, 2000);
        QCOMPARE(view.spectrum().status, AmplitudeSpectrum::Status::Ok);
        const QStringList texts = textsOf(*view.scene());
        QStringList expected;
        for (int k = 0; k <= view.spectrum().axisDepth / 12; ++k)
            expected << QString::number(-12 * k);
        expected << QStringList{"0", "50", "100", "150", "200", "250", "Frequency (Hz)"};
        QCOMPARE(texts, expected);
        int dotted = 0;
        QGraphicsPathItem* curve = nullptr;
        for (QGraphicsItem* item : view.scene()->items()) {
            if (auto* line = qgraphicsitem_cast<QGraphicsLineItem*>(item))
                dotted += line->pen().style() == Qt::DotLine ? 1 : 0;
            if (auto* path = qgraphicsitem_cast<QGraphicsPathItem*>(item))
                curve = path;
        }
        QCOMPARE(dotted, view.spectrum().axisDepth / 12 - 1 + 4);
        QVERIFY(curve);
        QCOMPARE(curve->pen().color(), QColor(Qt::red));
        QCOMPARE(curve->path().elementCount(), 504);
        // The peak (0 dB) is on the top line of the frame.
        QCOMPARE(curve->path().boundingRect().top(), 48.0);
    }
    void spectraWithoutWindowSaysWhy()
    {
        MemoryData data(4, 1000, 2.0f, sine);
        Spectra view(parent.get(), &data, 1, 4, 100, 100);
        QCOMPARE(textsOf(*view.scene()), QStringList{view.spectrum().problem()});
    }
    void histogramBars()
    {
        // 24 traces x 1000 samples: 15 bins; ph = 400 - 96.
        MemoryData data(24, 1000, 2.0f, sine);
        Histogram view(parent.get(), &data, 1, 24, 0, 2000);
        const auto& bars = view.bars();
        QCOMPARE(bars.size(), 15);
        const double ph = 304;
        double tallest = 0;
        for (Bar* bar : bars) {
            QCOMPARE(bar->pos().y() + bar->rect().height(), ph);
            QCOMPARE(int(bar->rect().height()),
                     int(double(bar->count()) / view.histogram().largestCount * ph) + 48);
            tallest = std::max(tallest, bar->rect().height());
        }
        QCOMPARE(tallest, ph + 48);
        const auto& bin = view.histogram().bins.front();
        QCOMPARE(bars.first()->menuTexts(),
                 QStringList({QStringLiteral("Minimum value : ") + QString::number(bin.lower, 'g', 6),
                              QStringLiteral("Maximum value : ") + QString::number(bin.upper, 'g', 6),
                              QStringLiteral("Percent of all samples : ") +
                                  QString::number(100.0 * double(bin.count) / 24000.0, 'g', 6)}));
        QCOMPARE(textsOf(*view.scene()),
                 QStringList({QString::number(bin.lower, 'g', 6), "0",
                              QString::number(view.histogram().bins.back().upper, 'g', 6)}));
    }
    void exportWritesThePicture()
    {
        QTemporaryDir dir;
        MemoryData data(24, 1000, 2.0f, sine);
        Histogram view(parent.get(), &data, 1, 24, 0, 2000);
        QString asked;
        FileDialogs::answerWith([&](const QString& caption, const QString&) {
            asked = caption;
            return dir.filePath(QStringLiteral("bins"));
        });
        QVERIFY(ImageExport::saveWithDialog(parent.get(), view.picture(), QStringLiteral("histogram.png")));
        QCOMPARE(asked, QStringLiteral("Export image"));
        const QImage written(dir.filePath(QStringLiteral("bins.png")));
        QCOMPARE(written.size(), parent->size());
        // Red bars were drawn into it.
        QVERIFY(written.pixelColor(400, 300) == QColor(Qt::red) ||
                written.pixelColor(420, 300) == QColor(Qt::red));
    }

private:
    std::unique_ptr<QWidget> parent;
};

OBR_TEST_MAIN(TestAnalyzerViews)
#include "tst_analyzer_views.moc"
