#pragma once

#include "copy/ui/CopyToolDialog.h"
#include "ui_SegyCopy.h"

// The "Copy Single SEG Y file" tool: one SEG-Y data set from a disk file or a tape
// to a disk file or a tape, byte for byte.
class SegyCopy : public CopyToolDialog, public Ui::SegyCopyUi {
    Q_OBJECT
public:
    SegyCopy(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry, QWidget* parent);

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
