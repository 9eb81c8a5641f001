#pragma once

#include "copy/NumberList.h"
#include "copy/SegdCopyJob.h"
#include "copy/ui/CopyToolDialog.h"
#include "ui_SegdCopy.h"

// The "Copy SEG D files" tool: SEG-D field files from a directory, a tape or a directory a
// recording system is writing into, to a directory or a tape, as they are.
class SegdCopy : public CopyToolDialog, public Ui::SegdCopyUi {
    Q_OBJECT
public:
    SegdCopy(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry, QWidget* parent);

    // The next output tape once one is full, chosen in the tape change prompt.
    TapeDevice* nextOutputTape(TapeDevice* drive);

protected:
    void inputChanged() override;

private slots:
    void on_Close_clicked();
    void on_Help_clicked();
    void on_InDirBrowse_clicked();
    void on_InTapeBrowse_clicked();
    void on_InTapeCtrl_clicked();
    void on_OutDirBrowse_clicked();
    void on_OutTapeBrowse_clicked();
    void on_OutTapeCtrl_clicked();
    void on_Copy_clicked();
    void on_Abort_clicked();
    void on_OutputLimit_clicked();
    void on_RangeOptions_clicked();
    void on_ZeroOptions_clicked();
    void on_PrependBrowse_clicked();
    void on_ReportBrowse_clicked();
    // The options that apply to the chosen source and target.
    void updateControls();

private:
    // The job's options from the form; false (reported) when a list or a file is missing.
    bool jobOptions(SegdCopyJob::Options* options);

    TapeDriveList* registry;
    QString rangeText;
    NumberList range;
    bool exclude = false;
    QString zeroText;
    NumberList zeroChannels;
};
