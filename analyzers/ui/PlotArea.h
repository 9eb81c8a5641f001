#pragma once

#include <QObject>
#include <QPointer>
#include <QVector>
#include <Qt>

class QPushButton;
class QShortcut;
class QWidget;

namespace Ui {
class SegyAnalyzerClass;
}

// The room the SEG-Y analyzer's trace plot gets. The format controls beside the tabs collapse
// ("Format controls" in the button row): by default they make way while the seismic view is
// shown and come back with the other tabs, and each kind of tab keeps the user's choice. "Full
// window" (F11) gives the plot the whole window, nothing else shown; Esc or F11 go back.
class PlotArea : public QObject {
    Q_OBJECT
public:
    PlotArea(Ui::SegyAnalyzerClass& form, QWidget* window);

    bool fullWindow() const { return !hidden.isEmpty(); }

public slots:
    void toggleFullWindow();

private:
    void tabShown(int index);
    void showFormatControls(bool shown);
    void enterFullWindow();
    void leaveFullWindow();

    Ui::SegyAnalyzerClass& form;
    QWidget* window;
    QPushButton* formatToggle;
    QPushButton* fullWindowButton;
    QShortcut* leave;
    // Whether the format controls are shown with the seismic view and with the other tabs.
    bool withPlot = false;
    bool withTables = true;
    // What full window mode hid, shown again when it ends, and the window's state before it.
    QVector<QPointer<QWidget>> hidden;
    Qt::WindowStates stateBefore;
};
