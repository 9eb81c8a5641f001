#pragma once

#include "analyzers/TraceGathers.h"

#include <QWidget>

class QComboBox;
class QLabel;
class QLineEdit;

// The row over a trace plot that chooses its traces by a header word in place of a trace range:
// a trace key and a value or range ("FieldFile" "1021", "Offset" "0-500"), the next and
// previous gather (PageDown and PageUp over the plot's area), and a line on what was found.
class GatherChoice : public QWidget {
    Q_OBJECT
public:
    // `keysArea`: the widget over which PageDown and PageUp step through the gathers.
    GatherChoice(QWidget* parent, QWidget* keysArea);

    // True when the traces are chosen by a key; the selection, or the problem with what was typed.
    bool byKey() const;
    [[nodiscard]] bool selection(GatherSelection* chosen, QString* problem) const;
    // Shows a selection without signalling it.
    void showSelection(const GatherSelection& chosen);
    void showStatus(const QString& text);

signals:
    // A key or value was chosen, or traces by range again.
    void chosen();
    // The next (1) or previous (-1) gather is asked for.
    void stepped(int direction);

private:
    QComboBox* key;
    QLineEdit* value;
    QLabel* status;
    QString applied; // the value last chosen
};
