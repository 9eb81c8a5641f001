#pragma once

#include "copy/CopyOperator.h"

#include <QString>

// The answers a test gives to a job's questions about its outputs, and its stop: the operator
// interface `Operator` with those parts scripted.
template <typename Operator> class ScriptedOutputs : public Operator {
public:
    using TapeStart = CopyOperator::TapeStart;

    bool replace = true;
    TapeStart tapeStart = TapeStart::Overwrite;
    // The files the output tape held when the job asked; -1 when it did not ask.
    int tapeFiles = -1;
    // The job is asked to stop once it has asked this many times whether to go on; -1: never.
    int stopAfter = -1;

    void startProgress(qint64) override {}
    void showProgress(qint64) override {}
    void endProgress() override {}
    bool keepAlive() override { return stopAfter < 0 || stopAfter-- > 0; }
    bool replaceFile(const QString&) override { return replace; }
    TapeStart startOnTapeWithData(TapeDevice*, int files) override
    {
        tapeFiles = files;
        return tapeStart;
    }
};
