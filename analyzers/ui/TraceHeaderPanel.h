#pragma once

#include <QTreeWidget>

namespace SegyTraceDump {
struct Dump;
}

// The header words of the trace last clicked, beside the plot: names and values in two columns
// that fit the panel's width (a long name is cut short in its middle, its whole text in the tool
// tip; values right-aligned in a column as wide as the widest), grouped as stored words, decoded
// keys and the trace's scalars and times.
class TraceHeaderPanel : public QTreeWidget {
    Q_OBJECT
public:
    explicit TraceHeaderPanel(QWidget* parent);

    void showDump(const SegyTraceDump::Dump& dump);
    // A line in place of the words, when the trace could not be read.
    void showMessage(const QString& text);
    // The title line: which trace is shown.
    QString title() const;

protected:
    // Ctrl+C copies the rows chosen as lines of name and value, separated by a tab.
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTreeWidgetItem* addSection(const QString& title);
    void addRow(QTreeWidgetItem* section, const QString& name, const QString& value, const QString& tip);
};
