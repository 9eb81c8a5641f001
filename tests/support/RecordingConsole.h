#pragma once

#include "app/ObrConsole.h"

#include <QColor>
#include <QList>
#include <QString>
#include <QStringList>

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

    // Texts of the lines of one kind, in order.
    QStringList texts(Kind kind) const;
    // Plain message texts, the way a job's console listing reads.
    QStringList messages() const { return texts(Message); }
    QStringList errors() const { return texts(Error); }
    QStringList warnings() const { return texts(Warning); }
    // True when some line of any kind contains the text.
    bool contains(const QString& fragment) const;
    void clear();

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
