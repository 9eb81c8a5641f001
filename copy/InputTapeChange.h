#pragma once

class CopyOperator;
class JobConsole;
class TapeDevice;

// The end of an input tape in a copy job: rewind and unload it as its drive is set up, say so,
// and ask the operator for the next one; `tapeNumber` counts on. Null when no tape follows.
TapeDevice* endInputTape(JobConsole& lines, CopyOperator* copyOperator, TapeDevice* tape, int& tapeNumber);
