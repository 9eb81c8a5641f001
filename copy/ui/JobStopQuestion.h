#pragma once

class QWidget;

// Closing a tool while its job runs asks first: a stopped job drops the file it was writing (on
// tape, the data ends where it stopped), so the operator decides.
namespace JobStopQuestion {

// True when the operator answers that the running job is to stop; the question is titled as window.
bool stopConfirmed(QWidget* window);

} // namespace JobStopQuestion
