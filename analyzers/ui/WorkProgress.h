#pragma once

#include <QObject>
#include <QString>
#include <vector>

class BackgroundWork;
class QBoxLayout;
class QLabel;
class QProgressBar;
class QPushButton;

// The progress of the pictures a window draws on worker threads, with a "Cancel" that stops
// them: the pictures shown before stay, and a line says what was cancelled.
class WorkProgress : public QObject {
    Q_OBJECT
public:
    // Puts its bar, button and line into the layout at the index.
    WorkProgress(QBoxLayout* layout, int index, QObject* parent);

    // Shows the progress of the work under the name ("Spectra"), and cancels it with the others.
    void watch(BackgroundWork* work, const QString& name);
    void cancelAll();

private:
    void showProgress();

    std::vector<std::pair<BackgroundWork*, QString>> works;
    QProgressBar* bar;
    QPushButton* cancel;
    QLabel* cancelledLine;
};
