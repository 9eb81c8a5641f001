#include "app/ui/AppConsole.h"

#include "app/ui/ObrApp.h"
#include "base/ui/FileDialogs.h"

#include <QDir>
#include <QFile>
#include <QMenu>
#include <QMessageBox>
#include <QProgressDialog>
#include <QSaveFile>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextEdit>
#include <QTextStream>
#include <climits>
#include <cstdio>

namespace {

int sharedMessageCounter = 0;

// "run.txt" and "run" both give "run.console". Only the file name's own extension is cut,
// so a dot in a directory name does not move the log elsewhere.
QString logFileNameFor(const QString& logName)
{
    const int slash = logName.lastIndexOf(QLatin1Char('/'));
    const int dot = logName.lastIndexOf(QLatin1Char('.'));
    const QString stem = dot > slash ? logName.left(dot) : logName;
    return stem + QStringLiteral(".console");
}

} // namespace

AppConsole::AppConsole(ObrApp* application, QTextEdit* textWidget, const QString& logName, int tag)
    : guiMode(application && application->guiMode), textWidget(textWidget), application(application),
      tag_(tag)
{
    if (textWidget) {
        textWidget->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(textWidget, &QWidget::customContextMenuRequested, this, [this](const QPoint& position) {
            if (!this->textWidget)
                return;
            const std::unique_ptr<QMenu> menu(createContextMenu());
            menu->exec(this->textWidget->viewport()->mapToGlobal(position));
        });
    }
    if (!application)
        return;
    dialogParent = application->dialogParent;
    title = application->applicationTitle;
    if (!logName.isEmpty())
        openLog(logName);
}

QMenu* AppConsole::createContextMenu()
{
    QMenu* menu = textWidget->createStandardContextMenu();
    menu->addSeparator();
    menu->addAction(QStringLiteral("Save console..."), this, &AppConsole::saveWithDialog);
    return menu;
}

void AppConsole::saveWithDialog()
{
    if (!textWidget)
        return;
    const QString path = FileDialogs::saveFileName(
        textWidget, QStringLiteral("Save console"), QDir::currentPath(),
        QStringLiteral("Text files (*.txt);;All files (*)"), QStringLiteral("console.txt"));
    if (path.isEmpty())
        return;
    // Written whole or not at all: a failed save leaves an older file as it was.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text) ||
        file.write(textWidget->toPlainText().toUtf8()) < 0 || !file.flush() || !file.commit()) {
        QMessageBox::warning(textWidget, QStringLiteral("Save console"),
                             QStringLiteral("The console could not be written to %1: %2")
                                 .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
}

AppConsole::~AppConsole()
{
    if (logStream)
        logStream->flush();
    logStream.reset();
    logFile.reset();
    delete progressDialog;
}

void AppConsole::openLog(const QString& logName)
{
    logFileName_ = logFileNameFor(logName);
    auto file = std::make_unique<QFile>(logFileName_);
    if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        error(QStringLiteral("error opening file: ") + logFileName_, true);
        return;
    }
    logFile = std::move(file);
    logStream = std::make_unique<QTextStream>(logFile.get());
}

int AppConsole::messageCounter()
{
    return sharedMessageCounter;
}

void AppConsole::setMessageCounter(int value)
{
    sharedMessageCounter = value;
}

ConsoleSettings AppConsole::settings() const
{
    if (!application)
        return ConsoleSettings();
    return {application->intervalFilter, application->messageInterval, application->detailLevel};
}

int AppConsole::detailLevel() const
{
    return settings().detailLevel;
}

void AppConsole::appendLine(const QString& text, const QColor& colour)
{
    // Inserted as plain text: a line that happens to look like HTML (a text header, a file
    // name) must show as it is. One edit block, so overwrite mode can undo it as a whole.
    QScrollBar* scrollBar = textWidget->verticalScrollBar();
    const bool atBottom = scrollBar->value() >= scrollBar->maximum();
    QTextCursor cursor(textWidget->document());
    cursor.movePosition(QTextCursor::End);
    cursor.beginEditBlock();
    if (!textWidget->document()->isEmpty())
        cursor.insertBlock();
    QTextCharFormat format;
    format.setForeground(colour);
    cursor.insertText(text, format);
    cursor.endEditBlock();
    if (atBottom)
        scrollBar->setValue(scrollBar->maximum());
}

void AppConsole::message(const QString& text, const QColor& colour)
{
    if (textWidget) {
        if (textWidget->overwriteMode())
            textWidget->undo();
        if (consoleShowsLine(sharedMessageCounter, text, settings()))
            appendLine(text, colour);
        if (sharedMessageCounter < INT_MAX)
            ++sharedMessageCounter;
    } else if (!guiMode) {
        const QByteArray bytes = text.toLatin1();
        std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    } else {
        QMessageBox::information(dialogParent, title, text, QMessageBox::Ok);
    }
    if (logStream) {
        *logStream << text << '\n';
        logStream->flush();
    }
}

void AppConsole::prefixed(const QString& prefix, const QString& text, bool popup, const QString& boxTitle,
                          bool criticalBox)
{
    const QString line = prefix + text;
    message(line, Qt::black);
    // Without a text area the line itself was already a box (or a terminal line).
    if (!textWidget || !popup)
        return;
    if (criticalBox)
        QMessageBox::critical(dialogParent, boxTitle, line, QMessageBox::Ok, QMessageBox::NoButton);
    else
        QMessageBox::warning(dialogParent, boxTitle, line, QMessageBox::Ok, QMessageBox::NoButton);
}

void AppConsole::error(const QString& text, bool popup)
{
    prefixed(ConsolePrefix::error, text, popup, QStringLiteral("Error"), true);
}

void AppConsole::information(const QString& text, bool popup)
{
    prefixed(ConsolePrefix::information, text, popup, QStringLiteral("Information"), false);
}

void AppConsole::warning(const QString& text, bool popup)
{
    prefixed(ConsolePrefix::warning, text, popup, QStringLiteral("Warning"), false);
}

void AppConsole::debug(const QString& text)
{
    if (debugEnabled())
        message(ConsolePrefix::debug + text, Qt::black);
}

void AppConsole::lowLevel(const QString& text)
{
    if (lowLevelEnabled())
        message(ConsolePrefix::lowLevel + text, Qt::black);
}

void AppConsole::initProgress(const QString& text, int maximum, bool showDialog)
{
    progressMaximum = maximum;
    showProgressDialog = showDialog;
    if (showDialog) {
        delete progressDialog;
        progressDialog =
            new QProgressDialog(QStringLiteral("%1...").arg(text) + QString(41, QLatin1Char(' ')),
                                QStringLiteral("Abort"), 0, maximum, dialogParent);
        progressDialog->setWindowModality(Qt::WindowModal);
        progressDialog->setWindowTitle(QStringLiteral("Trevalo Data Progress Dialog"));
    }
    emit initializeProgressBar(text, maximum);
}

bool AppConsole::updateProgress(int value)
{
    if (showProgressDialog && progressDialog && value % 1000 == 0) {
        // Read before setting the value: reaching the maximum resets the dialog and would
        // forget a cancel that came just before.
        const bool cancelled = progressDialog->wasCanceled();
        progressDialog->setValue(value);
        if (cancelled || progressDialog->wasCanceled()) {
            progressDialog->setValue(progressMaximum);
            return false;
        }
    }
    emit updateProgressBar(value);
    return true;
}

void AppConsole::clearProgress()
{
    if (showProgressDialog && progressDialog)
        progressDialog->setValue(progressMaximum);
    emit clearProgressBar();
}

void AppConsole::jobStarted()
{
    // The thinning is meant for the flood of one long job, not for the lines of every job since
    // the program started.
    sharedMessageCounter = 0;
}

void AppConsole::ProcessThreadMsgMode(bool mode)
{
    if (textWidget)
        textWidget->setOverwriteMode(mode);
}

void AppConsole::ProcessThreadMsg(QString message, int type, QColor color)
{
    switch (type) {
    case 0:
        this->message(message, color);
        break;
    case 1:
        warning(message, false);
        break;
    case 2:
        error(message, false);
        break;
    case 3:
        debug(message);
        break;
    default:
        lowLevel(message);
        break;
    }
}

void AppConsole::ProcessThreadDlgMsg(QString message, int type)
{
    if (type == 2)
        error(message, false);
    else
        warning(message, false);
}

void AppConsole::ProcessThreadStepDlgMsg(QString step, QString message)
{
    QMessageBox box;
    box.setWindowTitle(title);
    box.setText(step + QStringLiteral(" - Parameter error!"));
    box.setInformativeText(message);
    box.setStandardButtons(QMessageBox::Ok);
    box.exec();
}

void AppConsole::ProcessInitProgressBar(QString text, int nTraces)
{
    emit initializeProgressBar(text, nTraces);
}

void AppConsole::ProcessUpdateProgressBar(int trace)
{
    emit updateProgressBar(trace);
}

void AppConsole::ProcessClearProgressBar()
{
    emit clearProgressBar();
}
