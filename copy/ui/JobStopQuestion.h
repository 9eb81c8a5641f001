#pragma once

class QWidget;

// Closing a tool while its job runs asks first: a stopped job leaves a partial output (on tape,
// a tape to write again), so the operator decides.
namespace JobStopQuestion {

// True when the operator answers that the running job is to stop; the question is titled as window.
bool stopConfirmed(QWidget* window);

} // namespace JobStopQuestion
