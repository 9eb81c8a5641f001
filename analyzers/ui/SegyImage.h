#pragma once

#include "analyzers/TraceDisplaySettings.h"

#include <QGraphicsView>
#include <memory>

class SeismicData;
class TraceDisplay;
class TraceGather;

// Reads the traces of a plot and puts their TraceDisplay on the parent widget; the SegyImage
// itself stays hidden. It owns the gather and the display.
class SegyImage : public QGraphicsView {
    Q_OBJECT
public:
    SegyImage(QWidget* parent, SeismicData* data, const TraceDisplaySettings& settings);
    ~SegyImage() override;

    // Null without a data set.
    TraceDisplay* display() const { return display_; }

private:
    std::unique_ptr<TraceGather> gather;
    TraceDisplay* display_ = nullptr;
};
