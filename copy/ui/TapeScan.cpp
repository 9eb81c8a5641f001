#include "copy/ui/TapeScan.h"

#include "base/ObrConsole.h"
#include "base/WholeFile.h"
#include "base/WorkingRoot.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "copy/TapeScanJob.h"
#include "copy/TapeScanReport.h"
#include "devices/TapeDevice.h"
#include "devices/TapeDriveList.h"

#include <QFileInfo>
#include <QHeaderView>

namespace {
const QString imageFilter = QStringLiteral("Tape images (*.tap *.tif);;All files (*)");
const QString reportFilter = QStringLiteral("Text report (*.txt);;CSV table (*.csv)");
} // namespace

TapeScan::TapeScan(TapeScanMode mode, ObrConsole* console, TapeDriveList* registry, QWidget* parent)
    : QDialog(parent), mode(mode), console(console)
{
    setupUi(this);
    setWindowTitle(mode == TapeScanMode::Segd ? QStringLiteral("Tape Scan - SEGD")
                                              : QStringLiteral("Tape Scan - SEGY"));
    const QStringList titles = TapeScanReport::columns(mode);
    Files->setColumnCount(titles.size());
    Files->setHorizontalHeaderLabels(titles);
    // Columns as wide as their contents; the last takes the room left.
    Files->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    Files->horizontalHeader()->setSectionResizeMode(titles.size() - 1, QHeaderView::Stretch);
    if (registry) {
        for (TapeDevice* drive : registry->drives())
            addDrive(drive);
    }
    Start->setEnabled(!drives.isEmpty());
    ScreenFit::fitToScreen(this);
}

TapeScan::~TapeScan() = default;

void TapeScan::addDrive(TapeDevice* drive)
{
    drives.append(drive);
    DriveList->addItem(QStringLiteral("%1   %2").arg(drive->scsiId(), drive->name()));
}

bool TapeScan::addImage(const QString& path)
{
    auto registry = std::make_unique<TapeDriveList>(console, QStringList{QFileInfo(path).absoluteFilePath()});
    if (!registry->ok())
        return false;
    addDrive(registry->drive(0));
    images.push_back(std::move(registry));
    DriveList->setCurrentIndex(DriveList->count() - 1);
    Start->setEnabled(!running);
    return true;
}

void TapeScan::on_ImageBrowse_clicked()
{
    const QString path =
        FileDialogs::openFileName(this, QStringLiteral("Choose a tape image"),
                                  WorkingRoot::path() + QStringLiteral("/Tapes"), imageFilter);
    if (!path.isEmpty() && !addImage(path))
        console->error(QStringLiteral("tape image %1 could not be used as a drive").arg(path), true);
}

void TapeScan::on_Start_clicked()
{
    TapeDevice* tape = drives.value(DriveList->currentIndex());
    if (!tape || running)
        return;
    // Opened for reading: the scan never writes, marks or erases.
    if (!tape->open(0))
        return;
    setRunning(true);
    TapeScanJob job(console, this, tape, mode);
    // The summary tells whether the tape was read to its end.
    static_cast<void>(job.run());
    tape->close();
    result_ = job.result();
    setRunning(false);
    showResult();
}

void TapeScan::setRunning(bool value)
{
    running = value;
    abortAsked = false;
    Start->setEnabled(!value);
    Abort->setEnabled(value);
    DriveList->setEnabled(!value);
    ImageBrowse->setEnabled(!value);
    SaveReport->setEnabled(!value && !result_.entries.isEmpty());
    if (value) {
        Files->setRowCount(0);
        Summary->clear();
    }
}

void TapeScan::showResult()
{
    const QStringList titles = TapeScanReport::columns(mode);
    Files->setRowCount(result_.entries.size());
    for (int row = 0; row < result_.entries.size(); ++row) {
        const QStringList cells = TapeScanReport::cells(result_.entries.at(row), mode);
        for (int column = 0; column < cells.size(); ++column) {
            auto* item = new QTableWidgetItem(cells.at(column));
            if (!TapeScanReport::isTextColumn(titles.at(column)))
                item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            Files->setItem(row, column, item);
        }
    }
    const QStringList lines = TapeScanReport::summaryLines(result_);
    Summary->setPlainText(lines.join(QLatin1Char('\n')));
    SaveReport->setEnabled(!result_.entries.isEmpty());
    console->message(QStringLiteral("Tape Scan Summary:"), Qt::black);
    for (const QString& line : lines)
        console->message(line, Qt::black);
}

void TapeScan::startProgress(qint64)
{
    Progress->setText(QStringLiteral("Reading the tape..."));
}

void TapeScan::showProgress(qint64 done)
{
    Progress->setText(
        QStringLiteral("%1 file%2 read").arg(done).arg(done == 1 ? QString() : QStringLiteral("s")));
}

bool TapeScan::keepAlive()
{
    QCoreApplication::processEvents();
    return !abortAsked;
}

void TapeScan::on_Abort_clicked()
{
    abortAsked = true;
}

void TapeScan::reject()
{
    if (running) {
        abortAsked = true;
        return;
    }
    QDialog::reject();
}

void TapeScan::on_SaveReport_clicked()
{
    const QString path = FileDialogs::saveFileName(this, QStringLiteral("Save tape scan report"), QString(),
                                                   reportFilter, QStringLiteral("tapescan.txt"));
    if (path.isEmpty())
        return;
    const bool csv = QFileInfo(path).suffix().compare(QLatin1String("csv"), Qt::CaseInsensitive) == 0;
    const QByteArray bytes =
        csv ? TapeScanReport::csv(result_)
            : (TapeScanReport::text(result_).join(QLatin1Char('\n')) + QLatin1Char('\n')).toUtf8();
    QString error;
    if (!WholeFile::write(path, bytes, &error))
        console->error(error, true);
}

void TapeScan::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("tapescan.html"));
}

void TapeScan::on_Close_clicked()
{
    reject();
}
