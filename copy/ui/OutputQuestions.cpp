#include "copy/ui/OutputQuestions.h"

#include <QMessageBox>
#include <QPushButton>

namespace OutputQuestions {

bool replaceFile(QWidget* window, const QString& path)
{
    QMessageBox box(
        QMessageBox::Question, window->windowTitle(),
        QStringLiteral("%1 already exists.\nReplace it once the job has written the new file whole?")
            .arg(path),
        QMessageBox::Yes | QMessageBox::No, window);
    box.setDefaultButton(QMessageBox::No);
    box.setEscapeButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

CopyOperator::TapeStart tapeWithData(QWidget* window, const QString& drive, int files)
{
    QMessageBox box(QMessageBox::Question, window->windowTitle(),
                    QStringLiteral("The tape in %1 holds %2 file%3.\nWriting from its start destroys "
                                   "them; appending keeps them and writes after the last one.")
                        .arg(drive)
                        .arg(files)
                        .arg(files == 1 ? QString() : QStringLiteral("s")),
                    QMessageBox::NoButton, window);
    QPushButton* overwrite =
        box.addButton(QStringLiteral("Overwrite from the start"), QMessageBox::DestructiveRole);
    QPushButton* append =
        box.addButton(QStringLiteral("Append after the last file"), QMessageBox::AcceptRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    box.exec();
    if (box.clickedButton() == overwrite)
        return CopyOperator::TapeStart::Overwrite;
    if (box.clickedButton() == append)
        return CopyOperator::TapeStart::Append;
    return CopyOperator::TapeStart::Cancel;
}

} // namespace OutputQuestions
