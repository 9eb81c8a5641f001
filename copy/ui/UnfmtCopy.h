#pragma once

#include "copy/ui/CopyToolDialog.h"
#include "ui_UnfmtCopy.h"

// The "Copy unformatted files" tool: any data, block by block, between disk files
// and tapes; a disk input is cut into blocks of the size chosen here.
class UnfmtCopy : public CopyToolDialog, public Ui::UnfmtCopyUi {
    Q_OBJECT
public:
    UnfmtCopy(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry, QWidget* parent);

protected:
    void inputChanged() override;

private slots:
    void on_Close_clicked();
    void on_Help_clicked();
    void on_InputBrowse_clicked();
    void on_InTapeBrowse_clicked();
    void on_InTapeCtrl_clicked();
    void on_OutputBrowse_clicked();
    void on_OutTapeBrowse_clicked();
    void on_OutTapeCtrl_clicked();
    void on_Copy_clicked();
};
