#pragma once

#include "sps/ui/SpsAnalyzer.h"
#include "ui_SpsSourceAnalyzer.h"

// The analyzer of SPS files of source point records ("S").
class SpsSourceAnalyzer : public SpsAnalyzer, private Ui::SpsSourceAnalyzerUi {
    Q_OBJECT
public:
    // fileName: absolute, or relative to the survey directory; empty for none. The console
    // receives the analyzer's warnings and errors.
    SpsSourceAnalyzer(QWidget* parent, const QString& surveyDirectory, const QString& fileName,
                      ObrConsole* console);
};
