#include "devices/ui/TapeMiniControl.h"

#include "base/ObrConsole.h"
#include "base/ui/ScreenFit.h"
#include "devices/TapeDevice.h"

#include <algorithm>

TapeMiniControl::TapeMiniControl(QWidget* parent, ObrConsole* consoleInterface, TapeDevice* tape)
    : QDialog(parent), console(consoleInterface), drive(tape)
{
    setupUi(this);
    ScreenFit::fitToScreen(this);
    DeviceName->setText(drive->name());
    showPosition();
}

int TapeMiniControl::count() const
{
    return SkipCount->text().toInt();
}

void TapeMiniControl::on_SkipCount_textChanged(const QString& text)
{
    bool number = false;
    const qint64 value = text.toLongLong(&number);
    QString normalised;
    if (!number || value == 0)
        normalised = QStringLiteral("1");
    else if (value < 0 || value > largestCount)
        normalised = QString::number(std::min(value < 0 ? -value : value, largestCount));
    // Setting the text calls this slot once more, with a text that needs nothing.
    if (!normalised.isEmpty())
        SkipCount->setText(normalised);
}

void TapeMiniControl::report(const char* direction, const char* unit, int skipped)
{
    console->message(QStringLiteral("%1 skipped %2 %3%4")
                         .arg(QLatin1String(direction))
                         .arg(skipped)
                         .arg(QLatin1String(unit), skipped < 2 ? QString() : QStringLiteral("s")),
                     Qt::black);
}

void TapeMiniControl::showPosition()
{
    CurrentFile->setText(QString::number(drive->fileNumber()));
    CurrentBlock->setText(QString::number(drive->blockNumber()));
}

void TapeMiniControl::on_Rewind_clicked()
{
    if (drive->rewind())
        console->message(QStringLiteral("Rewind %1").arg(drive->name()), Qt::black);
    showPosition();
}

void TapeMiniControl::on_ReverseSkipFile_clicked()
{
    const int skip = count();
    if (drive->skipFiles(-skip))
        report("Reverse", "file", skip);
    showPosition();
}

void TapeMiniControl::on_ReverseSkipBlock_clicked()
{
    const int skip = count();
    if (drive->skipBlocks(-skip))
        report("Reverse", "block", skip);
    showPosition();
}

void TapeMiniControl::on_ForwardSkipBlock_clicked()
{
    const int skip = count();
    if (drive->skipBlocks(skip))
        report("Forward", "block", skip);
    showPosition();
}

void TapeMiniControl::on_ForwardSkipFile_clicked()
{
    const int skip = count();
    if (drive->skipFiles(skip))
        report("Forward", "file", skip);
    showPosition();
}

void TapeMiniControl::on_SkipEOD_clicked()
{
    if (drive->skipToEndOfData())
        console->message(QStringLiteral("Skipped to EOD on %1").arg(drive->name()), Qt::black);
    showPosition();
}

void TapeMiniControl::on_Close_clicked()
{
    reject();
}
