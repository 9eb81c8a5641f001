#pragma once

#include <QLineEdit>
#include <QString>

namespace obrtest {

// The window's child of that name; a missing one ends the test program, naming it.
template <typename T> T* control(const QObject& window, const QString& name)
{
    T* found = window.findChild<T*>(name);
    if (!found)
        qFatal("no control %s", qPrintable(name));
    return found;
}

// Types into a line edit and leaves it, as the user does.
inline void edit(const QObject& window, const QString& name, const QString& text)
{
    auto* line = control<QLineEdit>(window, name);
    line->setText(text);
    emit line->editingFinished();
}

} // namespace obrtest
