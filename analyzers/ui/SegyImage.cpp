#include "analyzers/ui/SegyImage.h"

#include "analyzers/ui/TraceDisplay.h"
#include "seismic/SeismicData.h"
#include "seismic/TraceGather.h"

#include <QLayout>
#include <algorithm>
#include <memory>

SegyImage::SegyImage(QWidget* parent, SeismicData* data, const TraceDisplaySettings& settings)
    : QGraphicsView(parent)
{
    hide();
    if (!data)
        return;
    // An empty gather that the read sizes to the plotted traces: a data set's own gather holds
    // every trace of the file, far more memory than a plot needs.
    gather = std::make_unique<TraceGather>(data);
    gather->record = 1;
    gather->recordLength = data->recordLength();
    // Traces past the end of the file would plot as dead ones; what a failed read leaves in
    // the gather is the reader's to say, and the plot shows it.
    static_cast<void>(
        data->readTraceRange(*gather, settings.firstTrace, std::min(settings.lastTrace, data->traceCount())));
    display_ = new TraceDisplay(parent, *gather, settings);
    // In a laid-out parent the plot follows the parent's size; otherwise it takes it once.
    if (parent && parent->layout())
        parent->layout()->addWidget(display_);
    else if (parent)
        display_->resize(parent->size());
    display_->centerOn(display_->width() / 2.0, display_->height() / 2.0 - 32);
    display_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    display_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

SegyImage::~SegyImage()
{
    delete display_;
}
