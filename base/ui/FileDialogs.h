#pragma once

#include <QString>
#include <functional>

class QWidget;

// The file questions the tools ask. Tests (and scripted runs) answer them through
// answerWith instead of a dialog a person has to click.
namespace FileDialogs {

using Answer = std::function<QString(const QString& caption, const QString& directory)>;

// An empty answer gives the questions back to the user.
void answerWith(Answer answer);

QString saveFileName(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter);
QString openFileName(QWidget* parent, const QString& caption, const QString& directory,
                     const QString& filter);
QString existingDirectory(QWidget* parent, const QString& caption, const QString& directory);

} // namespace FileDialogs
