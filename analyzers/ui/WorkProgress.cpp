#include "analyzers/ui/WorkProgress.h"

#include "analyzers/BackgroundWork.h"

#include <QBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStringList>

WorkProgress::WorkProgress(QBoxLayout* layout, int index, QObject* parent)
    : QObject(parent), bar(new QProgressBar), cancel(new QPushButton(QStringLiteral("Cancel"))),
      cancelledLine(new QLabel)
{
    bar->setObjectName(QStringLiteral("PictureProgress"));
    cancel->setObjectName(QStringLiteral("CancelPictures"));
    cancel->setAutoDefault(false);
    cancel->setToolTip(QStringLiteral("Stop drawing; the pictures shown before stay"));
    cancelledLine->setObjectName(QStringLiteral("PictureCancelled"));
    layout->insertWidget(index, cancelledLine);
    layout->insertWidget(index, cancel);
    layout->insertWidget(index, bar);
    bar->hide();
    cancel->hide();
    cancelledLine->hide();
    connect(cancel, &QPushButton::clicked, this, &WorkProgress::cancelAll);
}

void WorkProgress::watch(BackgroundWork* work, const QString& name)
{
    works.emplace_back(work, name);
    connect(work, &BackgroundWork::progress, this, &WorkProgress::showProgress);
    connect(work, &BackgroundWork::finished, this, &WorkProgress::showProgress);
}

void WorkProgress::showProgress()
{
    int done = 0;
    int total = 0;
    QStringList names;
    for (const auto& [work, name] : works) {
        if (!work->running())
            continue;
        names.append(name);
        done += work->progressDone();
        total += work->progressTotal();
    }
    const bool running = !names.isEmpty();
    if (running) {
        cancelledLine->hide();
        bar->setFormat(names.join(QStringLiteral(", ")) + QStringLiteral(": %v of %m traces"));
        bar->setRange(0, std::max(total, 1));
        bar->setValue(std::min(done, total));
    }
    bar->setVisible(running);
    cancel->setVisible(running);
}

void WorkProgress::cancelAll()
{
    QStringList names;
    for (const auto& [work, name] : works) {
        if (work->running())
            names.append(name);
        work->cancel();
    }
    showProgress();
    if (names.isEmpty())
        return;
    cancelledLine->setText(names.join(QStringLiteral(", ")) + QStringLiteral(" cancelled"));
    cancelledLine->show();
}
