#pragma once

#include <QSize>

class QWidget;

// Every window opens within the screen it appears on: a window larger than the screen's free
// area (without task bars) has its controls out of reach.
namespace ScreenFit {

// Shrinks the window, and a minimum size that would not fit, to the available area of its screen,
// keeping room for the window frame. Called once the window's contents are built.
void fitToScreen(QWidget* window);
// The room a window has on its screen inside its frame; empty without a screen.
QSize availableSize(const QWidget* window);

} // namespace ScreenFit
