#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// Watches for modal message boxes and dialogs while a test runs code that opens them, records
// what each showed and closes it, so the code under test goes on instead of waiting for a user.
// Message boxes are answered with their escape button (else their first button); other dialogs
// are rejected, unless an action was queued for them.
class ModalDialogCloser : public QObject {
    Q_OBJECT
public:
    struct Seen {
        QString className; // "QMessageBox", "QFileDialog", ...
        QString title;
        QString text;            // a message box's text; empty for other dialogs
        QString informativeText; // a message box's informative text
        int icon = 0;            // a message box's QMessageBox::Icon
    };

    explicit ModalDialogCloser(QObject* parent = nullptr);

    // The next modal widget to show is handed to `act` instead, which must close it.
    void actOnNext(std::function<void(QWidget*)> act) { actions.append(std::move(act)); }
    // The next modal widget, a message box, is answered with the button of that text ("Yes").
    void answerNext(const QString& button);

    const QList<Seen>& seen() const { return seen_; }
    int count() const { return seen_.size(); }
    QStringList titles() const;
    void clear() { seen_.clear(); }

private:
    void closeActiveModal();

    QTimer timer;
    QList<Seen> seen_;
    QList<std::function<void(QWidget*)>> actions;
};
