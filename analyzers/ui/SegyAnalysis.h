#pragma once

#include "analyzers/ui/AnalysedSegyFile.h"
#include "ui_SegyAnalyzer.h"

#include <QDialog>

class HeaderGraphPage;
class Histogram;
class ObrConsole;
class SegyData;
class SegyFormat;
class SegyFormatControls;
class SegyHeaderTables;
class SegyTracePlot;
class Spectra;
class TraceDisplay;
class TraceHeaderPanel;
class TraceScanRanges;
class PlotArea;
class TraceWindowPicture;
class WorkProgress;

// The window in which a user takes an unknown SEG-Y file apart: byte order, text encoding,
// binary header words and the byte and type of every trace header field. Each choice is
// written into the format in force at once and the file is read again through it, so the
// tables, ranges and pictures always show the file as the format reads it. The window composes
// its parts, one for each thing it shows; they share the file and answer each other's signals.
class SegyAnalysis : public QDialog, private Ui::SegyAnalyzerClass {
    Q_OBJECT
public:
    SegyAnalysis(ObrConsole* console, const QString& seismicDirectory, QWidget* parent,
                 const QString& standardFormatPath, const QString& fileName);
    ~SegyAnalysis() override;

    // The data set being analysed, or null.
    SegyData* dataSet() const { return file.data.get(); }
    SegyFormat* formatInForce() const { return file.format; }
    TraceDisplay* seismicImage() const;
    Spectra* spectraImage() const;
    Histogram* histogramImage() const;
    // True while a scan of the trace range runs in the background.
    bool scanning() const;
    // True while a picture is being computed in the background.
    bool drawing() const;
    // The side panel with the header words of the trace last clicked in the plot.
    TraceHeaderPanel* traceHeaderPanel() const;
    TraceScanRanges* scanRanges() const { return ranges; }
    HeaderGraphPage* headerGraph() const { return graph; }

signals:
    void formatInfo(QString path);
    // A scan of the traces first to last has begun; its tables follow when it finishes.
    void traceScanStarted(int first, int last);

public slots:
    void onFileBrowse();
    void onCreateFormat();
    // Asks before edits of the format that were not saved are lost.
    void done(int result) override;
    // Analyses another file, keeping the format with its edits.
    void openFile(const QString& path);
    // Ctrl+E: the trace plot into a picture file.
    void exportTracePlot();

protected:
    // A SEG-Y file dropped on the window is analysed.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    void connectParts();
    bool openSegyFile();
    // The controls of every part filled for the file just opened.
    void showFile();
    void setTitleFromFileName();
    // Ctrl+O, Ctrl+W, Ctrl+E, F1 and the "Recent files" button.
    void addFileActions();
    void showHelp();

    QString seismicDirectory;
    AnalysedSegyFile file;
    SegyFormatControls* formatControls;
    TraceScanRanges* ranges;
    SegyHeaderTables* tables;
    SegyTracePlot* plot;
    TraceWindowPicture* spectra;
    TraceWindowPicture* histogram;
    HeaderGraphPage* graph;
    WorkProgress* pictureProgress;
    PlotArea* plotArea;
};
