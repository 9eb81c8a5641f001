#pragma once

// Shows the wait cursor while a tape operation runs. Does nothing without a
// graphical application (the command-line program runs with a core application).
class TapeWaitCursor {
public:
    TapeWaitCursor();
    ~TapeWaitCursor();
    TapeWaitCursor(const TapeWaitCursor&) = delete;
    TapeWaitCursor& operator=(const TapeWaitCursor&) = delete;

private:
    bool shown = false;
};
