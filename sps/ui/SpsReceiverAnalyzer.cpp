#include "sps/ui/SpsReceiverAnalyzer.h"

#include "sps/ui/SpsFormParts.h"

SpsReceiverAnalyzer::SpsReceiverAnalyzer(QWidget* parent, const QString& surveyDirectory,
                                         const QString& fileName, ObrConsole* console)
    : SpsAnalyzer(SpsKind::Receiver, parent, surveyDirectory, fileName, console)
{
    setupUi(this);
    start({QStringLiteral("Receiver"), QStringLiteral("ReceiverLoad"), QStringLiteral("Receiver_"),
           SpsFormParts::point()});
}
