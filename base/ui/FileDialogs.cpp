#include "base/ui/FileDialogs.h"

#include <QFileDialog>

namespace FileDialogs {

namespace {
Answer& scriptedAnswer()
{
    static Answer answer;
    return answer;
}
} // namespace

void answerWith(Answer answer)
{
    scriptedAnswer() = std::move(answer);
}

QString saveFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter)
{
    if (scriptedAnswer())
        return scriptedAnswer()(caption, directory);
    return QFileDialog::getSaveFileName(parent, caption, directory, filter);
}

QString openFileName(QWidget* parent, const QString& caption, const QString& directory, const QString& filter)
{
    if (scriptedAnswer())
        return scriptedAnswer()(caption, directory);
    return QFileDialog::getOpenFileName(parent, caption, directory, filter);
}

QString existingDirectory(QWidget* parent, const QString& caption, const QString& directory)
{
    if (scriptedAnswer())
        return scriptedAnswer()(caption, directory);
    return QFileDialog::getExistingDirectory(parent, caption, directory, QFileDialog::ShowDirsOnly);
}

} // namespace FileDialogs
