#pragma once

#include "ui_TapeMiniControl.h"

#include <QDialog>

class ObrConsole;
class TapeDevice;

// Positions a drive's tape by hand: rewind, skip files or blocks either way by a
// count, skip to the end of the data.
class TapeMiniControl : public QDialog, public Ui::TapeMiniControlUi {
    Q_OBJECT
public:
    // The largest count one skip takes (the SCSI SPACE count is 24 bits, signed).
    static constexpr qint64 largestCount = 0x7FFFFF;

    TapeMiniControl(QWidget* parent, ObrConsole* console, TapeDevice* drive);

private slots:
    void on_SkipCount_textChanged(const QString& text);
    void on_Rewind_clicked();
    void on_ReverseSkipFile_clicked();
    void on_ReverseSkipBlock_clicked();
    void on_ForwardSkipBlock_clicked();
    void on_ForwardSkipFile_clicked();
    void on_SkipEOD_clicked();
    void on_Close_clicked();

private:
    int count() const;
    void report(const char* direction, const char* unit, int skipped);
    void showPosition();

    ObrConsole* console;
    TapeDevice* drive;
};
