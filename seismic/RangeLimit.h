#pragma once

#include <QtGlobal>

// One test of range limiting: a trace key value v passes when first <= v <= last and
// (v - first) is a multiple of increment; a window of two or more repeats the test with
// first and last shifted by -window/2 + k for k = 0 .. window - 1.
struct RangeLimit {
    int key = 0; // TraceKey number
    qint64 first = 0;
    qint64 last = 0;
    qint64 increment = 1;
    int window = 0;
};
