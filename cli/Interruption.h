#pragma once

// Ctrl-C and SIGTERM on the command line. While a job listens, the first signal asks it to stop at
// its next block, as the window's Abort button does, and the job ends with its summary; a second
// signal ends the process at once. Ending at once, or with no job listening, removes the outputs
// not yet whole first.
namespace Interruption {

// Sets the handlers; called once, at the start of the program.
void install();
// The first signal has come while a job listened.
bool requested();

// A job listens for as long as one of these lives.
class Listening {
public:
    Listening();
    ~Listening();
    Listening(const Listening&) = delete;
    Listening& operator=(const Listening&) = delete;
};

} // namespace Interruption
