#pragma once

#include <QObject>
#include <QSize>
#include <QString>
#include <functional>
#include <memory>

class AnalysedSegyFile;
class BackgroundWork;
class PictureView;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;
class SegyData;
struct JobSteps;

// A picture of the samples in a window of traces and times, with its controls: the spectra tab
// and the histogram tab of the SEG-Y analyzer. It is computed on a worker thread and shown when
// done; a new request or file drops the one running.
class TraceWindowPicture : public QObject {
    Q_OBJECT
public:
    struct Controls {
        QSpinBox* firstTrace;
        QSpinBox* lastTrace;
        QLineEdit* startTime;
        QLineEdit* endTime;
        QPushButton* create;
        QPushButton* save;
        QWidget* area;
    };
    // Shows a computed picture on an area, on the window's thread.
    using Show = std::function<PictureView*(QWidget* area)>;
    // Traces first to last, start to end ms, drawn at a size.
    struct Request {
        int first;
        int last;
        double startMs;
        double endMs;
        QSize size;
    };
    // Computes and draws the picture of the request on a worker.
    using Compute = std::function<Show(SegyData& data, const Request& request, const JobSteps& steps)>;
    // When the picture follows the edits, an edit of the window draws it again and the trace
    // range is put right when its editing ends; else it is put right as it steps, and the
    // picture waits for its button.
    enum class Edits { WaitForButton, Redraw };

    TraceWindowPicture(const Controls& controls, AnalysedSegyFile& file, Compute compute,
                       const QString& pictureName, Edits edits, QWidget* window);

    // The picture shown, or null.
    PictureView* picture() const { return view; }
    BackgroundWork* work() const { return worker; }
    // Starts computing the picture of the window in the controls.
    void draw();
    // For another file: the picture of the one before goes, and is drawn for this one if it was shown.
    void replace();
    // The window set to the file's scan range and its whole record.
    void showWindow();

private:
    void correctTraceRange(bool firstChanged);
    void correctTimeRange(bool startChanged);
    void save();
    void show();

    Controls controls;
    AnalysedSegyFile& file;
    Compute compute;
    BackgroundWork* worker;
    // What the job running now found, to be shown once it is done.
    std::shared_ptr<Show> pending;
    QString pictureName;
    QWidget* window;
    PictureView* view = nullptr;
};
