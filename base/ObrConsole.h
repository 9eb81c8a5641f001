#pragma once

#include <QColor>
#include <QString>

// The one channel through which every part of the system reports: coloured lines,
// prefixed errors, warnings, information, debug and low-level lines, and the progress
// of long jobs. Implementations decide where the lines go (text area, terminal, test).
class ObrConsole {
public:
    virtual ~ObrConsole() = default;

    virtual void message(const QString& text, const QColor& colour) = 0;
    virtual void error(const QString& text, bool popup) = 0;
    virtual void information(const QString& text, bool popup) = 0;
    virtual void warning(const QString& text, bool popup) = 0;
    virtual void debug(const QString& text) = 0;
    virtual void lowLevel(const QString& text) = 0;
    virtual void initProgress(const QString& text, int maximum, bool showDialog) = 0;
    // False when the user cancelled; the caller stops its job.
    virtual bool updateProgress(int value) = 0;
    virtual void clearProgress() = 0;
    // A job begins. A console that thins out long runs of lines counts the job's lines afresh,
    // so that its start, per-file and summary lines show however many lines came before.
    virtual void jobStarted() {}

    // The error lines said so far, for a caller that must not finish an output once one was said;
    // always 0 for a console that does not count them.
    virtual int errorCount() const { return 0; }

    // Per-record lines are costly to format; callers ask first whether they would show.
    virtual int detailLevel() const = 0;
    bool debugEnabled() const { return detailLevel() == 2 || detailLevel() == 3; }
    bool lowLevelEnabled() const { return detailLevel() == 3; }
};

namespace ConsolePrefix {
inline const QString error = QStringLiteral(" *** Error:   ");
inline const QString information = QStringLiteral(" ** Information:   ");
inline const QString warning = QStringLiteral(" ** Warning:   ");
inline const QString debug = QStringLiteral("  * Debug:   ");
inline const QString lowLevel = QStringLiteral("  * LowLevel:   ");
} // namespace ConsolePrefix
