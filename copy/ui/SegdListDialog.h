#pragma once

#include "copy/NumberList.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

// The small dialog behind the SEG-D copy's "Options..." buttons: a list of numbers such as
// "1-100, 150, 200-300", and for field files whether the list excludes them. A malformed list
// is named in the dialog, which stays open until the list is mended or the dialog cancelled.
class SegdListDialog : public QDialog {
    Q_OBJECT
public:
    SegdListDialog(const QString& title, const QString& prompt, bool withExclude, QWidget* parent);

    void setText(const QString& text);
    QString text() const;
    void setExclude(bool exclude);
    bool exclude() const;
    // The list accepted.
    const NumberList& list() const { return parsed; }

public slots:
    void accept() override;

private:
    QLineEdit* edit;
    QCheckBox* excludeOption;
    QLabel* errorLabel;
    NumberList parsed;
};
