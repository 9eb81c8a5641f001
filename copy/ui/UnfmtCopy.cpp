#include "copy/ui/UnfmtCopy.h"

#include "base/ui/OnlineDocumentation.h"
#include "copy/UnfmtCopyJob.h"

#include <QFileInfo>

namespace {
const QString anyFilter = QStringLiteral("All files (*)");
} // namespace

UnfmtCopy::UnfmtCopy(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry,
                     QWidget* parent)
    : CopyToolDialog(seismicDirectory, console, registry, parent)
{
    setupUi(this);
    UserBlockSize->setRange(1, CopyJob::workBufferSize);
    UserBlockSize->setValue(UnfmtCopyJob::defaultBlockSize);
    bind({InputBrowse, InTapeBrowse, InTapeCtrl, InputName, OutputBrowse, OutTapeBrowse, OutTapeCtrl,
          OutputName, ProgressTx, Progress, ProgressBar, Copy});
}

void UnfmtCopy::inputChanged()
{
    // The block size cuts a disk input; a tape keeps its own blocks.
    for (QWidget* widget : {static_cast<QWidget*>(UserBlockSizeTx1), static_cast<QWidget*>(UserBlockSize),
                            static_cast<QWidget*>(UserBlockSizeTx2)})
        widget->setEnabled(inputIsFile);
    InputFileSize->setText(inputIsFile ? QStringLiteral("%1 bytes").arg(QFileInfo(inputPath).size())
                                       : QString());
}

void UnfmtCopy::on_Close_clicked()
{
    reject();
}

void UnfmtCopy::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("unfmtcopy.html"));
}

void UnfmtCopy::on_InputBrowse_clicked()
{
    browseInput(anyFilter);
}

void UnfmtCopy::on_InTapeBrowse_clicked()
{
    chooseInputTape();
}

void UnfmtCopy::on_InTapeCtrl_clicked()
{
    controlInputTape();
}

void UnfmtCopy::on_OutputBrowse_clicked()
{
    browseOutput(anyFilter);
}

void UnfmtCopy::on_OutTapeBrowse_clicked()
{
    chooseOutputTape();
}

void UnfmtCopy::on_OutTapeCtrl_clicked()
{
    controlOutputTape();
}

void UnfmtCopy::on_Copy_clicked()
{
    UnfmtCopyJob job(console, this, inputEndpoint(), outputEndpoint(), UserBlockSize->value());
    runJob(job);
}
