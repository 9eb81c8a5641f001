#pragma once

#include "app/StartupProject.h"
#include "ui_IoMainWindow.h"

#include <QMainWindow>
#include <QString>

class IoApp;

// The main window: the tool buttons and the console area. Each tool is a modal dialog made on
// a click, run and destroyed; the window hands it the console, the project's directories and
// the tape drives.
class IoMainWindow : public QMainWindow, private Ui::IoMainWindowUi {
    Q_OBJECT
public:
    IoMainWindow(IoApp* application, QWidget* parent = nullptr, Qt::WindowFlags flags = Qt::Window);

    // Makes the description file at path the current project. True when it was read and the
    // project's location exists; a missing location is also shown in a warning box.
    bool openProject(const QString& path);
    // Opens the analyzer that matches the kind of file at path (the file a file manager hands the
    // program); a file that is missing or of no kind the window opens gets a message box instead.
    void openFile(const QString& path);

    // Opens the SEG-Y analyzer on a file, as "SEG Y Analyzer" does after choosing it.
    void openSegyAnalyzer(const QString& file);

protected:
    void closeEvent(QCloseEvent* event) override;
    // A SEG-Y file dropped on the window opens in the analyzer.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private slots:
    void on_SegdAnalyzerButton_clicked();
    void on_SegyAnalyzerButton_clicked();
    void on_Analyze_Source_Record_clicked();
    void on_Analyze_Receiver_Record_clicked();
    void on_Analyze_Relation_Record_clicked();
    void on_CopySegdFiles_clicked();
    void on_CopySingleSegy_clicked();
    void on_CopyMultipleSegy_clicked();
    void on_CopyUnfmtFiles_clicked();
    void on_CopySEGYtoSEGD_clicked();
    void on_Merge_SEGY_Files_clicked();
    void on_TapeScanSEGDButton_clicked();
    void on_TapeScanSEGYButton_clicked();

private:
    // Ctrl+O, Ctrl+W, F1 and the "Recent files" button.
    void addFileActions();
    void chooseSegyFile();
    QString seismicDirectory() const;
    void openStartupProject();
    void createTapeDrives();
    StartupProject::WorkingDirectories workingDirectories() const;
    // Asks for an SPS file in the project's survey directory; the chosen path, or an empty text
    // when the user cancelled or the file does not exist.
    QString chooseSpsFile(const QString& caption);
    QString surveyDirectory() const;
    // path: a SEG-D field file, shown at once, or a directory of them.
    void analyzeSegd(const QString& path);
    void analyzeSpsSource(const QString& path);
    void analyzeSpsReceiver(const QString& path);
    void analyzeSpsRelation(const QString& path);

    IoApp* application;
    QString rootDirectory;
    QString segyFormatsDirectory;
    QString projectFilesDirectory;
    QString colorScaleFormatsDirectory;
};
