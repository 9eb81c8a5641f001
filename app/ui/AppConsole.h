#pragma once

#include "app/ConsoleSettings.h"
#include "base/ObrConsole.h"

#include <QColor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <memory>

class ObrApp;
class QFile;
class QMenu;
class QProgressDialog;
class QTextEdit;
class QTextStream;
class QWidget;

// The console of the windows: lines in a read-only text area (thinned out during long jobs),
// every line in an optional log file, message boxes on request and a progress dialog.
// Without a text area, lines become message boxes (or standard output when not in GUI mode).
class AppConsole : public QObject, public ObrConsole {
    Q_OBJECT
public:
    // A log name "run.txt" or "run" writes the log "run.console"; an empty name writes none.
    // The tag is kept for the caller and not used by the console.
    AppConsole(ObrApp* application, QTextEdit* textWidget, const QString& logName, int tag = 0);
    ~AppConsole() override;

    void message(const QString& text, const QColor& colour) override;
    void error(const QString& text, bool popup) override;
    void information(const QString& text, bool popup) override;
    void warning(const QString& text, bool popup) override;
    void debug(const QString& text) override;
    void lowLevel(const QString& text) override;
    void initProgress(const QString& text, int maximum, bool showDialog) override;
    bool updateProgress(int value) override;
    void clearProgress() override;
    void jobStarted() override;
    int detailLevel() const override;

    // The log file's path; empty when there is no log.
    const QString& logFileName() const { return logFileName_; }
    int tag() const { return tag_; }

    // How many lines all consoles have sent to a text area so far; it thins out long jobs.
    static int messageCounter();
    static void setMessageCounter(int value);

    // The text area's context menu: its own entries and "Save console..."; the caller owns it.
    QMenu* createContextMenu();
    // Asks for a file and writes the text area's lines into it.
    void saveWithDialog();

signals:
    void initializeProgressBar(QString text, int nTraces);
    void updateProgressBar(int traces);
    void clearProgressBar();

public slots:
    // Entry points for work on another thread, reached through queued connections.
    void ProcessThreadMsgMode(bool mode);
    void ProcessThreadMsg(QString message, int type, QColor color);
    void ProcessThreadDlgMsg(QString message, int type);
    void ProcessThreadStepDlgMsg(QString step, QString message);
    void ProcessInitProgressBar(QString text, int nTraces);
    void ProcessUpdateProgressBar(int trace);
    void ProcessClearProgressBar();

private:
    void openLog(const QString& logName);
    void prefixed(const QString& prefix, const QString& text, bool popup, const QString& boxTitle,
                  bool criticalBox);
    void appendLine(const QString& text, const QColor& colour);
    ConsoleSettings settings() const;

    bool guiMode;
    QPointer<QTextEdit> textWidget; // not owned
    std::unique_ptr<QFile> logFile;
    std::unique_ptr<QTextStream> logStream;
    ObrApp* application;
    QWidget* dialogParent = nullptr;
    QString title;
    QPointer<QProgressDialog> progressDialog;
    QString logFileName_;
    int progressMaximum = 0;
    bool showProgressDialog = false;
    int tag_;
};
