#include "analyzers/ui/AreaSpectrum.h"

#include "analyzers/AmplitudeSpectrum.h"
#include "analyzers/ui/ImageExport.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TracePlotView.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

void AreaSpectrum::follow(TracePlotView* view, QWidget* window, std::function<SeismicData*()> data)
{
    QObject::connect(view, &TracePlotView::areaChosen, window, [window, data](const TracePlot::Area& area) {
        SeismicData* chosen = data();
        if (!chosen)
            return;
        // One window for each analyzer, kept for the next rectangle.
        auto* shown = window->findChild<AreaSpectrum*>(QString(), Qt::FindDirectChildrenOnly);
        if (!shown)
            shown = new AreaSpectrum(window);
        shown->showArea(*chosen, area);
    });
}

AreaSpectrum::AreaSpectrum(QWidget* parent) : QDialog(parent), holder(new QWidget(this))
{
    setObjectName(QStringLiteral("AreaSpectrum"));
    resize(640, 420);
    auto* exportButton = new QPushButton(QStringLiteral("Export image"), this);
    exportButton->setObjectName(QStringLiteral("ExportAreaSpectrum"));
    exportButton->setAutoDefault(false);
    auto* close = new QPushButton(QStringLiteral("Close"), this);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(exportButton);
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(holder, 1);
    layout->addLayout(buttons);
    new QVBoxLayout(holder);
    holder->layout()->setContentsMargins(0, 0, 0, 0);
    connect(close, &QPushButton::clicked, this, &QDialog::close);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        if (view && view->showsResult())
            static_cast<void>(
                ImageExport::saveWithDialog(this, view->picture(), QStringLiteral("spectrum.png")));
    });
}

void AreaSpectrum::showArea(SeismicData& data, const TracePlot::Area& area)
{
    setWindowTitle(QStringLiteral("Spectrum of traces %1 - %2, %3 - %4 ms")
                       .arg(area.firstTrace)
                       .arg(area.lastTrace)
                       .arg(area.startMs, 0, 'f', 0)
                       .arg(area.endMs, 0, 'f', 0));
    show();
    raise();
    delete view;
    // The picture is drawn at the size of the holder, laid out once the window shows.
    view = new Spectra(
        holder, AmplitudeSpectrum::compute(data, area.firstTrace, area.lastTrace, area.startMs, area.endMs));
    holder->layout()->addWidget(view);
}
