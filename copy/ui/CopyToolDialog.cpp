#include "copy/ui/CopyToolDialog.h"

#include "base/ui/FileDialogs.h"
#include "base/ui/ScreenFit.h"
#include "copy/ui/JobResultView.h"
#include "copy/ui/JobStopQuestion.h"
#include "copy/ui/OutputQuestions.h"
#include "devices/TapeDevice.h"
#include "devices/ui/TapeContinueDlg.h"
#include "devices/ui/TapeMiniControl.h"

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <climits>

namespace {
// The progress widgets are redrawn this often at most; a job reports every trace.
constexpr qint64 progressInterval = 100;
} // namespace

CopyToolDialog::CopyToolDialog(const QString& seismicDirectory, ObrConsole* console, TapeDriveList* registry,
                               QWidget* parent)
    : QDialog(parent), console(console), seismicDirectory(seismicDirectory), registry(registry)
{}

void CopyToolDialog::bind(const Controls& controls)
{
    ui = controls;
    ui.inTapeBrowse->setEnabled(registry != nullptr);
    ui.outTapeBrowse->setEnabled(registry != nullptr);
    ui.inTapeCtrl->hide();
    ui.outTapeCtrl->hide();
    for (QWidget* widget : {static_cast<QWidget*>(ui.progressTx), static_cast<QWidget*>(ui.progress),
                            static_cast<QWidget*>(ui.progressBar)})
        widget->hide();
    resultView = JobResultView::addTo(this);
    updateCopyButton();
    ScreenFit::fitToScreen(this);
}

QString CopyToolDialog::startDirectory() const
{
    // The project's directory is handed to the file dialog: changing the process's
    // directory would move the help pages, which are found beside it.
    return seismicDirectory.isEmpty() ? QDir::currentPath() : seismicDirectory;
}

void CopyToolDialog::browseInput(const QString& filter)
{
    const QString path =
        FileDialogs::openFileName(this, QStringLiteral("Select input file"), startDirectory(), filter);
    if (!path.isEmpty())
        setInputFile(path);
}

void CopyToolDialog::browseOutput(const QString& filter)
{
    const QString path =
        FileDialogs::saveFileName(this, QStringLiteral("Select output base name"), startDirectory(), filter);
    if (path.isEmpty())
        return;
    setOutputFile(path);
    confirmedOutput = path;
}

void CopyToolDialog::setInputFile(const QString& path)
{
    inputPath = path;
    inputIsFile = true;
    ui.inputName->setText(path);
    ui.inTapeCtrl->hide();
    inputChanged();
    updateCopyButton();
}

void CopyToolDialog::setOutputFile(const QString& path)
{
    outputPath = path;
    outputIsFile = true;
    ui.outputName->setText(path);
    ui.outTapeCtrl->hide();
    updateCopyButton();
}

void CopyToolDialog::chooseInputTape()
{
    setInputTape(usedDrives.choose(inputTape, registry, this, 0));
}

void CopyToolDialog::chooseOutputTape()
{
    setOutputTape(usedDrives.choose(outputTape, registry, this, 1));
}

void CopyToolDialog::setInputTape(TapeDevice* drive)
{
    inputTape = drive;
    if (drive) {
        usedDrives.add(drive);
        inputIsFile = false;
        ui.inputName->setText(drive->displayLine());
    } else if (!inputIsFile) {
        // No drive now: a tape chosen before is no longer the source.
        ui.inputName->clear();
    }
    ui.inTapeCtrl->setVisible(drive != nullptr);
    inputChanged();
    updateCopyButton();
}

void CopyToolDialog::setOutputTape(TapeDevice* drive)
{
    outputTape = drive;
    if (drive) {
        usedDrives.add(drive);
        outputIsFile = false;
        ui.outputName->setText(drive->displayLine());
    } else if (!outputIsFile) {
        ui.outputName->clear();
    }
    ui.outTapeCtrl->setVisible(drive != nullptr);
    updateCopyButton();
}

void CopyToolDialog::controlInputTape()
{
    TapeMiniControl control(this, console, inputTape);
    control.exec();
}

void CopyToolDialog::controlOutputTape()
{
    TapeMiniControl control(this, console, outputTape);
    control.exec();
}

void CopyToolDialog::updateCopyButton()
{
    ui.copy->setEnabled(!running && !ui.inputName->text().isEmpty() && !ui.outputName->text().isEmpty());
}

CopyJob::Endpoint CopyToolDialog::inputEndpoint() const
{
    return inputIsFile ? CopyJob::Endpoint{inputPath, nullptr} : CopyJob::Endpoint{QString(), inputTape};
}

CopyJob::Endpoint CopyToolDialog::outputEndpoint() const
{
    return outputIsFile ? CopyJob::Endpoint{outputPath, nullptr} : CopyJob::Endpoint{QString(), outputTape};
}

void CopyToolDialog::setChoosing(bool enabled)
{
    ui.inputBrowse->setEnabled(enabled);
    ui.outputBrowse->setEnabled(enabled);
    ui.inTapeBrowse->setEnabled(enabled && registry);
    ui.outTapeBrowse->setEnabled(enabled && registry);
    ui.inTapeCtrl->setEnabled(enabled);
    ui.outTapeCtrl->setEnabled(enabled);
    ui.progressTx->setVisible(!enabled);
    ui.progress->setVisible(!enabled);
    ui.progressBar->setVisible(!enabled);
    updateCopyButton();
}

void CopyToolDialog::runJob(CopyJob& job)
{
    runJob([&job]() {
        static_cast<void>(job.run());
        return job.result();
    });
}

void CopyToolDialog::runJob(const std::function<JobResult()>& job)
{
    running = true;
    stopAsked = false;
    resultView->clear();
    setChoosing(false);
    const JobResult result = job();
    running = false;
    setChoosing(true);
    resultView->showResult(result);
}

void CopyToolDialog::reject()
{
    if (!running) {
        QDialog::reject();
        return;
    }
    if (!stopAsked && JobStopQuestion::stopConfirmed(this))
        stopAsked = true;
}

bool CopyToolDialog::keepAlive()
{
    QCoreApplication::processEvents();
    return !stopAsked;
}

bool CopyToolDialog::replaceFile(const QString& path)
{
    return path == confirmedOutput || OutputQuestions::replaceFile(this, path);
}

CopyOperator::TapeStart CopyToolDialog::startOnTapeWithData(TapeDevice* drive, int files)
{
    return OutputQuestions::tapeWithData(this, drive->name(), files);
}

TapeDevice* CopyToolDialog::nextInputTape(TapeDevice* drive)
{
    // The count stays in view while the operator changes tapes.
    drawProgress();
    TapeContinueDlg prompt(drive, registry, this);
    if (prompt.exec() != QDialog::Accepted)
        return nullptr;
    TapeDevice* next = prompt.currentDrive();
    if (next != inputTape)
        setInputTape(next);
    return next;
}

void CopyToolDialog::startProgress(qint64 total)
{
    progressTotal = total;
    const qint64 shown = qMax<qint64>(total, 0);
    progressDivisor = shown / INT_MAX + 1;
    // A range of 0 to 0 is the busy indicator.
    ui.progressBar->setRange(0, static_cast<int>(shown / progressDivisor));
    ui.progressBar->setValue(0);
    progressDone = 0;
    drawProgress();
}

void CopyToolDialog::showProgress(qint64 done)
{
    progressDone = done;
    if (!sinceShown.isValid() || sinceShown.elapsed() >= progressInterval)
        drawProgress();
}

void CopyToolDialog::drawProgress()
{
    sinceShown.start();
    if (progressTotal == unknownTotal) {
        ui.progress->setText(QString::number(progressDone));
        return;
    }
    ui.progress->setText(QStringLiteral("%1 of %2").arg(progressDone).arg(progressTotal));
    ui.progressBar->setValue(static_cast<int>(progressDone / progressDivisor));
}

void CopyToolDialog::endProgress()
{
    drawProgress();
}
