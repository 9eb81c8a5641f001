#pragma once

#include "analyzers/HeaderGraph.h"

#include <QImage>
#include <QWidget>

class AnalysedSegyFile;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

// The SEG-Y analyzer's header graph: a trace key chosen by name against trace number, over a
// range of traces, as the line picture drawn in core; "Export image" saves it. The traces are
// read when the page is first shown for a file, and again when the word or the range changes.
class HeaderGraphPage : public QWidget {
    Q_OBJECT
public:
    // Traces a new file's graph covers at first: enough for a few lines of shots, quick to read.
    static constexpr int firstTraces = 5000;

    HeaderGraphPage(QWidget* parent, AnalysedSegyFile& file);

    // A file was opened: its trace range, and a graph to read when the page shows.
    void startFile();
    const HeaderGraph& graph() const { return graph_; }
    // The picture shown; null before a graph was read.
    const QImage& picture() const { return picture_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void read();
    void drawPicture();

    AnalysedSegyFile& file;
    QComboBox* word;
    QSpinBox* first;
    QSpinBox* last;
    QPushButton* exportButton;
    QLabel* pictureLabel;
    HeaderGraph graph_;
    QImage picture_;
    bool stale = false;
};
