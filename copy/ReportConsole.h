#pragma once

#include "base/ObrConsole.h"

#include <QFile>
#include <QString>

// A console that passes every line on and also writes the lines a job reports to a text file,
// the job's report, with the prefixes the terminal shows.
class ReportConsole : public ObrConsole {
public:
    explicit ReportConsole(ObrConsole* console);

    // Opens the report file, replacing or appending to what it holds; false with a reason.
    [[nodiscard]] bool open(const QString& path, bool append, QString* errorText);

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

private:
    void write(const QString& line);

    ObrConsole* console;
    QFile file;
};
