#include "copy/ui/SegyCopy.h"

#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "copy/SegyCopyJob.h"

namespace {} // namespace

SegyCopy::SegyCopy(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry,
                   QWidget* parent)
    : CopyToolDialog(seismicDirectory, console, registry, parent)
{
    setupUi(this);
    bind({InputBrowse, InTapeBrowse, InTapeCtrl, InputName, OutputBrowse, OutTapeBrowse, OutTapeCtrl,
          OutputName, ProgressTx, Progress, ProgressBar, Copy});
}

void SegyCopy::on_Close_clicked()
{
    reject();
}

void SegyCopy::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("segycopy.html"));
}

void SegyCopy::on_InputBrowse_clicked()
{
    browseInput(FileDialogs::segyFilter);
}

void SegyCopy::on_InTapeBrowse_clicked()
{
    chooseInputTape();
}

void SegyCopy::on_InTapeCtrl_clicked()
{
    controlInputTape();
}

void SegyCopy::on_OutputBrowse_clicked()
{
    browseOutput(FileDialogs::segyFilter);
}

void SegyCopy::on_OutTapeBrowse_clicked()
{
    chooseOutputTape();
}

void SegyCopy::on_OutTapeCtrl_clicked()
{
    controlOutputTape();
}

void SegyCopy::on_Copy_clicked()
{
    SegyCopyJob job(console, this, inputEndpoint(), outputEndpoint());
    runJob(job);
}
