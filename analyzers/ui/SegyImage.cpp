#include "analyzers/ui/SegyImage.h"

#include "analyzers/ui/TraceDisplay.h"
#include "seismic/SeismicData.h"
#include "seismic/TraceGather.h"

SegyImage::SegyImage(QWidget* parent, SeismicData* data, const TraceDisplaySettings& settings)
    : QGraphicsView(parent)
{
    hide();
    if (data)
        gather = data->makeGather(false);
    if (!gather)
        return;
    // What a failed read leaves in the gather is the reader's to say; the plot shows it.
    static_cast<void>(data->readTraceRange(*gather, settings.firstTrace, settings.lastTrace));
    display_ = new TraceDisplay(parent, *gather, settings);
    if (parent)
        display_->resize(parent->size());
    display_->centerOn(display_->width() / 2.0, display_->height() / 2.0 - 32);
    display_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    display_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
}

SegyImage::~SegyImage()
{
    delete display_;
}
