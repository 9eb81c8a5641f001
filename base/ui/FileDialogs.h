#pragma once

#include <QString>
#include <functional>

class QWidget;

// The file questions the tools ask. Each starts in the last folder the user chose a file of the
// same kind in (the same filter; kept in the settings), else in the folder the tool suggests when
// it exists, else in the working root: never in a missing folder. Tests (and scripted runs)
// answer them through answerWith instead of a dialog a person has to click.
namespace FileDialogs {

// What every tool offers for SEG-Y files.
inline const QString segyFilter = QStringLiteral("SEG-Y files (*.sgy *.segy *.SGY);;All files (*)");

using Answer = std::function<QString(const QString& caption, const QString& directory)>;

// An empty answer gives the questions back to the user.
void answerWith(Answer answer);

// The folder a question with this filter starts in, given the folder the tool suggests.
QString startFolder(const QString& filter, const QString& suggestedFolder);

// The save question pre-fills suggestedName, a file name without folder.
QString saveFileName(QWidget* parent, const QString& caption, const QString& suggestedFolder,
                     const QString& filter, const QString& suggestedName = QString());
QString openFileName(QWidget* parent, const QString& caption, const QString& suggestedFolder,
                     const QString& filter);
QString existingFolder(QWidget* parent, const QString& caption, const QString& suggestedFolder);

} // namespace FileDialogs
