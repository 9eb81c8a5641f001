#pragma once

#include "copy/JobResult.h"

#include <QFrame>

class QDialog;
class QLabel;
class QListWidget;

// The outcome of a copy window's last job, in the window itself: a line with "Done", "Failed" or
// "Aborted" and the counts of the job's summary, and for a SEG-D copy the field files written and
// skipped by name. Hidden until a job ends; the console the window may cover has the full story.
class JobResultView : public QFrame {
    Q_OBJECT
public:
    // Made in `dialog`'s top layout above its last row, the buttons.
    static JobResultView* addTo(QDialog* dialog);

    void showResult(const JobResult& result);
    // A new job starts: the last one's outcome goes.
    void clear();

    QString line() const;
    // The rows of the field file list, as shown.
    QStringList fieldFiles() const;

private:
    explicit JobResultView(QWidget* parent);

    QLabel* outcome;
    QListWidget* files;
};
