#pragma once

#include "copy/DirCopyOperator.h"
#include "devices/ui/UsedDrives.h"
#include "ui_SegyDirCopy.h"

#include <QDialog>
#include <QStringList>

class JobResultView;
class ObrConsole;
class TapeDevice;
class TapeDriveList;

// The "Copy Multiple SEG Y files" tool and, in SEG-D mode, "Copy SEG Y to SEG D files": a queue
// of input directories or an input tape, an output directory or an output tape, and the job's
// operator (tape changes, progress, Abort).
class SegyDirCopy : public QDialog, public DirCopyOperator, public Ui::SegyDirCopyUi {
    Q_OBJECT
public:
    // revision: 21 or 31, the SEG-D revision preselected in SEG-D mode.
    SegyDirCopy(const QString& seismicDirectory, bool segdMode, int revision, ObrConsole* console,
                TapeDriveList* registry, QWidget* parent);

    // What the directory dialogs set; false (reported) for a directory that is not taken.
    bool addInputDirectory(const QString& path);
    void setOutputDirectory(const QString& path);
    int segdRevision() const { return revision; }

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override {}
    bool keepAlive() override;
    bool replaceFile(const QString& path) override;
    TapeDevice* nextInputTape(TapeDevice* drive) override;
    TapeStart startOnTapeWithData(TapeDevice* drive, int files) override;
    TapeDevice* nextOutputTape(TapeDevice* drive) override;
    void showCurrentFile(const QString& text) override { CurrentFile->setText(text); }

public slots:
    void reject() override;

private slots:
    void on_Close_clicked();
    void on_Help_clicked();
    void on_AddInputDir_clicked();
    void on_RemoveInputDir_clicked();
    void on_InTapeBrowse_clicked();
    void on_InTapeCtrl_clicked();
    void on_OutDirBrowse_clicked();
    void on_OutTapeBrowse_clicked();
    void on_OutTapeCtrl_clicked();
    void on_OutputLimit_toggled(bool checked);
    void on_OutBaseName_editingFinished();
    void on_FileBrowse_clicked();
    void on_Copy_clicked();
    void on_Rev21_clicked() { revision = 21; }
    void on_Rev31_clicked() { revision = 31; }

private:
    struct QueuedDirectory {
        QString path;
        int files;
        qint64 bytes;
    };

    // A tape on both sides must be two drives.
    bool drivesDiffer(TapeDevice* input, TapeDevice* output);
    void updateControls();
    void updateTotals();
    void runJob();
    QString startDirectory() const;

    QString seismicDirectory;
    bool segdMode;
    int revision;
    ObrConsole* console;
    TapeDriveList* registry;
    QList<QueuedDirectory> queue;
    TapeDevice* inputTape = nullptr;
    TapeDevice* outputTape = nullptr;
    QString outputDirectory;
    qint64 progressTotal = 0;
    bool running = false;
    bool abortAsked = false;
    JobResultView* resultView;
    // Last, so the drives close before anything else of the window goes.
    UsedDrives usedDrives;
};
