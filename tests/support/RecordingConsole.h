#pragma once

#include "base/ObrConsole.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>
#include <algorithm>

// A console that keeps every call, so tests can compare what a job reported.
class RecordingConsole : public ObrConsole {
public:
    enum Kind { Message, Error, Information, Warning, Debug, LowLevel };

    struct Line {
        Kind kind;
        QString text;
        QColor colour;
        bool popup;
    };

    explicit RecordingConsole(int detailLevel = 3) : level(detailLevel) {}

    void message(const QString& text, const QColor& colour) override
    {
        lines.append({Message, text, colour, false});
    }
    void error(const QString& text, bool popup) override { lines.append({Error, text, Qt::black, popup}); }
    void information(const QString& text, bool popup) override
    {
        lines.append({Information, text, Qt::black, popup});
    }
    void warning(const QString& text, bool popup) override
    {
        lines.append({Warning, text, Qt::black, popup});
    }
    void debug(const QString& text) override
    {
        if (debugEnabled())
            lines.append({Debug, text, Qt::black, false});
    }
    void lowLevel(const QString& text) override
    {
        if (lowLevelEnabled())
            lines.append({LowLevel, text, Qt::black, false});
    }
    void initProgress(const QString& text, int maximum, bool) override
    {
        progressText = text;
        progressMaximum = maximum;
        ++progressInits;
    }
    bool updateProgress(int value) override
    {
        progressValues.append(value);
        return cancelAtValue < 0 || value < cancelAtValue;
    }
    void clearProgress() override { ++progressClears; }
    int detailLevel() const override { return level; }

    // Texts of the lines of one kind, in order.
    QStringList texts(Kind kind) const
    {
        QStringList result;
        for (const Line& line : lines) {
            if (line.kind == kind)
                result.append(line.text);
        }
        return result;
    }
    // Plain message texts, the way a job's console listing reads.
    QStringList messages() const { return texts(Message); }
    QStringList errors() const { return texts(Error); }
    QStringList warnings() const { return texts(Warning); }
    // True when some line of any kind contains the text.
    bool contains(const QString& fragment) const
    {
        return std::any_of(lines.begin(), lines.end(),
                           [&](const Line& line) { return line.text.contains(fragment); });
    }
    // The summary lines of a job's listing: those after its head, up to the empty line.
    QStringList summary(const QString& head) const
    {
        const QStringList lines = messages();
        const int first = lines.indexOf(head) + 1;
        return first > 0 ? lines.mid(first, lines.indexOf(QString(), first) - first)
                         : QStringList{"<no " + head + ">"};
    }
    // The lines a window would show in a message box.
    QStringList popups() const
    {
        QStringList result;
        for (const Line& line : lines) {
            if (line.popup)
                result.append(line.text);
        }
        return result;
    }
    void clear()
    {
        lines.clear();
        progressValues.clear();
    }

    QList<Line> lines;
    int level;
    // Progress as the job reported it.
    QString progressText;
    int progressMaximum = 0;
    int progressInits = 0;
    int progressClears = 0;
    QList<int> progressValues;
    // When set, updateProgress returns false from this value on (the user pressed Abort).
    int cancelAtValue = -1;
};
