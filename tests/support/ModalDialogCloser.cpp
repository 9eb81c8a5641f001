#include "tests/support/ModalDialogCloser.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QMessageBox>

ModalDialogCloser::ModalDialogCloser(QObject* parent) : QObject(parent)
{
    // A modal box runs its own event loop, in which this timer keeps firing.
    timer.setInterval(10);
    connect(&timer, &QTimer::timeout, this, &ModalDialogCloser::closeActiveModal);
    timer.start();
}

QStringList ModalDialogCloser::titles() const
{
    QStringList result;
    for (const Seen& entry : seen_)
        result.append(entry.title);
    return result;
}

void ModalDialogCloser::answerNext(const QString& button)
{
    actOnNext([button](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        for (QAbstractButton* choice : box ? box->buttons() : QList<QAbstractButton*>()) {
            if (choice->text().remove('&') == button)
                return choice->click();
        }
        qFatal("no button \"%s\" in the modal widget", qPrintable(button));
    });
}

void ModalDialogCloser::closeActiveModal()
{
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal || !modal->isVisible())
        return;
    Seen entry;
    entry.className = QString::fromLatin1(modal->metaObject()->className());
    entry.title = modal->windowTitle();
    auto* box = qobject_cast<QMessageBox*>(modal);
    if (box) {
        entry.text = box->text();
        entry.informativeText = box->informativeText();
        entry.icon = box->icon();
    }
    if (!actions.isEmpty()) {
        seen_.append(entry);
        actions.takeFirst()(modal);
        return;
    }
    if (box) {
        seen_.append(entry);
        QAbstractButton* answer = box->escapeButton();
        if (!answer && !box->buttons().isEmpty())
            answer = box->buttons().first();
        if (answer)
            answer->click();
        else
            box->done(0);
        return;
    }
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
        seen_.append(entry);
        dialog->reject();
    }
}
