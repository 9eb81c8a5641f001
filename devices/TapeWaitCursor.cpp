#include "devices/TapeWaitCursor.h"

#include <QCursor>
#include <QGuiApplication>

TapeWaitCursor::TapeWaitCursor()
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        shown = true;
    }
}

TapeWaitCursor::~TapeWaitCursor()
{
    if (shown)
        QGuiApplication::restoreOverrideCursor();
}
