#pragma once

class QWidget;

// Combo boxes and spin boxes in a scrolled list take the mouse wheel only once the user has
// clicked or tabbed into them; before that the wheel scrolls the list, as the user meant, instead
// of changing a setting under the pointer.
namespace WheelGuard {

// Guards every combo box and spin box under window that lies inside a scroll area.
void guardScrolledFields(QWidget* window);
// Guards one field.
void guard(QWidget* field);

} // namespace WheelGuard
