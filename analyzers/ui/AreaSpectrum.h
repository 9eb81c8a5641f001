#pragma once

#include "analyzers/TracePlot.h"

#include <QDialog>
#include <functional>

class SeismicData;
class Spectra;
class TracePlotView;

// The average amplitude spectrum of a rectangle chosen on a plot (Shift + drag): the traces and
// times inside it, in a window of its own beside the analyzer, with "Export image". The window
// stays open and shows the next rectangle chosen.
class AreaSpectrum : public QDialog {
    Q_OBJECT
public:
    // Listens to rectangles chosen on `view`; `data` gives the data set the view's plot was read
    // from (null: no file).
    static void follow(TracePlotView* view, QWidget* window, std::function<SeismicData*()> data);

    explicit AreaSpectrum(QWidget* parent);

    void showArea(SeismicData& data, const TracePlot::Area& area);
    Spectra* spectra() const { return view; }

private:
    QWidget* holder;
    Spectra* view = nullptr;
};
