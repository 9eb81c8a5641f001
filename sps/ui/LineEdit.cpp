#include "sps/ui/LineEdit.h"

void LineEdit::mousePressEvent(QMouseEvent* event)
{
    QLineEdit::mousePressEvent(event);
    emit selected();
}
