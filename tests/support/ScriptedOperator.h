#pragma once

#include "copy/DirCopyOperator.h"

#include <QList>
#include <QString>
#include <functional>

namespace copytest {

// The operator of every copy job: tapes to go on with taken from scripts (null: "No more tapes"),
// the answers to the questions about outputs, the progress kept, and `alive`, when set, asked too
// whether to go on (a test acts there while the job runs).
class ScriptedOperator : public DirCopyOperator {
public:
    using TapeStart = CopyOperator::TapeStart;

    bool replace = true;
    TapeStart tapeStart = TapeStart::Overwrite;
    // The files the output tape held when the job asked; -1 when it did not ask.
    int tapeFiles = -1;
    // The job is asked to stop once it has asked this many times whether to go on; -1: never.
    int stopAfter = -1;
    QList<TapeDevice*> inputAnswers;
    QList<TapeDevice*> outputAnswers;
    int inputPrompts = 0;
    int outputPrompts = 0;
    qint64 total = 0;
    qint64 shown = 0;
    std::function<bool()> alive;

    void startProgress(qint64 units) override { total = units; }
    void showProgress(qint64 done) override { shown = done; }
    void endProgress() override {}
    bool keepAlive() override { return (stopAfter < 0 || stopAfter-- > 0) && (!alive || alive()); }
    bool replaceFile(const QString&) override { return replace; }
    TapeStart startOnTapeWithData(TapeDevice*, int files) override
    {
        tapeFiles = files;
        return tapeStart;
    }
    TapeDevice* nextInputTape(TapeDevice*) override
    {
        ++inputPrompts;
        return inputAnswers.isEmpty() ? nullptr : inputAnswers.takeFirst();
    }
    TapeDevice* nextOutputTape(TapeDevice*) override
    {
        ++outputPrompts;
        return outputAnswers.isEmpty() ? nullptr : outputAnswers.takeFirst();
    }
    void showCurrentFile(const QString&) override {}
};

} // namespace copytest
