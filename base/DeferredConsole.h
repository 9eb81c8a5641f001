#pragma once

#include "base/ObrConsole.h"

#include <QColor>
#include <QString>
#include <QVector>

// A console for work on another thread: it keeps the lines, and the thread that owns the real
// console (which touches widgets) passes them on once the work is done. Progress is not kept;
// the work reports it its own way.
class DeferredConsole : public ObrConsole {
public:
    explicit DeferredConsole(int detailLevel) : level(detailLevel) {}

    void message(const QString& text, const QColor& colour) override;
    void error(const QString& text, bool popup) override;
    void information(const QString& text, bool popup) override;
    void warning(const QString& text, bool popup) override;
    void debug(const QString& text) override;
    void lowLevel(const QString& text) override;
    void initProgress(const QString&, int, bool) override {}
    bool updateProgress(int) override { return true; }
    void clearProgress() override {}
    int detailLevel() const override { return level; }

    bool isEmpty() const { return lines.isEmpty(); }
    void clear() { lines.clear(); }
    // Sends every kept line to the console, in order, and forgets them.
    void passOn(ObrConsole& console);

private:
    enum class Kind { Message, Error, Information, Warning, Debug, LowLevel };
    struct Line {
        Kind kind;
        QString text;
        QColor colour;
        bool popup;
    };

    QVector<Line> lines;
    int level;
};
