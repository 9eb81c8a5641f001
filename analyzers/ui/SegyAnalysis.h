#pragma once

#include "analyzers/HeaderWordTables.h"
#include "analyzers/TraceDisplaySettings.h"
#include "analyzers/TraceRangeScan.h"
#include "seismic/SegyFieldRanges.h"
#include "ui_SegyAnalyzer.h"

#include <QByteArray>
#include <QDialog>
#include <QStringList>
#include <QTimer>
#include <QVector>
#include <memory>

class BackgroundTraceScan;
class ExtensionWordModel;
class Histogram;
class ObrConsole;
class QProgressBar;
class QPlainTextEdit;
class QSplitter;
class QStandardItemModel;
class QTableView;
class SegyData;
class SegyFormat;
class SegyFormatFile;
class Spectra;
class TraceDisplay;
class TraceWordModel;
class TracePlotControls;

// The window in which a user takes an unknown SEG-Y file apart: byte order, text encoding,
// binary header words and the byte and type of every trace header field. Each choice is
// written into the format in force at once and the file is read again through it, so the
// tables, ranges and pictures always show the file as the format reads it.
class SegyAnalysis : public QDialog, private Ui::SegyAnalyzerClass {
    Q_OBJECT
public:
    SegyAnalysis(ObrConsole* console, const QString& seismicDirectory, QWidget* parent,
                 const QString& standardFormatPath, const QString& fileName);
    ~SegyAnalysis() override;

    // The data set being analysed, or null.
    SegyData* dataSet() const { return data.get(); }
    SegyFormat* formatInForce() const { return format; }
    int scanFirst() const { return scanFirstTrace; }
    int scanLast() const { return scanLastTrace; }
    const TraceDisplaySettings& displaySettings() const { return settings; }
    TraceDisplay* seismicImage() const { return seismicView; }
    Spectra* spectraImage() const { return spectraView; }
    Histogram* histogramImage() const { return histogramView; }
    // True while a scan of the trace range runs in the background.
    bool scanning() const;
    TracePlotControls* plotControls() const { return displayControls; }
    // The side panel with the header words of the trace last clicked in the plot.
    QPlainTextEdit* traceHeaderPanel() const { return headerPanel; }

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

private slots:
    void on_IsLittleEndian_toggled(bool checked);
    void on_GetEndian_toggled(bool checked);
    void on_IsBigEndian_toggled(bool checked);
    void on_IsASCII_toggled(bool checked);
    void on_IsEBCDIC_toggled(bool checked);
    void on_SampleFormat_Override_clicked();
    void on_SampleInterval_Override_clicked();
    void on_SamplesPerTrace_Override_clicked();
    void on_SampleFormat_StartByte_editingFinished();
    void on_SampleInterval_StartByte_editingFinished();
    void on_SamplesPerTrace_StartByte_editingFinished();
    void on_SampleFormat_DataType_currentIndexChanged(int index);
    void on_SampleInterval_DataType_currentIndexChanged(int index);
    void on_SamplesPerTrace_DataType_currentIndexChanged(int index);
    void on_CreateHistogram_clicked();
    void on_Histogram_LastTrace_editingFinished();
    void on_Histogram_FirstTrace_editingFinished();
    void on_Histogram_StartTime_editingFinished();
    void on_Histogram_EndTime_editingFinished();
    void on_CreateSpectra_clicked();
    void on_Spectra_LastTrace_valueChanged(int value);
    void on_Spectra_FirstTrace_valueChanged(int value);
    void on_Spectra_EndTime_editingFinished();
    void on_Spectra_StartTime_editingFinished();
    void on_LastTraceInRange_valueChanged(int value);
    void on_FirstTraceInRange_valueChanged(int value);
    void on_LastTraceInRange_editingFinished();
    void on_FirstTraceInRange_editingFinished();
    void on_FirstDisplayTrace_valueChanged(int value);
    void on_LastDisplayTrace_valueChanged(int value);
    void on_ExportSpectra_clicked();
    void on_ExportHistogram_clicked();
    void on_Help_clicked();

private:
    // Connected explicitly in the constructor (their names match no automatic connection).
    void on_SampleFormat_changed(int index);
    void on_HorizontalScale_changed(double value);
    void on_VerticalScale_changed(double value);
    void on_Gain_changed(double value);
    void on_VerticalAnnotation_changed(int value);
    void on_PrimaryHorizontalAnnotationIncr_changed(int value);
    void on_SecondaryHorizontalAnnotationIncr_changed(int value);
    void on_PrimaryHeaderLabel_changed(int index);
    void on_SecondaryHeaderLabel_changed(int index);
    // The start byte and type edits of field row `row` (SegyFieldRanges order).
    void fieldStartByteEdited(int row);
    void fieldTypeChanged(int row, int index);
    // The user changed the format: the window is marked until the format is saved.
    void formatEdited();

    // Opening and reading.
    bool openSegyFile();
    bool loadStandardFormat();
    bool reopenDataSet();
    void setTitleFromFileName();
    // Ctrl+O, Ctrl+W, Ctrl+E, F1 and the "Recent files" button.
    void addFileActions();
    // Starts reading the scan range in the background; scanFinished shows what it found.
    void scanTraceRange();
    void scanFinished();
    void showScanResult(const TraceRangeScan::Result& result);
    std::unique_ptr<TraceRangeScan> traceRangeScan() const;
    // A scan range typed or stepped is applied when editing ends or after a short pause.
    void scanRangeEdited(bool firstChanged);
    void applyScanRange();
    void fullRefresh();
    void redrawSeismicView();
    void showTraceHeader(int index);
    // Pictures of the file before: removed, or redrawn for this file when they were shown.
    void replaceFilePictures();

    // Tables and controls.
    void buildBinaryHeaderTables();
    void describeBinaryHeaderWords();
    void fillBinaryHeaderValues();
    void buildTraceHeaderTables();
    void describeTraceHeaderWords();
    void describeTraceWordTable(int table);
    // The tab of the words of trace header extension 1, shown while the scanned headers hold it.
    void addExtensionTable();
    void showExtensionWords();
    // After a background scan: the table in view first, then one table per turn of the event
    // loop, since laying out hundreds of trace columns takes a while.
    void describeTablesInTurn(QVector<int> tables);
    void readBinaryHeaderWords();
    void binaryWordEdited();
    void showFieldRanges();
    void populateControls();
    void showTextHeader();
    void fillTypeCombos();
    // Range fields wide enough for a coordinate of 10 digits and one decimal, with its sign, and
    // all of them in view.
    void widenRangeFields();
    void setScanRangeControls();
    QLineEdit* rowEdit(int row, const char* suffix) const;

    // Spectra and histograms.
    void correctTraceRange(QSpinBox* first, QSpinBox* last, bool firstChanged);
    void correctTimeRange(QLineEdit* start, QLineEdit* end, bool startChanged);
    void createSpectra();
    void createHistogram();

    std::unique_ptr<SegyFormat> buildFormatFromControls() const;
    QVector<HeaderWordTables::BinaryWord> binaryWords() const;
    HeaderWordTables::SlotLookup slotLookup() const;
    double recordTime() const;

    ObrConsole* console;
    QString fileName;
    QString seismicDirectory;
    QString standardFormatPath;
    QStringList dataTypeNames;
    std::unique_ptr<SegyFormatFile> formatFile;
    std::unique_ptr<SegyFormat> builtInFormat;
    SegyFormat* format = nullptr;
    bool formatLoaded = false;
    std::unique_ptr<SegyData> data;
    int scanFirstTrace = 1;
    int scanLastTrace = 1;
    QVector<QByteArray> rawHeaders;
    SegyFieldRanges fieldRanges;
    QStandardItemModel* binaryTwoByteModel;
    QStandardItemModel* binaryFourByteModel;
    QVector<TraceWordModel*> traceWordModels; // 1-byte, 2-byte, 4-byte, IBM, IEEE
    ExtensionWordModel* extensionWordModel = nullptr;
    QTableView* extensionTable = nullptr;
    BackgroundTraceScan* scanner;
    QProgressBar* scanProgress;
    // A typed or stepped scan range waits this long for the next key before it is read.
    static constexpr int scanRangePauseMs = 400;
    QTimer scanRangePause;
    // Tables still to show the last scan; a newer scan result starts the round again.
    int tableRound = 0;
    bool tablesPending = false;
    bool scanFirstEdited = false;
    TraceDisplaySettings settings;
    TraceDisplay* seismicView = nullptr;
    Spectra* spectraView = nullptr;
    Histogram* histogramView = nullptr;
    TracePlotControls* displayControls = nullptr;
    QSplitter* plotSplitter = nullptr;
    QPlainTextEdit* headerPanel = nullptr;
    bool updating = false;
};
