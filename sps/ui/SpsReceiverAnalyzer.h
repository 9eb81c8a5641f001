#pragma once

#include "sps/ui/SpsAnalyzer.h"
#include "ui_SpsReceiverAnalyzer.h"

// The analyzer of SPS files of receiver point records ("R").
class SpsReceiverAnalyzer : public SpsAnalyzer, private Ui::SpsReceiverAnalyzerUi {
    Q_OBJECT
public:
    // fileName: absolute, or relative to the survey directory; empty for none. The console
    // receives the analyzer's warnings and errors.
    SpsReceiverAnalyzer(QWidget* parent, const QString& surveyDirectory, const QString& fileName,
                        ObrConsole* console);
};
