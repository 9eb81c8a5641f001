#pragma once

#include "copy/CopyOperator.h"
#include "copy/TapeScanResult.h"
#include "ui_TapeScan.h"

#include <QDialog>
#include <QList>
#include <memory>
#include <vector>

class ObrConsole;
class TapeDevice;
class TapeDriveList;

// The "Tape Scan - SEGD" and "Tape Scan - SEGY" tools: a drive of the registry or a tape image is
// read from its start to its end of data, and the files it holds are listed with a summary, which
// can be saved as text or CSV. The tape is only read.
class TapeScan : public QDialog, public Ui::TapeScanUi, public JobProgress {
    Q_OBJECT
public:
    // `registry` (may be null) lends its drives; a scan opens the chosen one and closes it again.
    TapeScan(TapeScanMode mode, ObrConsole* console, TapeDriveList* registry, QWidget* parent);
    ~TapeScan() override;

    // Adds the tape image at `path` to the drives and chooses it; false when it cannot be used.
    bool addImage(const QString& path);
    bool scanning() const { return running; }
    const TapeScanResult& result() const { return result_; }

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override {}
    bool keepAlive() override;
    // The scan writes no file: nothing is ever to be replaced.
    bool replaceFile(const QString&) override { return false; }

public slots:
    // While a scan runs, closing the window stops it first.
    void reject() override;

private slots:
    void on_ImageBrowse_clicked();
    void on_Start_clicked();
    void on_Abort_clicked();
    void on_SaveReport_clicked();
    void on_Help_clicked();
    void on_Close_clicked();

private:
    void addDrive(TapeDevice* drive);
    void showResult();
    void setRunning(bool value);

    TapeScanMode mode;
    ObrConsole* console;
    QList<TapeDevice*> drives;
    // The registries of the tape images chosen here.
    std::vector<std::unique_ptr<TapeDriveList>> images;
    TapeScanResult result_;
    bool running = false;
    bool abortAsked = false;
};
