#pragma once

#include <QObject>
#include <QString>
#include <functional>

class AnalysedSegyFile;
class PictureView;
class QLineEdit;
class QPushButton;
class QSpinBox;
class QWidget;
class SegyData;

// A picture of the samples in a window of traces and times, with its controls: the spectra tab
// and the histogram tab of the SEG-Y analyzer.
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
    // Draws the picture of traces first to last, start to end ms, on the area.
    using Draw = std::function<PictureView*(QWidget* area, SegyData& data, int first, int last,
                                            double startMs, double endMs)>;
    // When the picture follows the edits, an edit of the window draws it again and the trace
    // range is put right when its editing ends; else it is put right as it steps, and the
    // picture waits for its button.
    enum class Edits { WaitForButton, Redraw };

    TraceWindowPicture(const Controls& controls, AnalysedSegyFile& file, Draw drawOn,
                       const QString& pictureName, Edits edits, QWidget* window);

    // The picture shown, or null.
    PictureView* picture() const { return view; }
    void draw();
    // For another file: the picture of the one before goes, and is drawn for this one if it was shown.
    void replace();
    // The window set to the file's scan range and its whole record.
    void showWindow();

private:
    void correctTraceRange(bool firstChanged);
    void correctTimeRange(bool startChanged);
    void save();

    Controls controls;
    AnalysedSegyFile& file;
    Draw drawPicture;
    QString pictureName;
    QWidget* window;
    PictureView* view = nullptr;
};
