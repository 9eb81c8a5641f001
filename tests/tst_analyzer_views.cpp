#include "analyzers/HistogramPicture.h"
#include "analyzers/SpectrumPicture.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/ImageExport.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "base/ui/FileDialogs.h"
#include "tests/support/DataTable.h"
#include "tests/support/MemoryData.h"
#include "tests/support/PictureCompare.h"
#include "tests/support/TestMain.h"

#include <QMenu>
#include <QTemporaryDir>
#include <cmath>
#include <functional>

namespace {

double sine(int trace, int j)
{
    return std::sin(2 * M_PI * 30.0 * j * 0.002 + trace);
}

// What a view shows on the screen.
QImage shown(const QGraphicsView& view)
{
    return view.viewport()->grab().toImage();
}

// Runs `open`, which shows a popup menu and waits for it, and returns the menu's entries;
// the entry `choose` is chosen, or none when it is -1.
QStringList popupEntries(const std::function<void()>& open, int choose = -1)
{
    QStringList entries;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (!menu)
            return;
        for (QAction* action : menu->actions())
            entries.append(action->text());
        if (choose >= 0 && choose < entries.size()) {
            menu->setActiveAction(menu->actions().at(choose));
            QTest::keyClick(menu, Qt::Key_Return);
        } else {
            menu->close();
        }
    });
    timer.start(0);
    open();
    return entries;
}

} // namespace

class TestAnalyzerViews : public QObject {
    Q_OBJECT
private slots:
    void init()
    {
        parent = std::make_unique<QWidget>();
        parent->resize(800, 400);
        parent->show();
    }
    void cleanup()
    {
        FileDialogs::answerWith({});
        parent.reset();
    }

    void traceDisplayShowsThePlot()
    {
        MemoryData data(30, 500, 2.0f, sine);
        TraceDisplaySettings settings;
        settings.firstTrace = 5;
        settings.lastTrace = 14;
        const TraceDisplay display(parent.get(), TracePlot::read(data, settings));
        QCOMPARE(display.size(), parent->size());
        QCOMPARE(display.plot().annotations.size(), 10);
        const QImage picture = display.plot().picture();
        // The plot is narrower than the view and taller: its top left part is on the screen.
        const QSize visible = picture.size().boundedTo(display.viewport()->size());
        QVERIFY(visible.height() < picture.height());
        OBR_COMPARE_PICTURES(shown(display).copy(QRect(QPoint(0, 0), visible)),
                             picture.copy(QRect(QPoint(0, 0), visible)));
    }

    void traceDisplayExportsThePlot()
    {
        QTemporaryDir dir;
        MemoryData data(12, 500, 2.0f, sine);
        TraceDisplaySettings settings;
        settings.lastTrace = 12;
        TraceDisplay display(parent.get(), TracePlot::read(data, settings));
        FileDialogs::answerWith(
            [&](const QString&, const QString&) { return dir.filePath(QStringLiteral("p")); });
        const QStringList entries = popupEntries(
            [&] {
                QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(20, 20),
                                        display.viewport()->mapToGlobal(QPoint(20, 20)));
                QApplication::sendEvent(display.viewport(), &event);
            },
            3);
        QCOMPARE(entries, (QStringList{"Fit to window", "Actual size (1:1)", "", "Export image"}));
        OBR_COMPARE_PICTURES(QImage(dir.filePath(QStringLiteral("p.png"))), display.plot().picture());
    }

    void viewsShowTheCorePictures_data()
    {
        obrtest::columns<bool, double, double>({"spectrum", "startMs", "endMs"});
        QTest::newRow("spectrum") << true << 0.0 << 2000.0;
        QTest::newRow("spectrum of no samples") << true << 100.0 << 100.0;
        QTest::newRow("histogram") << false << 0.0 << 2000.0;
        QTest::newRow("histogram of no samples") << false << 100.0 << 100.0;
    }
    void viewsShowTheCorePictures()
    {
        const auto [spectrum, startMs, endMs] =
            obrtest::fetch<bool, double, double>("spectrum", "startMs", "endMs");
        MemoryData data(24, 1000, 2.0f, sine);
        std::unique_ptr<PictureView> view;
        QImage drawn;
        if (spectrum) {
            auto result = AmplitudeSpectrum::compute(data, 1, 24, startMs, endMs);
            drawn = SpectrumPicture::draw(result, parent->size());
            view = std::make_unique<Spectra>(parent.get(), std::move(result));
        } else {
            auto result = SampleHistogram::compute(data, 1, 24, startMs, endMs);
            drawn = HistogramPicture::draw(result, parent->size());
            view = std::make_unique<Histogram>(parent.get(), std::move(result));
        }
        QCOMPARE(view->size(), parent->size());
        OBR_COMPARE_PICTURES(view->picture(), drawn);
        OBR_COMPARE_PICTURES(shown(*view), drawn);
    }

    void clickOnABarShowsItsBin_data()
    {
        obrtest::columns<int>({"bin"});
        // 24 traces x 1000 samples: 15 bins.
        for (int bin : {3, 7, 11})
            QTest::addRow("bin %d", bin) << bin;
    }
    void clickOnABarShowsItsBin()
    {
        const auto [bin] = obrtest::fetch<int>("bin");
        MemoryData data(24, 1000, 2.0f, sine);
        Histogram view(parent.get(), SampleHistogram::compute(data, 1, 24, 0, 2000));
        QCOMPARE(int(view.histogram().bins.size()), 15);
        const QRectF bar = HistogramPicture::barRect(view.histogram(), view.picture().size(), bin);
        // The bar is drawn where the click finds it: red inside, white above.
        const QPoint inside = bar.center().toPoint();
        QCOMPARE(view.picture().pixelColor(inside), QColor(Qt::red));
        QCOMPARE(view.picture().pixelColor(inside.x(), int(bar.top()) - 2), QColor(Qt::white));
        const auto& b = view.histogram().bins[size_t(bin)];
        const QStringList expected{QStringLiteral("Minimum value : ") + QString::number(b.lower, 'g', 6),
                                   QStringLiteral("Maximum value : ") + QString::number(b.upper, 'g', 6),
                                   QStringLiteral("Percent of all samples : ") +
                                       QString::number(100.0 * double(b.count) / 24000.0, 'g', 6)};
        QCOMPARE(popupEntries([&] { QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, inside); }),
                 expected);
        // Above the bar and in the margin nothing opens.
        for (const QPoint& outside : {QPoint(inside.x(), int(bar.top()) - 3), QPoint(10, 10)})
            QCOMPARE(popupEntries([&] { QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, outside); }),
                     QStringList());
    }

    void exportWritesThePicture()
    {
        QTemporaryDir dir;
        MemoryData data(24, 1000, 2.0f, sine);
        const Histogram view(parent.get(), SampleHistogram::compute(data, 1, 24, 0, 2000));
        QString asked;
        FileDialogs::answerWith([&](const QString& caption, const QString&) {
            asked = caption;
            return dir.filePath(QStringLiteral("bins"));
        });
        QVERIFY(ImageExport::saveWithDialog(parent.get(), view.picture(), QStringLiteral("histogram.png")));
        QCOMPARE(asked, QStringLiteral("Export image"));
        OBR_COMPARE_PICTURES(QImage(dir.filePath(QStringLiteral("bins.png"))), view.picture());
    }

private:
    std::unique_ptr<QWidget> parent;
};

OBR_TEST_MAIN(TestAnalyzerViews)
#include "tst_analyzer_views.moc"
