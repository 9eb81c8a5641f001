#pragma once

#include "base/ObrConsole.h"

#include <QFile>
#include <QString>

// Passes every line of a job to a console and writes its messages, errors and warnings to a
// report file as well.
class ReportConsole : public ObrConsole {
public:
    ReportConsole(ObrConsole* console, const QString& reportPath, bool append);

    // False when the report file could not be opened (the job goes on without it).
    bool reportOpen() const { return report.isOpen(); }

    void message(const QString& text, const QColor& colour) override;
    void error(const QString& text, bool popup) override;
    void information(const QString& text, bool popup) override;
    void warning(const QString& text, bool popup) override;
    void debug(const QString& text) override { console->debug(text); }
    void lowLevel(const QString& text) override;
    void initProgress(const QString& text, int maximum, bool showDialog) override
    {
        console->initProgress(text, maximum, showDialog);
    }
    bool updateProgress(int value) override { return console->updateProgress(value); }
    void clearProgress() override { console->clearProgress(); }
    void jobStarted() override { console->jobStarted(); }
    int detailLevel() const override { return console->detailLevel(); }

private:
    void writeLine(const QString& text);

    ObrConsole* console;
    QFile report;
};
