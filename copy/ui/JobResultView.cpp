#include "copy/ui/JobResultView.h"

#include <QBoxLayout>
#include <QDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <algorithm>

namespace {

// A path by its file name: the folders are those the window names already.
QString shortName(const QString& path)
{
    const QString name = QFileInfo(path).fileName();
    return name.isEmpty() ? path : name;
}

QString outcomeText(JobResult::Outcome outcome)
{
    switch (outcome) {
    case JobResult::Outcome::Done:
        return QStringLiteral("Done");
    case JobResult::Outcome::Failed:
        return QStringLiteral("Failed (the console says why)");
    case JobResult::Outcome::Aborted:
        return QStringLiteral("Aborted");
    }
    return QString();
}

QColor outcomeColour(JobResult::Outcome outcome)
{
    switch (outcome) {
    case JobResult::Outcome::Done:
        return QColor(0, 110, 0);
    case JobResult::Outcome::Failed:
        return QColor(180, 0, 0);
    case JobResult::Outcome::Aborted:
        return QColor(160, 90, 0);
    }
    return Qt::black;
}

} // namespace

JobResultView::JobResultView(QWidget* parent)
    : QFrame(parent), outcome(new QLabel(this)), files(new QListWidget(this))
{
    setObjectName(QStringLiteral("JobResult"));
    setFrameShape(QFrame::StyledPanel);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 4, 6, 4);
    outcome->setObjectName(QStringLiteral("JobResultLine"));
    outcome->setWordWrap(true);
    outcome->setTextInteractionFlags(Qt::TextSelectableByMouse);
    files->setObjectName(QStringLiteral("JobResultFiles"));
    layout->addWidget(outcome);
    layout->addWidget(files);
    hide();
}

JobResultView* JobResultView::addTo(QDialog* dialog)
{
    auto* view = new JobResultView(dialog);
    auto* layout = qobject_cast<QBoxLayout*>(dialog->layout());
    if (layout)
        layout->insertWidget(qMax(layout->count() - 1, 0), view);
    return view;
}

void JobResultView::showResult(const JobResult& result)
{
    QStringList parts{outcomeText(result.outcome)};
    if (!result.counts.isEmpty())
        parts.append(result.counts.join(QStringLiteral(", ")));
    outcome->setText(parts.join(QStringLiteral(": ")));
    QPalette palette = outcome->palette();
    palette.setColor(QPalette::WindowText, outcomeColour(result.outcome));
    outcome->setPalette(palette);

    files->clear();
    for (const JobResult::FieldFile& file : result.fieldFiles) {
        const QString name = QStringLiteral("Field File %1  %2").arg(file.number).arg(shortName(file.input));
        files->addItem(file.output.isEmpty()
                           ? name + QStringLiteral(" skipped")
                           : QStringLiteral("%1 written to %2").arg(name, shortName(file.output)));
    }
    // As many rows as there are, up to six; the list scrolls for a long job.
    const int rows = std::min(files->count(), 6);
    files->setFixedHeight(rows * files->sizeHintForRow(0) + 2 * files->frameWidth());
    files->setVisible(rows > 0);
    show();
}

void JobResultView::clear()
{
    hide();
    outcome->clear();
    files->clear();
}

QString JobResultView::line() const
{
    return outcome->text();
}

QStringList JobResultView::fieldFiles() const
{
    QStringList rows;
    for (int row = 0; row < files->count(); ++row)
        rows.append(files->item(row)->text());
    return rows;
}
