#include "sps/ui/SpinBox.h"

#include "sps/ui/LineEdit.h"

SpinBox::SpinBox(QWidget* parent) : QSpinBox(parent), editor_(new LineEdit(this))
{
    setLineEdit(editor_);
}

void SpinBox::mousePressEvent(QMouseEvent* event)
{
    QSpinBox::mousePressEvent(event);
    emit selected();
}
