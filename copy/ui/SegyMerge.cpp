#include "copy/ui/SegyMerge.h"

#include "base/ObrConsole.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "copy/SegyMergeJob.h"
#include "copy/ui/JobResultView.h"
#include "copy/ui/JobStopQuestion.h"
#include "copy/ui/OutputQuestions.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileSystemModel>

namespace {
constexpr int pathRole = Qt::UserRole;
} // namespace

SegyMerge::SegyMerge(ObrConsole* console, QWidget* parent, const QString& seismicDirectory)
    : QDialog(parent), console(console), model(new QFileSystemModel(this))
{
    setupUi(this);
    resultView = JobResultView::addTo(this);
    ScreenFit::fitToScreen(this);
    model->setFilter(QDir::AllDirs | QDir::NoDotAndDotDot);
    // The whole file system, so that files outside the project can be merged too.
    model->setRootPath(QString());
    DirectoryView->setModel(model);
    for (int column = 1; column < model->columnCount(); ++column)
        DirectoryView->hideColumn(column);
    // The model reads directories in the background: the chosen one comes into view once the
    // directories on its way are read.
    connect(model, &QFileSystemModel::directoryLoaded, this, [this](const QString& loaded) {
        if (directory.startsWith(loaded))
            DirectoryView->scrollTo(DirectoryView->currentIndex());
    });
    showDirectory(startDirectory(seismicDirectory));
}

QString SegyMerge::startDirectory(const QString& seismicDirectory) const
{
    // A fresh install has no seismic directory yet; it is where the project's files will go.
    if (!seismicDirectory.isEmpty() && QDir().mkpath(seismicDirectory))
        return QDir(seismicDirectory).absolutePath();
    if (!seismicDirectory.isEmpty())
        console->warning(QStringLiteral("cannot create the directory %1").arg(seismicDirectory), false);
    return QDir::homePath();
}

void SegyMerge::showDirectory(const QString& path)
{
    directory = path;
    DirectoryList->clear();
    const QDir dir(path);
    for (const QString& name : dir.entryList(QDir::Files)) {
        auto* item = new QListWidgetItem(name, DirectoryList);
        item->setData(pathRole, dir.absoluteFilePath(name));
    }
    const QModelIndex index = model->index(path);
    for (QModelIndex folder = index.parent(); folder.isValid(); folder = folder.parent())
        DirectoryView->expand(folder);
    if (DirectoryView->currentIndex() != index)
        DirectoryView->setCurrentIndex(index);
    DirectoryView->scrollTo(index);
}

void SegyMerge::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Only a tree with its size can scroll the chosen directory into view.
    DirectoryView->scrollTo(DirectoryView->currentIndex());
}

void SegyMerge::on_FolderBrowse_clicked()
{
    const QString path =
        FileDialogs::existingFolder(this, QStringLiteral("Select input directory"), directory);
    if (!path.isEmpty())
        showDirectory(path);
}

void SegyMerge::on_DirectoryView_clicked(const QModelIndex& index)
{
    if (model->isDir(index))
        showDirectory(model->filePath(index));
}

void SegyMerge::addToList(const QList<QListWidgetItem*>& items)
{
    for (const QListWidgetItem* source : items) {
        auto* item = new QListWidgetItem(source->text(), FileList);
        item->setData(pathRole, source->data(pathRole));
        item->setToolTip(source->data(pathRole).toString());
    }
    updateMergeButton();
}

void SegyMerge::on_Add_clicked()
{
    // In list order, not in the order the names were picked.
    QList<QListWidgetItem*> selected;
    for (int row = 0; row < DirectoryList->count(); ++row) {
        if (DirectoryList->item(row)->isSelected())
            selected.append(DirectoryList->item(row));
    }
    addToList(selected);
}

void SegyMerge::on_Add_All_clicked()
{
    QList<QListWidgetItem*> all;
    for (int row = 0; row < DirectoryList->count(); ++row)
        all.append(DirectoryList->item(row));
    addToList(all);
}

void SegyMerge::on_Delete_clicked()
{
    delete FileList->takeItem(FileList->currentRow());
    updateMergeButton();
}

void SegyMerge::on_Delete_All_clicked()
{
    FileList->clear();
    updateMergeButton();
}

void SegyMerge::updateMergeButton()
{
    Merge->setEnabled(!running && FileList->count() >= 2);
}

QStringList SegyMerge::inputPaths() const
{
    QStringList paths;
    for (int row = 0; row < FileList->count(); ++row)
        paths.append(FileList->item(row)->data(pathRole).toString());
    return paths;
}

void SegyMerge::on_FileBrowse_clicked()
{
    const QString path = FileDialogs::saveFileName(this, QStringLiteral("Select SEGY output file"), directory,
                                                   FileDialogs::segyFilter);
    if (path.isEmpty())
        return;
    FileName->setText(path);
    confirmedOutput = path;
}

bool SegyMerge::replaceFile(const QString& path)
{
    return path == confirmedOutput || OutputQuestions::replaceFile(this, path);
}

void SegyMerge::on_Merge_clicked()
{
    running = true;
    stopAsked = false;
    resultView->clear();
    updateMergeButton();
    ProgressBar->setRange(0, 100);
    ProgressBar->setValue(0);
    ProgressBar->show();
    // A typed name without a directory lands in the directory shown.
    SegyMergeJob job(console, this, QDir(directory).absoluteFilePath(FileName->text()), inputPaths());
    static_cast<void>(job.run());
    ProgressBar->hide();
    running = false;
    updateMergeButton();
    resultView->showResult(job.result());
}

void SegyMerge::startProgress(qint64 bytes)
{
    total = bytes;
}

void SegyMerge::showProgress(qint64 done)
{
    ProgressBar->setValue(total > 0 ? static_cast<int>(done * 100 / total) : 100);
}

bool SegyMerge::keepAlive()
{
    QCoreApplication::processEvents();
    return !stopAsked;
}

void SegyMerge::reject()
{
    if (!running) {
        QDialog::reject();
        return;
    }
    if (!stopAsked && JobStopQuestion::stopConfirmed(this))
        stopAsked = true;
}

void SegyMerge::on_Close_clicked()
{
    reject();
}

void SegyMerge::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("segymerge.html"));
}
