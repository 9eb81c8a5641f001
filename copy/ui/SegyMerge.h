#pragma once

#include "copy/CopyOperator.h"
#include "ui_SegyMerge.h"

#include <QDialog>
#include <QString>
#include <QStringList>

class JobResultView;
class ObrConsole;
class QFileSystemModel;
class QListWidgetItem;

// The "Merge SEG Y files" tool: a tree of the whole file system, opened at the project's
// seismic directory (made when missing), the files of the directory chosen there, and the list
// of files to merge, in order. Each listed file keeps its full path from the moment it is added,
// wherever the tree is later moved.
class SegyMerge : public QDialog, public Ui::SegyMergeUi, public JobProgress {
    Q_OBJECT
public:
    SegyMerge(ObrConsole* console, QWidget* parent, const QString& seismicDirectory);

    const QString& currentDirectory() const { return directory; }
    // The files to merge, full paths in list order.
    QStringList inputPaths() const;
    // Makes `path` the directory whose files are listed and the one chosen in the tree.
    void showDirectory(const QString& path);

    void startProgress(qint64 total) override;
    void showProgress(qint64 done) override;
    void endProgress() override {}
    bool keepAlive() override;
    bool replaceFile(const QString& path) override;

public slots:
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private slots:
    void on_Merge_clicked();
    void on_Help_clicked();
    void on_DirectoryView_clicked(const QModelIndex& index);
    void on_FolderBrowse_clicked();
    void on_Close_clicked();
    void on_Delete_clicked();
    void on_Add_clicked();
    void on_Add_All_clicked();
    void on_Delete_All_clicked();
    void on_FileBrowse_clicked();

private:
    // The project's seismic directory, made when it does not exist yet; else the home directory.
    QString startDirectory(const QString& seismicDirectory) const;
    void addToList(const QList<QListWidgetItem*>& items);
    void updateMergeButton();

    ObrConsole* console;
    QString directory;
    QFileSystemModel* model;
    JobResultView* resultView;
    bool running = false;
    bool stopAsked = false;
    // The output chosen in the save dialog, which asked already whether to replace it.
    QString confirmedOutput;
    qint64 total = 0;
};
