#include "sps/ui/SpsSourceAnalyzer.h"

#include "sps/ui/SpsFormParts.h"

SpsSourceAnalyzer::SpsSourceAnalyzer(QWidget* parent, const QString& surveyDirectory, const QString& fileName,
                                     ObrConsole* console)
    : SpsAnalyzer(SpsKind::Source, parent, surveyDirectory, fileName, console)
{
    setupUi(this);
    start({QStringLiteral("Source"), QStringLiteral("SourceLoad"), QStringLiteral("Source_"),
           SpsFormParts::point()});
}
