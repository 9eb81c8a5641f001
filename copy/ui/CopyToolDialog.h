#pragma once

#include "copy/CopyJob.h"
#include "copy/CopyOperator.h"
#include "devices/ui/UsedDrives.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QString>
#include <functional>

class JobResultView;
class ObrConsole;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class TapeDevice;
class TapeDriveList;

// What the copy windows share: the source and the target (a disk file or a drive
// chosen in the tape select dialog), the tape mini controller on either, and running
// a job as its operator: the tape change prompt, the progress widgets and the events
// that keep the window alive. Closing the window while a job runs asks the operator whether to
// stop it.
class CopyToolDialog : public QDialog, public CopyOperator {
    Q_OBJECT
public:
    // What the browse buttons and the tape select dialog set.
    void setInputFile(const QString& path);
    void setOutputFile(const QString& path);
    void setInputTape(TapeDevice* drive);
    void setOutputTape(TapeDevice* drive);
    bool copying() const { return running; }

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override;
    bool keepAlive() override;
    bool replaceFile(const QString& path) override;
    TapeDevice* nextInputTape(TapeDevice* drive) override;
    TapeStart startOnTapeWithData(TapeDevice* drive, int files) override;

public slots:
    void reject() override;

protected:
    // The form's widgets this class works.
    struct Controls {
        QPushButton* inputBrowse;
        QPushButton* inTapeBrowse;
        QPushButton* inTapeCtrl;
        QLineEdit* inputName;
        QPushButton* outputBrowse;
        QPushButton* outTapeBrowse;
        QPushButton* outTapeCtrl;
        QLineEdit* outputName;
        QLabel* progressTx;
        QLabel* progress;
        QProgressBar* progressBar;
        QPushButton* copy;
    };

    // The file dialogs start in seismicDirectory (the project's), else in the current directory.
    CopyToolDialog(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry,
                   QWidget* parent);
    // Called by the subclass once its form is built.
    void bind(const Controls& controls);

    void browseInput(const QString& filter);
    void browseOutput(const QString& filter);
    void chooseInputTape();
    void chooseOutputTape();
    void controlInputTape();
    void controlOutputTape();
    // Runs the job with the choosing buttons disabled and the progress shown.
    // The window shows the outcome the job returns when it ends.
    void runJob(CopyJob& job);
    void runJob(const std::function<JobResult()>& job);
    CopyJob::Endpoint inputEndpoint() const;
    CopyJob::Endpoint outputEndpoint() const;
    // The source changed between a file and a tape.
    virtual void inputChanged() {}

    // The current project's seismic directory, where the file dialogs start.
    QString startDirectory() const;

    ObrConsole* console;
    bool inputIsFile = false;
    QString inputPath;

private:
    void updateCopyButton();
    void setChoosing(bool enabled);
    void drawProgress();

    QString seismicDirectory;
    TapeDriveList* registry;
    Controls ui{};
    JobResultView* resultView = nullptr;
    TapeDevice* inputTape = nullptr;
    TapeDevice* outputTape = nullptr;
    QString outputPath;
    // The output chosen in the save dialog, which asked already whether to replace it.
    QString confirmedOutput;
    bool outputIsFile = false;
    bool running = false;
    bool stopAsked = false;
    qint64 progressTotal = 0;
    qint64 progressDone = 0;
    qint64 progressDivisor = 1;
    QElapsedTimer sinceShown;
    // Last, so the drives close before anything else of the window goes.
    UsedDrives usedDrives;
};
