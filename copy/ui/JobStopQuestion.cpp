#include "copy/ui/JobStopQuestion.h"

#include <QMessageBox>

namespace JobStopQuestion {

bool stopConfirmed(QWidget* window)
{
    return QMessageBox::question(window, window->windowTitle(),
                                 QStringLiteral("The job is still running.\nStop it?"),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) == QMessageBox::Yes;
}

} // namespace JobStopQuestion
