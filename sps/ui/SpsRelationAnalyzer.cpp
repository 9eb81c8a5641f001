#include "sps/ui/SpsRelationAnalyzer.h"

#include "sps/ui/SpsFormParts.h"

SpsRelationAnalyzer::SpsRelationAnalyzer(QWidget* parent, const QString& surveyDirectory,
                                         const QString& fileName, ObrConsole* console)
    : SpsAnalyzer(SpsKind::Relation, parent, surveyDirectory, fileName, console)
{
    setupUi(this);
    start({QString(), QStringLiteral("Load"), QString(), SpsFormParts::relation()});
}
