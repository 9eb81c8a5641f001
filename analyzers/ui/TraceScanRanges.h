#pragma once

#include "analyzers/TraceRangeScan.h"

#include <QObject>
#include <QTimer>

class AnalysedSegyFile;
class BackgroundWork;
class QBoxLayout;
class QProgressBar;
class QScrollArea;
class QSpinBox;
class QWidget;

namespace Ui {
class SegyAnalyzerClass;
}

// The scan range of the SEG-Y analyzer and what is read in it: the first and last trace, the
// scans that read their headers in the background while the window goes on answering, the
// progress of a long one, and the minimum and maximum of every trace header field row.
class TraceScanRanges : public QObject {
    Q_OBJECT
public:
    TraceScanRanges(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file);

    // True while a scan runs in the background.
    bool running() const;
    // The scans and pictures read the file through this input rather than from the disk directly.
    void readThrough(TraceRangeScan::Input input);
    // Reads the scan range at once, dropping any scan of the file before; the ranges show it.
    TraceRangeScan::Result scanNow();
    // Starts reading the scan range in the background, unless the window is filling its controls.
    void rescan();
    // The range controls set to the file's scan range, up to its last trace.
    void showRange();
    void showFieldRanges();
    // Range fields wide enough for a coordinate of 10 digits and one decimal, with its sign, and
    // all of them in view.
    void widenRangeFields(QScrollArea* rows, QWidget* panel);

signals:
    // A scan of the traces first to last has begun.
    void started(int first, int last);
    // A background scan ended with this result; the field ranges show it already.
    void finished(const TraceRangeScan::Result& result);

private:
    std::unique_ptr<TraceRangeScan> makeScan() const;
    void scanFinished();
    // A scan range typed or stepped is applied when editing ends or after a short pause.
    void rangeEdited(bool firstChanged);
    void applyRange();

    AnalysedSegyFile& file;
    QWidget* window;
    QSpinBox* first;
    QSpinBox* last;
    BackgroundWork* scanner;
    QProgressBar* progress;
    SegyFieldRanges fieldRanges;
    // A typed or stepped scan range waits this long for the next key before it is read.
    static constexpr int pauseMs = 400;
    QTimer pause;
    bool firstEdited = false;
};
