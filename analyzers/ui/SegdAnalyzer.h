#pragma once

#include "analyzers/TraceDisplaySettings.h"
#include "ui_SegdAnalyzer.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <memory>
#include <vector>

class ObrConsole;
class QStandardItemModel;
class SegdData;
class TracePlotControls;
class TracePlotView;
class TraceQcPanel;
class TraceGather;

// The window that shows what is inside the SEG-D field files of a directory: the general,
// extended, external and scan headers of the chosen file, a hex dump of any byte range, the
// trace headers with their Sercel extensions (and their export as text) and a trace plot. Files
// of other recorders are shown as the standard reads them, the Sercel fields blank; a damaged
// file shows its hex dump and every header that could be read. It only reads.
class SegdAnalyzer : public QDialog, private Ui::SegdAnalyzerUi {
    Q_OBJECT
public:
    // path is the dataset directory, or a field file that is then shown at once.
    SegdAnalyzer(ObrConsole* console, QWidget* parent, const QString& path);
    ~SegdAnalyzer() override;

    // The field file shown (null when none could be opened); ok() tells whether it reads whole.
    SegdData* dataSet() const { return data.get(); }
    TraceGather* recordGather() const { return gather.get(); }
    TracePlotView* seismicImage() const { return plot; }
    TracePlotControls* plotControls() const { return displayControls; }
    const TraceDisplaySettings& displaySettings() const { return settings; }
    bool isLoaded() const { return loaded; }

private slots:
    void on_DirBrowse_clicked();
    void on_ChannelSet_valueChanged(int chanSet);
    void on_HexRefresh_clicked();
    void on_HexStartByte_valueChanged(int start);
    void on_FirstDumpTrace_valueChanged(int first);
    void on_DumpTraceCount_valueChanged(int count);
    void on_OutputToFile_clicked();
    void on_FileList_currentIndexChanged(int index);
    void on_Help_clicked();

private:
    // Connected in the constructor: the names match no automatic connection.
    void on_HorizontalScale_changed(double value);
    void on_VerticalScale_changed(double value);
    void on_Gain_changed(double value);
    void on_FirstDisplayTrace_changed(int value);
    void on_LastDisplayTrace_changed(int value);

    void chooseDirectory(const QString& chosen);
    void showFirstFile(const QStringList& files);
    // Opens the field file and shows what can be read of it; a file of another recorder is said
    // by a message box (warnByBox) or on the console.
    void openFile(const QString& name, bool warnByBox);
    void fillFileList(const QStringList& files);
    void showHeaders();
    void showFields(const QString& suffix, const QString& text);
    void showGeneralHeaders();
    void showChannelSet(int chanSet);
    void readWholeRecord();
    void setHexRange();
    void hexDump();
    void setTraceRange();
    void buildTraceHeaderTable();
    void setUpSeismicView();
    void suitTimingLines();
    void redrawSeismicView();
    void checkTraces();
    void clearViews();
    // The hex dump's and the trace header table's fields as the form starts them: a file
    // opened is shown from its start, not at the last file's place.
    void resetFileFields();
    void warn(const QString& text);

    ObrConsole* console;
    QString directory;
    QString fileName;
    std::unique_ptr<SegdData> data;
    std::unique_ptr<TraceGather> gather;
    QStandardItemModel* traceHeaderModel = nullptr;
    TracePlotView* plot = nullptr;
    TracePlotControls* displayControls = nullptr;
    TraceQcPanel* qcPanel = nullptr;
    TraceDisplaySettings settings;
    bool loaded = false;
    struct FieldStart {
        QSpinBox* box;
        int maximum;
        int value;
    };
    std::vector<FieldStart> fileFields;
};
