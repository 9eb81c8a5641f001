#pragma once

#include <QtGlobal>

class ObrConsole;

// Keeps Qt's own messages (such as the headless platform's note about a missing runtime
// directory) off the terminal unless asked for: its warnings become debug lines (-v), its
// debug and information messages low-level lines (-vv); critical and fatal ones are errors.
// Lasts as long as the object; the console must outlive it.
class QtMessages {
public:
    explicit QtMessages(ObrConsole& console);
    ~QtMessages();
    QtMessages(const QtMessages&) = delete;
    QtMessages& operator=(const QtMessages&) = delete;

private:
    QtMessageHandler previous;
};
