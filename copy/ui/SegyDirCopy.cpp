#include "copy/ui/SegyDirCopy.h"

#include "base/ObrConsole.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "copy/ReportConsole.h"
#include "copy/SegyDirCopyJob.h"
#include "copy/ui/JobResultView.h"
#include "copy/ui/JobStopQuestion.h"
#include "copy/ui/OutputQuestions.h"
#include "devices/TapeDevice.h"
#include "devices/ui/TapeContinueDlg.h"
#include "devices/ui/TapeMiniControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <climits>

namespace {

constexpr qint64 megabyte = 1048576;
constexpr qint64 gigabyte = 1073741824;

QString sizeText(qint64 bytes)
{
    if (bytes > gigabyte)
        return QStringLiteral("%1 GB").arg(bytes / gigabyte);
    if (bytes > megabyte)
        return QStringLiteral("%1 MB").arg(bytes / megabyte);
    return QStringLiteral("%1 Bytes").arg(bytes);
}

} // namespace

SegyDirCopy::SegyDirCopy(const QString& seismicDirectory, bool segdMode, int revision, ObrConsole* console,
                         TapeDriveList* registry, QWidget* parent)
    : QDialog(parent), seismicDirectory(seismicDirectory), segdMode(segdMode),
      revision(revision == 31 ? 31 : 21), console(console), registry(registry)
{
    setupUi(this);
    if (segdMode)
        setWindowTitle(QStringLiteral("Copy multiple SEGY files to SEGD files"));
    (this->revision == 31 ? Rev31 : Rev21)->setChecked(true);
    // SEG-D output goes to disk only.
    for (QWidget* widget : {static_cast<QWidget*>(Concatenate), static_cast<QWidget*>(OutTapeBrowse),
                            static_cast<QWidget*>(OutputLimit), static_cast<QWidget*>(OutputBytesTx),
                            static_cast<QWidget*>(OutputBytes), static_cast<QWidget*>(OutputBytesTx2)})
        widget->setVisible(!segdMode);
    SEGDGroup->setVisible(segdMode);
    for (QWidget* widget : {static_cast<QWidget*>(ProgressTx), static_cast<QWidget*>(Progress),
                            static_cast<QWidget*>(ProgressBar), static_cast<QWidget*>(CurrentFile)})
        widget->hide();
    resultView = JobResultView::addTo(this);
    updateControls();
    ScreenFit::fitToScreen(this);
}

QString SegyDirCopy::startDirectory() const
{
    return seismicDirectory.isEmpty() ? QDir::currentPath() : seismicDirectory;
}

void SegyDirCopy::updateControls()
{
    const bool idle = !running;
    const bool diskInput = inputTape == nullptr;
    const bool tapeOutput = outputTape != nullptr;
    const bool limit = tapeOutput && OutputLimit->isChecked();
    const bool haveInput = inputTape || !queue.isEmpty();
    const bool haveOutput = tapeOutput || !outputDirectory.isEmpty();

    AddInputDir->setEnabled(idle);
    RemoveInputDir->setEnabled(idle && diskInput && !queue.isEmpty());
    InTapeBrowse->setEnabled(idle && registry);
    InTapeCtrl->setVisible(inputTape != nullptr);
    InTapeCtrl->setEnabled(idle);
    OutDirBrowse->setEnabled(idle);
    OutTapeBrowse->setEnabled(idle && registry);
    OutTapeCtrl->setVisible(tapeOutput);
    OutTapeCtrl->setEnabled(idle);
    const bool totals = diskInput && !queue.isEmpty();
    for (QWidget* widget : {static_cast<QWidget*>(FileCountTx), static_cast<QWidget*>(FileCount),
                            static_cast<QWidget*>(FileSizeTx), static_cast<QWidget*>(FileSize)})
        widget->setVisible(totals);
    Concatenate->setEnabled(idle && !tapeOutput);
    OutBaseNameTx->setEnabled(idle && !diskInput);
    OutBaseName->setEnabled(idle && !diskInput);
    OutputLimit->setEnabled(idle && tapeOutput);
    for (QWidget* widget : {static_cast<QWidget*>(OutputBytesTx), static_cast<QWidget*>(OutputBytes),
                            static_cast<QWidget*>(OutputBytesTx2)})
        widget->setEnabled(idle && limit);
    // The record field splits a tape input; a disk input is split by file sizes.
    RecordGroup->setVisible(!diskInput);
    RecordGroup->setEnabled(idle && limit);
    DiskRecordTx1->setVisible(diskInput && tapeOutput);
    DiskRecordTx2->setVisible(diskInput && tapeOutput);
    SEGDGroup->setEnabled(idle);
    reportFile->setEnabled(idle);
    Copy->setText(running ? QStringLiteral("Abort") : QStringLiteral("Copy"));
    Copy->setEnabled(running || (haveInput && haveOutput));
    Close->setEnabled(idle);
}

void SegyDirCopy::updateTotals()
{
    qint64 files = 0;
    qint64 bytes = 0;
    for (const QueuedDirectory& queued : qAsConst(queue)) {
        files += queued.files;
        bytes += queued.bytes;
    }
    FileCount->setText(QString::number(files));
    FileSize->setText(sizeText(bytes));
    updateControls();
}

bool SegyDirCopy::addInputDirectory(const QString& path)
{
    const QString absolute = QFileInfo(path).absoluteFilePath();
    for (const QueuedDirectory& queued : qAsConst(queue)) {
        if (queued.path == absolute)
            return false;
    }
    const QString problem = SegyDirCopyJob::inputDirectoryProblem(absolute);
    if (!problem.isEmpty()) {
        console->error(problem, true);
        return false;
    }
    const QStringList files = SegyDirCopyJob::segyFiles(absolute);
    qint64 bytes = 0;
    for (const QString& file : files)
        bytes += QFileInfo(file).size();
    // A list that showed a tape now shows directories.
    if (inputTape) {
        inputTape = nullptr;
        InputQueueList->clear();
    }
    queue.append({absolute, int(files.size()), bytes});
    InputQueueList->addItem(
        QStringLiteral("%1   [%2 files]  %3 bytes ").arg(absolute).arg(files.size()).arg(bytes));
    InputQueueList->setCurrentRow(InputQueueList->count() - 1);
    updateTotals();
    return true;
}

void SegyDirCopy::on_AddInputDir_clicked()
{
    const QString path =
        FileDialogs::existingFolder(this, QStringLiteral("Select input directory"), startDirectory());
    if (!path.isEmpty())
        addInputDirectory(path);
}

void SegyDirCopy::on_RemoveInputDir_clicked()
{
    const int row = InputQueueList->currentRow();
    if (inputTape || row < 0 || row >= queue.size())
        return;
    queue.removeAt(row);
    delete InputQueueList->takeItem(row);
    updateTotals();
}

bool SegyDirCopy::drivesDiffer(TapeDevice* input, TapeDevice* output)
{
    if (!input || !output || input->name() != output->name())
        return true;
    console->error(
        QStringLiteral("input and output tape drives cannot be the same.\n\nPlease select another drive."),
        true);
    return false;
}

void SegyDirCopy::on_InTapeBrowse_clicked()
{
    TapeDevice* drive = usedDrives.choose(inputTape, registry, this, 0);
    if (!drive || !drivesDiffer(drive, outputTape))
        return;
    inputTape = drive;
    queue.clear();
    InputQueueList->clear();
    InputQueueList->addItem(drive->displayLine());
    updateControls();
}

void SegyDirCopy::on_InTapeCtrl_clicked()
{
    TapeMiniControl control(this, console, inputTape);
    control.exec();
}

void SegyDirCopy::setOutputDirectory(const QString& path)
{
    outputDirectory = path;
    outputTape = nullptr;
    OutputName->setText(path);
    OutputLimit->setChecked(false);
    updateControls();
}

void SegyDirCopy::on_OutDirBrowse_clicked()
{
    const QString path =
        FileDialogs::existingFolder(this, QStringLiteral("Select output directory"), startDirectory());
    if (!path.isEmpty())
        setOutputDirectory(path);
}

void SegyDirCopy::on_OutTapeBrowse_clicked()
{
    TapeDevice* drive = usedDrives.choose(outputTape, registry, this, 1);
    if (!drive || !drivesDiffer(inputTape, drive))
        return;
    outputTape = drive;
    outputDirectory.clear();
    OutputName->setText(drive->displayLine());
    updateControls();
}

void SegyDirCopy::on_OutTapeCtrl_clicked()
{
    TapeMiniControl control(this, console, outputTape);
    control.exec();
}

void SegyDirCopy::on_OutputLimit_toggled(bool)
{
    updateControls();
}

void SegyDirCopy::on_OutBaseName_editingFinished()
{
    // A name of path separators would write elsewhere than the output directory.
    OutBaseName->setText(OutBaseName->text().trimmed().replace(QLatin1Char('/'), QLatin1Char('_')));
}

void SegyDirCopy::on_FileBrowse_clicked()
{
    const QString path = QFileDialog::getSaveFileName(
        this, QStringLiteral("Select report file"), startDirectory(),
        QStringLiteral("Text files (*.txt);;All files (*)"), nullptr, QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty())
        FileName->setText(path);
}

void SegyDirCopy::on_Close_clicked()
{
    reject();
}

void SegyDirCopy::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("segydircopy.html"));
}

void SegyDirCopy::reject()
{
    if (!running) {
        QDialog::reject();
        return;
    }
    if (!abortAsked && JobStopQuestion::stopConfirmed(this))
        abortAsked = true;
}

void SegyDirCopy::on_Copy_clicked()
{
    if (running) {
        abortAsked = true;
        return;
    }
    runJob();
}

void SegyDirCopy::runJob()
{
    SegyDirCopyJob::Settings settings;
    for (const QueuedDirectory& queued : qAsConst(queue))
        settings.inputDirectories.append(queued.path);
    settings.inputTape = inputTape;
    settings.outputDirectory = outputTape ? QString() : outputDirectory;
    settings.outputTape = outputTape;
    settings.segd = segdMode;
    settings.revision = revision;
    settings.perRecord = segdMode && PerRecord->isChecked();
    settings.concatenate = !segdMode && !outputTape && Concatenate->isChecked();
    if (!OutBaseName->text().trimmed().isEmpty())
        settings.baseName = OutBaseName->text().trimmed();
    settings.outputLimit = outputTape && OutputLimit->isChecked();
    // What does not read as a number is 0, which the job refuses where it matters.
    settings.bytesPerTapeLimit = qint64(OutputBytes->text().toDouble() * SegyDirCopyJob::bytesPerGigabyte);
    settings.recordSize = RecordSize2->isChecked() ? 2 : 4;
    settings.recordByte = RecordByte->text().toInt();
    const QString problem = SegyDirCopyJob::settingsProblem(settings);
    if (!problem.isEmpty()) {
        console->error(problem, true);
        return;
    }

    ReportConsole jobConsole(console);
    const QString reportPath = FileName->text().trimmed();
    QString errorText;
    if (!reportPath.isEmpty() && !jobConsole.open(reportPath, AppendToReport->isChecked(), &errorText)) {
        console->error(errorText, true);
        return;
    }
    running = true;
    abortAsked = false;
    for (QWidget* widget : {static_cast<QWidget*>(ProgressTx), static_cast<QWidget*>(Progress),
                            static_cast<QWidget*>(ProgressBar), static_cast<QWidget*>(CurrentFile)})
        widget->show();
    resultView->clear();
    updateControls();
    SegyDirCopyJob job(&jobConsole, this, settings);
    static_cast<void>(job.run());
    running = false;
    for (QWidget* widget : {static_cast<QWidget*>(ProgressTx), static_cast<QWidget*>(Progress),
                            static_cast<QWidget*>(ProgressBar), static_cast<QWidget*>(CurrentFile)})
        widget->hide();
    updateControls();
    resultView->showResult(job.result());
}

bool SegyDirCopy::keepAlive()
{
    QCoreApplication::processEvents();
    return !abortAsked;
}

void SegyDirCopy::startProgress(qint64 total)
{
    progressTotal = total;
    ProgressBar->setRange(0, total == unknownTotal ? 0 : int(qMin<qint64>(total, INT_MAX)));
    showProgress(0);
}

void SegyDirCopy::showProgress(qint64 done)
{
    if (progressTotal == unknownTotal) {
        Progress->setText(QString::number(done));
        return;
    }
    Progress->setText(QStringLiteral("%1 of %2").arg(done).arg(progressTotal));
    ProgressBar->setValue(int(qMin<qint64>(done, INT_MAX)));
}

bool SegyDirCopy::replaceFile(const QString& path)
{
    return OutputQuestions::replaceFile(this, path);
}

CopyOperator::TapeStart SegyDirCopy::startOnTapeWithData(TapeDevice* drive, int files)
{
    return OutputQuestions::tapeWithData(this, drive->name(), files);
}

TapeDevice* SegyDirCopy::nextInputTape(TapeDevice* drive)
{
    TapeContinueDlg prompt(drive, registry, this);
    if (prompt.exec() != QDialog::Accepted)
        return nullptr;
    TapeDevice* next = prompt.currentDrive();
    usedDrives.add(next);
    inputTape = next;
    return next;
}

TapeDevice* SegyDirCopy::nextOutputTape(TapeDevice* drive)
{
    TapeContinueDlg prompt(drive, registry, this);
    if (prompt.exec() != QDialog::Accepted)
        return nullptr;
    TapeDevice* next = prompt.currentDrive();
    usedDrives.add(next);
    outputTape = next;
    return next;
}
