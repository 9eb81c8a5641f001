#pragma once

#include <QSpinBox>

class LineEdit;

// A spin box that tells when the user clicks on it: its own selected() for presses on the box
// (the arrows), its line edit's selected() for presses into the number.
class SpinBox : public QSpinBox {
    Q_OBJECT
public:
    explicit SpinBox(QWidget* parent = nullptr);

    LineEdit* editor() const { return editor_; }

signals:
    // After the normal handling of a mouse press on the spin box itself.
    void selected();

protected:
    void mousePressEvent(QMouseEvent* event) override;

private:
    LineEdit* editor_;
};
