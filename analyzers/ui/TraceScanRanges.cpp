#include "analyzers/ui/TraceScanRanges.h"

#include "analyzers/BackgroundWork.h"
#include "analyzers/ui/AnalysedSegyFile.h"
#include "analyzers/ui/SegyFieldRows.h"
#include "base/ObrConsole.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "ui_SegyAnalyzer.h"

#include <QProgressBar>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStyleOptionFrame>
#include <algorithm>

namespace {

// What a line edit keeps free beside its text, inside its frame (2 pixels each side).
constexpr int lineEditTextMargin = 4;

} // namespace

TraceScanRanges::TraceScanRanges(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file)
    : QObject(window), file(file), window(window), first(form.FirstTraceInRange), last(form.LastTraceInRange),
      scanner(new BackgroundWork(this)), progress(new QProgressBar(window))
{
    progress->setObjectName(QStringLiteral("ScanProgress"));
    progress->setFormat(QStringLiteral("Scanning traces: %v of %m"));
    progress->hide();
    form.layout_25->insertWidget(1, progress);
    connect(scanner, &BackgroundWork::progress, this, [this](int done, int total) {
        progress->setRange(0, total);
        progress->setValue(done);
        progress->show();
    });
    connect(scanner, &BackgroundWork::finished, this, &TraceScanRanges::scanFinished);
    pause.setSingleShot(true);
    pause.setInterval(pauseMs);
    connect(&pause, &QTimer::timeout, this, &TraceScanRanges::applyRange);
    for (auto [box, isFirst] : {std::pair(first, true), std::pair(last, false)}) {
        connect(box, qOverload<int>(&QSpinBox::valueChanged), this,
                [this, isFirst = isFirst] { rangeEdited(isFirst); });
        connect(box, &QSpinBox::editingFinished, this, [this] {
            if (pause.isActive())
                applyRange();
        });
    }
}

bool TraceScanRanges::running() const
{
    return scanner->running();
}

void TraceScanRanges::readThrough(TraceRangeScan::Input scanInput)
{
    file.input = std::move(scanInput);
}

std::unique_ptr<TraceRangeScan> TraceScanRanges::makeScan() const
{
    return std::make_unique<TraceRangeScan>(file.path, *file.format, file.scanFirst, file.scanLast,
                                            file.console->detailLevel(), file.input);
}

TraceRangeScan::Result TraceScanRanges::scanNow()
{
    scanner->cancel();
    progress->hide();
    const std::atomic<bool> notCancelled{false};
    std::atomic<int> done{0};
    const auto scan = makeScan();
    scan->run(JobSteps{notCancelled, done});
    scan->console().passOn(*file.console);
    fieldRanges = scan->result().ranges;
    return scan->result();
}

void TraceScanRanges::rescan()
{
    if (file.updating || !file.data)
        return;
    emit started(file.scanFirst, file.scanLast);
    scanner->start(makeScan());
}

void TraceScanRanges::scanFinished()
{
    progress->hide();
    auto* scan = static_cast<TraceRangeScan*>(scanner->finishedJob());
    fieldRanges = scan->result().ranges;
    showFieldRanges();
    emit finished(scan->result());
    scan->console().passOn(*file.console);
}

void TraceScanRanges::rangeEdited(bool firstChanged)
{
    if (file.updating)
        return;
    firstEdited = firstChanged;
    pause.start();
}

void TraceScanRanges::applyRange()
{
    pause.stop();
    // The first trace never passes the last: the one edited last stays, the other makes way.
    {
        const QSignalBlocker blockFirst(first);
        const QSignalBlocker blockLast(last);
        if (first->value() > last->value()) {
            if (firstEdited)
                first->setValue(last->value());
            else
                last->setValue(first->value());
        }
    }
    if (first->value() == file.scanFirst && last->value() == file.scanLast)
        return;
    file.scanFirst = first->value();
    file.scanLast = last->value();
    rescan();
}

void TraceScanRanges::showRange()
{
    const int count = std::max(file.data->traceCount(), 1);
    first->setMaximum(count);
    last->setMaximum(count);
    first->setValue(file.scanFirst);
    last->setValue(file.scanLast);
}

void TraceScanRanges::showFieldRanges()
{
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        SegyFieldRows::edit(*window, row, "_Min")->setText(fieldRanges.minimumText(row));
        SegyFieldRows::edit(*window, row, "_Max")->setText(fieldRanges.maximumText(row));
    }
}

void TraceScanRanges::widenRangeFields(QScrollArea* rows, QWidget* panel)
{
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        for (const char* suffix : {"_Min", "_Max"}) {
            QLineEdit* field = SegyFieldRows::edit(*window, row, suffix);
            // The frame and margins around the text, as the line edit itself adds them.
            QStyleOptionFrame option;
            option.initFrom(field);
            option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
            const QMargins margins = field->textMargins() + field->contentsMargins();
            const QFontMetrics metrics = field->fontMetrics();
            const QSize text(metrics.horizontalAdvance(QStringLiteral("-0000000000.0")) + lineEditTextMargin +
                                 margins.left() + margins.right(),
                             metrics.height());
            const int width =
                field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width();
            field->setMaximumWidth(std::max(field->maximumWidth(), width));
            field->setMinimumWidth(width);
        }
    }
    // The rows scroll up and down only: every column stays in view.
    rows->setMinimumWidth(rows->widget()->minimumSizeHint().width() +
                          rows->verticalScrollBar()->sizeHint().width() + 2 * rows->frameWidth());
    const int width = std::max(panel->minimumWidth(), panel->minimumSizeHint().width());
    panel->setMinimumWidth(width);
    panel->setMaximumWidth(std::max(panel->maximumWidth(), width));
}
