#include "copy/ui/SegdCopy.h"

#include "base/ObrConsole.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "copy/OutputTapeOperator.h"
#include "copy/ReportConsole.h"
#include "copy/ui/SegdListDialog.h"
#include "devices/TapeDevice.h"
#include "devices/ui/TapeContinueDlg.h"
#include "seismic/SegdFolder.h"

#include <QFileDialog>
#include <cmath>

namespace {

// The window as the job's operator: progress and input tapes as for every copy tool, and
// output tapes through the tape change prompt.
class DialogOperator : public OutputTapeOperator {
public:
    explicit DialogOperator(SegdCopy& dialog) : dialog(dialog) {}

    void startProgress(qint64 total) override { dialog.startProgress(total); }
    void showProgress(qint64 done) override { dialog.showProgress(done); }
    void endProgress() override { dialog.endProgress(); }
    bool keepAlive() override { return dialog.keepAlive(); }
    bool replaceFile(const QString& path) override { return dialog.replaceFile(path); }
    TapeDevice* nextInputTape(TapeDevice* drive) override { return dialog.nextInputTape(drive); }
    TapeStart startOnTapeWithData(TapeDevice* drive, int files) override
    {
        return dialog.startOnTapeWithData(drive, files);
    }
    TapeDevice* nextOutputTape(TapeDevice* drive) override { return dialog.nextOutputTape(drive); }

private:
    SegdCopy& dialog;
};

} // namespace

SegdCopy::SegdCopy(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry,
                   QWidget* parent)
    : CopyToolDialog(seismicDirectory, console, registry, parent), registry(registry)
{
    setupUi(this);
    MaximumBlockKBytes->setValue(SegdCopyJob::defaultBlockKBytes);
    bind({InDirBrowse, InTapeBrowse, InTapeCtrl, InputName, OutDirBrowse, OutTapeBrowse, OutTapeCtrl,
          OutputName, ProgressTx, Progress, ProgressBar, Copy});
    for (QCheckBox* box : {RangeLimit, ZeroTraces, OutputLimit, Prepend, BlockTraces, ReportFile})
        connect(box, &QCheckBox::toggled, this, &SegdCopy::updateControls);
    connect(OutputName, &QLineEdit::textChanged, this, &SegdCopy::updateControls);
    Abort->setEnabled(false);
    updateControls();
}

void SegdCopy::inputChanged()
{
    updateControls();
}

void SegdCopy::updateControls()
{
    const bool idle = !copying();
    // Watching suits a directory only; it may be chosen before the directory, which may be empty.
    RealTimeInput->setEnabled(idle && !inputEndpoint().tape);
    RangeOptions->setEnabled(idle && RangeLimit->isChecked());
    ZeroOptions->setEnabled(idle && ZeroTraces->isChecked());
    const bool tapeOutput = outputEndpoint().tape != nullptr;
    for (QWidget* widget : {static_cast<QWidget*>(OutputLimit), static_cast<QWidget*>(Prepend),
                            static_cast<QWidget*>(BlockTraces), static_cast<QWidget*>(WriteEOFs)})
        widget->setEnabled(idle && tapeOutput);
    for (QWidget* widget : {static_cast<QWidget*>(OutputBytesTx), static_cast<QWidget*>(OutputBytes),
                            static_cast<QWidget*>(OutputBytesTx2)})
        widget->setEnabled(idle && tapeOutput && OutputLimit->isChecked());
    for (QWidget* widget : {static_cast<QWidget*>(PrependBrowse), static_cast<QWidget*>(PrependFileTx),
                            static_cast<QWidget*>(PrependFile)})
        widget->setEnabled(idle && tapeOutput && Prepend->isChecked());
    for (QWidget* widget : {static_cast<QWidget*>(OutputBytesTx_4), static_cast<QWidget*>(MaximumBlockKBytes),
                            static_cast<QWidget*>(MaximumBlockKBytesTx2)})
        widget->setEnabled(idle && tapeOutput && BlockTraces->isChecked());
    // Names are for disk files only.
    groupBox->setEnabled(idle && !tapeOutput);
    ReportBrowse->setEnabled(idle && ReportFile->isChecked());
    ReportName->setEnabled(ReportFile->isChecked());
    ReportAppend->setEnabled(idle && ReportFile->isChecked());
    Abort->setEnabled(!idle);
}

void SegdCopy::on_Close_clicked()
{
    reject();
}

void SegdCopy::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("segdcopy.html"));
}

void SegdCopy::on_InDirBrowse_clicked()
{
    const QString directory =
        FileDialogs::existingFolder(this, QStringLiteral("Select input directory"), startDirectory());
    if (directory.isEmpty())
        return;
    const int files = SegdFolder::list(directory).names.size();
    // A watched directory fills while the job runs.
    if (files == 0 && !RealTimeInput->isChecked()) {
        console->error(QStringLiteral("no SEG-D files found in directory %1").arg(directory), true);
        return;
    }
    setInputFile(directory);
    InputName->setText(QStringLiteral("%1   [%2 files]").arg(directory).arg(files));
}

void SegdCopy::on_InTapeBrowse_clicked()
{
    chooseInputTape();
}

void SegdCopy::on_InTapeCtrl_clicked()
{
    controlInputTape();
}

void SegdCopy::on_OutDirBrowse_clicked()
{
    const QString directory =
        FileDialogs::existingFolder(this, QStringLiteral("Select output directory"), startDirectory());
    if (!directory.isEmpty())
        setOutputFile(directory);
}

void SegdCopy::on_OutTapeBrowse_clicked()
{
    chooseOutputTape();
}

void SegdCopy::on_OutTapeCtrl_clicked()
{
    controlOutputTape();
}

void SegdCopy::on_OutputLimit_clicked()
{
    updateControls();
}

void SegdCopy::on_RangeOptions_clicked()
{
    SegdListDialog dialog(QStringLiteral("Range limit field files"), QStringLiteral("Field file numbers:"),
                          true, this);
    dialog.setText(rangeText);
    dialog.setExclude(exclude);
    if (dialog.exec() != QDialog::Accepted)
        return;
    rangeText = dialog.text();
    range = dialog.list();
    exclude = dialog.exclude();
}

void SegdCopy::on_ZeroOptions_clicked()
{
    SegdListDialog dialog(QStringLiteral("Zero selected traces"), QStringLiteral("Seismic channel numbers:"),
                          false, this);
    dialog.setText(zeroText);
    if (dialog.exec() != QDialog::Accepted)
        return;
    zeroText = dialog.text();
    zeroChannels = dialog.list();
}

void SegdCopy::on_PrependBrowse_clicked()
{
    const QString path = FileDialogs::openFileName(this, QStringLiteral("Select file to prepend"),
                                                   startDirectory(), QStringLiteral("All files (*)"));
    if (!path.isEmpty())
        PrependFile->setText(path);
}

void SegdCopy::on_ReportBrowse_clicked()
{
    const QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Select report file"),
                                                      startDirectory(), QStringLiteral("Text files (*.txt)"),
                                                      nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        ReportName->setText(path);
}

bool SegdCopy::jobOptions(SegdCopyJob::Options* options)
{
    const bool tapeOutput = outputEndpoint().tape != nullptr;
    const auto missing = [this](const QString& text) {
        console->error(text, true);
        return false;
    };
    if (RangeLimit->isChecked() && rangeText.isEmpty())
        return missing(QStringLiteral(
            "no field file list for \"Range limit field files\": give one with its Options..."));
    if (ZeroTraces->isChecked() && zeroText.isEmpty())
        return missing(
            QStringLiteral("no channel list for \"Zero selected traces\": give one with its Options..."));
    if (tapeOutput && Prepend->isChecked() && PrependFile->text().isEmpty())
        return missing(QStringLiteral("no file to prepend to the output tape: choose one with Browse..."));
    if (ReportFile->isChecked() && ReportName->text().isEmpty())
        return missing(QStringLiteral("no report file: choose one with Browse..."));
    options->input = inputEndpoint();
    options->output = outputEndpoint();
    options->realTime = inputIsFile && RealTimeInput->isChecked();
    options->rangeLimit = RangeLimit->isChecked();
    options->exclude = exclude;
    options->range = range;
    options->zeroTraces = ZeroTraces->isChecked();
    options->zeroChannels = zeroChannels;
    options->blockTraces = tapeOutput && BlockTraces->isChecked();
    options->maximumBlockKBytes = MaximumBlockKBytes->value();
    options->writeEofs = tapeOutput && WriteEOFs->isChecked();
    if (tapeOutput && OutputLimit->isChecked())
        options->tapeLimit = qint64(std::llround(OutputBytes->value() * SegdCopyJob::tapeLimitUnit));
    if (tapeOutput && Prepend->isChecked())
        options->prependFile = PrependFile->text();
    options->prependName = OutputPrependName->text().trimmed();
    options->lineName = LineNameOption->isChecked();
    options->ffidNames = FfidOption->isChecked();
    return true;
}

void SegdCopy::on_Copy_clicked()
{
    SegdCopyJob::Options options;
    if (!jobOptions(&options))
        return;
    ReportConsole report(console);
    QString errorText;
    if (ReportFile->isChecked() && !report.open(ReportName->text(), ReportAppend->isChecked(), &errorText)) {
        console->error(errorText, true);
        return;
    }
    DialogOperator copyOperator(*this);
    runJob([&]() {
        updateControls();
        SegdCopyJob job(&report, &copyOperator, options);
        static_cast<void>(job.run());
        return job.result();
    });
    updateControls();
}

void SegdCopy::on_Abort_clicked()
{
    // Closing the window while a job runs asks it to stop; so does this button.
    if (copying())
        reject();
}

TapeDevice* SegdCopy::nextOutputTape(TapeDevice* drive)
{
    TapeContinueDlg prompt(drive, registry, this);
    if (prompt.exec() != QDialog::Accepted)
        return nullptr;
    TapeDevice* next = prompt.currentDrive();
    // A drive loaded in the prompt may stand opened for reading.
    if (next && next->mode() != 1) {
        next->close();
        if (!next->open(1))
            return nullptr;
    }
    if (next != outputEndpoint().tape)
        setOutputTape(next);
    return next;
}
