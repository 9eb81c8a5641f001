#pragma once

#include "app/ConsoleSettings.h"
#include "base/ObrConsole.h"

#include <QElapsedTimer>

// The console of the command-line program: plain lines on standard output, prefixed
// lines (errors, warnings, information, debug, low-level) on standard error, and a
// text progress bar when standard error is a terminal.
class TerminalConsole : public ObrConsole {
public:
    explicit TerminalConsole(int detailLevel = 1);
    ~TerminalConsole() override;

    void message(const QString& text, const QColor& colour) override;
    void error(const QString& text, bool popup) override;
    void information(const QString& text, bool popup) override;
    void warning(const QString& text, bool popup) override;
    void debug(const QString& text) override;
    void lowLevel(const QString& text) override;
    void initProgress(const QString& text, int maximum, bool showDialog) override;
    bool updateProgress(int value) override;
    void clearProgress() override;
    int detailLevel() const override { return level; }

    void setDetailLevel(int value) { level = value; }
    // The error lines written so far: an action that wrote one has failed, whatever it returns.
    int errorCount() const override { return errors; }
    // Forces the progress bar on or off (it is on by default only on a terminal).
    void setProgressBar(bool enabled) { progressBar = enabled; }

private:
    void prefixed(const QString& prefix, const QString& text);
    void eraseProgress();
    void drawProgress(int value);

    int level;
    int errors = 0;
    bool progressBar;
    bool progressShown = false;
    QString progressText;
    int progressMaximum = 0;
    QElapsedTimer sinceDraw;
};
