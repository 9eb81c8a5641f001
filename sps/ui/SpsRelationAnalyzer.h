#pragma once

#include "sps/ui/SpsAnalyzer.h"
#include "ui_SpsRelationAnalyzer.h"

// The analyzer of SPS files of relation records ("X").
class SpsRelationAnalyzer : public SpsAnalyzer, private Ui::SpsRelationAnalyzerUi {
    Q_OBJECT
public:
    // fileName: absolute, or relative to the survey directory; empty for none. The console
    // receives the analyzer's warnings and errors.
    SpsRelationAnalyzer(QWidget* parent, const QString& surveyDirectory, const QString& fileName,
                        ObrConsole* console);
};
