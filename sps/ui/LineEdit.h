#pragma once

#include <QLineEdit>

// A line edit that tells when the user clicks into it.
class LineEdit : public QLineEdit {
    Q_OBJECT
public:
    explicit LineEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}

signals:
    // After the normal handling of every mouse press.
    void selected();

protected:
    void mousePressEvent(QMouseEvent* event) override;
};
