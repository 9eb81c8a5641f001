#pragma once

#include "analyzers/TraceDisplaySettings.h"

#include <QObject>
#include <QVector>
#include <memory>
#include <vector>

class AnalysedSegyFile;
class BackgroundWork;
class GatherChoice;
class TraceGathers;
class TracePlot;
class QDoubleSpinBox;
class QLabel;
class QSpinBox;
class QSplitter;
class QWidget;
class TraceDisplay;
class TraceHeaderPanel;
class TracePlotControls;
class TraceQcPanel;

namespace Ui {
class SegyAnalyzerClass;
}

// The trace plot tab of the SEG-Y analyzer: the traces shown, the scales, gain, timing lines and
// trace labels, the display choices over the plot and the header words of the trace last
// clicked beside it. One view serves the whole run, so that its zoom and position survive a
// change of settings and of file. The traces shown are a trace range or a gather chosen by a
// header word; they are read and drawn on a worker thread, and the view takes the plot when it
// is done.
class SegyTracePlot : public QObject {
    Q_OBJECT
public:
    SegyTracePlot(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file);

    TraceDisplay* view() const { return view_; }
    BackgroundWork* work() const { return worker; }
    TraceHeaderPanel* headerPanel() const { return headerPanel_; }

    // Settings for a newly opened file: its first traces and timing lines that suit its record,
    // with the display choices kept.
    void startFile();
    // The traces shown set to the file's scan range.
    void showRange();
    // The settings in the controls.
    void showSettings();
    // Starts drawing the plot of the data set again; without one, the plot goes.
    void redraw();
    // The plot of a file that could not be read goes at once.
    void removeView();
    // Takes the scales at which the plot fills its view ("Fit") and redraws.
    void fitScales(double horizontal, double vertical);
    // A new file's first plot starts at 1:1 and fitted, not at the last file's zoom.
    void startFitted();
    void clearHeaderPanel();
    // The values of the header word that chooses the gathers are read again: the format changed.
    void forgetGathers();
    // Asks for a picture file and saves the plot in it.
    void exportPicture();

private:
    // A display control and the field of the settings it shows.
    struct Binding {
        QWidget* control;
        double (*read)(const TraceDisplaySettings&);
        void (*write)(TraceDisplaySettings&, double);
    };

    void bindControls(Ui::SegyAnalyzerClass& form);
    void showTraceHeader(int index);
    // Checks the traces of the plot and shows what was found beside it and on it.
    void checkTraces();
    // The traces of the trace range, by number.
    QVector<int> rangeTraces() const;
    void showPlot();
    // PageDown (1) and PageUp (-1): the next or previous gather, or trace range of the same size.
    void step(int direction);
    void stepRange(int direction);

    AnalysedSegyFile& file;
    QWidget* window;
    QWidget* area;
    QSpinBox* firstTrace;
    QSpinBox* lastTrace;
    QDoubleSpinBox* horizontalScale;
    QDoubleSpinBox* verticalScale;
    bool newFile = false;
    std::vector<Binding> bindings;
    TraceDisplaySettings settings_;
    TraceDisplay* view_ = nullptr;
    BackgroundWork* worker;
    // What the job running now finds: the plot, and for a gather the values of its header word
    // and the traces that hold the value (-1: traces by range).
    struct Found;
    std::shared_ptr<Found> pending;
    GatherChoice* gatherChoice;
    std::shared_ptr<const TraceGathers> gathers; // of the file shown, once read
    TracePlotControls* controls_;
    QSplitter* splitter;
    TraceHeaderPanel* headerPanel_;
    QWidget* panelBox;
    TraceQcPanel* qcPanel;
    QLabel* readout; // what the pointer points at on the plot
};
