#include "analyzers/ui/TraceQcPanel.h"

#include "analyzers/TraceQcMarks.h"
#include "analyzers/ui/TracePlotControls.h"
#include "analyzers/ui/TracePlotView.h"

#include <QHeaderView>
#include <QLabel>
#include <QMap>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>
#include <utility>

TraceQcPanel::TraceQcPanel(QWidget* parent, TracePlotControls* controls)
    : QWidget(parent), summary(new QLabel(this)), table_(new QTableWidget(0, 2, this))
{
    setObjectName(QStringLiteral("TraceQcPanel"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* check = new QPushButton(QStringLiteral("Check shown traces"), this);
    check->setObjectName(QStringLiteral("CheckTraces"));
    check->setAutoDefault(false);
    check->setToolTip(QStringLiteral("Dead: every sample the same; clipped: the peak held %1 samples or "
                                     "more; noisy: RMS above %2 times the median of its field file")
                          .arg(TraceQc::clippedRun)
                          .arg(TraceQc::noisyFactor));
    layout->addWidget(check);
    summary->setObjectName(QStringLiteral("TraceQcSummary"));
    summary->setWordWrap(true);
    layout->addWidget(summary);
    table_->setObjectName(QStringLiteral("TraceQcTable"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Trace"), QStringLiteral("Finding")});
    table_->verticalHeader()->hide();
    table_->horizontalHeader()->setStretchLastSection(true);
    table_->horizontalHeader()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    layout->addWidget(table_, 1);
    connect(check, &QPushButton::clicked, this, &TraceQcPanel::checkRequested);
    hide();
    connect(controls, &TracePlotControls::qcToggled, this, [this](bool shown) {
        setVisible(shown);
        if (!shown)
            return;
        makeRoom();
        emit checkRequested();
    });
    connect(table_, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (view)
            view->showTrace(table_->item(row, 0)->data(Qt::DisplayRole).toInt());
    });
}

void TraceQcPanel::makeRoom()
{
    auto* splitter = qobject_cast<QSplitter*>(parentWidget());
    if (!splitter)
        return;
    // A panel shown in a splitter opens squeezed to nothing; it takes its width from the plot.
    QList<int> sizes = splitter->sizes();
    const int index = splitter->indexOf(this);
    const int wanted = fontMetrics().horizontalAdvance(QStringLiteral("Check shown traces")) + 48;
    // A splitter not laid out yet shares its width out itself; the plot is never squeezed away.
    if (index <= 0 || sizes[index] > 0 || sizes[0] <= 2 * wanted)
        return;
    sizes[0] -= wanted;
    sizes[index] = wanted;
    splitter->setSizes(sizes);
}

void TraceQcPanel::showQc(const TraceQc& qc, TracePlotView* shownOn)
{
    view = shownOn;
    if (view)
        view->setQc(qc);
    // A trace may show more than one thing; one row each, in trace order.
    using Kind = TraceQcMarks::Kind;
    QMap<int, QVector<Kind>> findings;
    for (const auto& [traces, kind] : {std::pair(&qc.dead, Kind::Dead), std::pair(&qc.clipped, Kind::Clipped),
                                       std::pair(&qc.noisy, Kind::Noisy)}) {
        for (int trace : *traces)
            findings[trace].append(kind);
    }
    table_->setRowCount(0);
    table_->setRowCount(findings.size());
    int row = 0;
    for (auto it = findings.cbegin(); it != findings.cend(); ++it, ++row) {
        auto* trace = new QTableWidgetItem;
        trace->setData(Qt::DisplayRole, it.key());
        QStringList names;
        for (Kind kind : it.value())
            names.append(QLatin1String(TraceQcMarks::name(kind)));
        auto* finding = new QTableWidgetItem(names.join(QStringLiteral(", ")));
        finding->setForeground(TraceQcMarks::colour(it.value().first()));
        table_->setItem(row, 0, trace);
        table_->setItem(row, 1, finding);
    }
    summary->setText(QStringLiteral("%1 traces checked: %2 dead, %3 clipped, %4 noisy%5")
                         .arg(qc.traces)
                         .arg(qc.dead.size())
                         .arg(qc.clipped.size())
                         .arg(qc.noisy.size())
                         .arg(qc.unread > 0 ? QStringLiteral(", %1 unread").arg(qc.unread) : QString()));
}

void TraceQcPanel::clear()
{
    // Marks of another file's traces would be wrong ones.
    if (view)
        view->setQc(TraceQc());
    table_->setRowCount(0);
    summary->setText(QStringLiteral("Not checked yet"));
}
