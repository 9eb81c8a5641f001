#include "base/ui/FileDialogs.h"

#include "base/WorkingRoot.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QSettings>

namespace FileDialogs {

namespace {

Answer& scriptedAnswer()
{
    static Answer answer;
    return answer;
}

// Folders are remembered per filter: SEG-Y files, format files and pictures each keep their own.
const QString foldersGroup = QStringLiteral("FileDialogs/LastFolders");
const QString folderKind = QStringLiteral("folders");

QString settingsKey(const QString& filter)
{
    // Settings keys may not hold slashes: the filter's letters and digits name it well enough.
    QString key = filter;
    for (QChar& character : key) {
        if (!character.isLetterOrNumber())
            character = QLatin1Char('_');
    }
    return foldersGroup + QLatin1Char('/') + key;
}

bool isFolder(const QString& path)
{
    return !path.isEmpty() && QFileInfo(path).isDir();
}

void remember(const QString& filter, const QString& chosen, bool chosenIsFolder)
{
    if (chosen.isEmpty())
        return;
    const QString folder = chosenIsFolder ? chosen : QFileInfo(chosen).absolutePath();
    QSettings().setValue(settingsKey(filter), QDir::fromNativeSeparators(folder));
}

QString ask(const QString& caption, const QString& directory, const std::function<QString()>& dialog)
{
    if (scriptedAnswer())
        return scriptedAnswer()(caption, directory);
    return dialog();
}

} // namespace

void answerWith(Answer answer)
{
    scriptedAnswer() = std::move(answer);
}

QString startFolder(const QString& filter, const QString& suggestedFolder)
{
    const QString last = QSettings().value(settingsKey(filter)).toString();
    for (const QString& candidate : {last, suggestedFolder, WorkingRoot::path()}) {
        if (isFolder(candidate))
            return QDir::fromNativeSeparators(QFileInfo(candidate).absoluteFilePath());
    }
    return QDir::homePath();
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedFolder,
                     const QString& filter, const QString& suggestedName)
{
    const QString folder = startFolder(filter, suggestedFolder);
    const QString start = suggestedName.isEmpty() ? folder : QDir(folder).filePath(suggestedName);
    const QString path =
        ask(caption, start, [&] { return QFileDialog::getSaveFileName(parent, caption, start, filter); });
    remember(filter, path, false);
    return path;
}

QString openFileName(QWidget* parent, const QString& caption, const QString& suggestedFolder,
                     const QString& filter)
{
    const QString folder = startFolder(filter, suggestedFolder);
    const QString path =
        ask(caption, folder, [&] { return QFileDialog::getOpenFileName(parent, caption, folder, filter); });
    remember(filter, path, false);
    return path;
}

QString existingFolder(QWidget* parent, const QString& caption, const QString& suggestedFolder)
{
    const QString folder = startFolder(folderKind, suggestedFolder);
    const QString path =
        ask(caption, folder, [&] { return QFileDialog::getExistingDirectory(parent, caption, folder); });
    remember(folderKind, path, true);
    return path;
}

} // namespace FileDialogs
