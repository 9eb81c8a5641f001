#pragma once

#include <QString>

// What a console shows: the optional interval filter and the detail level.
// Defaults: no interval filter, interval 0 (read as 1), level 1 (no debug, no low-level lines).
struct ConsoleSettings {
    bool intervalFilter = false;
    int messageInterval = 0;
    int detailLevel = 1;
};

// Whether a plain line reaches the text area, given how many lines came before it.
// Keyword lines always pass; otherwise long jobs are thinned out by the count.
bool consoleShowsLine(int messageCounter, const QString& text, const ConsoleSettings& settings);
