// The trace scan of the SEG-Y analyzer: the scan range controls and the scans that run in the
// background while the window goes on answering.
#include "analyzers/BackgroundTraceScan.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "base/ObrConsole.h"

#include <QProgressBar>
#include <QSignalBlocker>

bool SegyAnalysis::scanning() const
{
    return scanner->running() || tablesPending;
}

std::unique_ptr<TraceRangeScan> SegyAnalysis::traceRangeScan() const
{
    return std::make_unique<TraceRangeScan>(fileName, *format, scanFirstTrace, scanLastTrace,
                                            console->detailLevel());
}

void SegyAnalysis::scanTraceRange()
{
    if (!data)
        return;
    emit traceScanStarted(scanFirstTrace, scanLastTrace);
    scanner->start(traceRangeScan());
}

void SegyAnalysis::showScanResult(const TraceRangeScan::Result& result)
{
    fieldRanges = result.ranges;
    rawHeaders = result.headers;
    buildTraceHeaderTables();
    describeTraceHeaderWords();
    showExtensionWords();
}

void SegyAnalysis::scanFinished()
{
    scanProgress->hide();
    fieldRanges = scanner->result().ranges;
    rawHeaders = scanner->result().headers;
    buildTraceHeaderTables();
    showExtensionWords();
    // The extension's tab follows the word tables; it is described at once.
    const int inView = TraceHeader_WordDump->currentIndex();
    QVector<int> tables;
    if (inView >= 0 && inView < traceWordModels.size())
        tables.append(inView);
    for (int t = 0; t < traceWordModels.size(); ++t) {
        if (t != inView)
            tables.append(t);
    }
    ++tableRound;
    describeTablesInTurn(tables);
    showFieldRanges();
    redrawSeismicView();
    scanner->console().passOn(*console);
}

void SegyAnalysis::describeTablesInTurn(QVector<int> tables)
{
    tablesPending = !tables.isEmpty();
    if (!tablesPending)
        return;
    describeTraceWordTable(tables.takeFirst());
    QTimer::singleShot(0, this, [this, tables, round = tableRound] {
        if (round == tableRound)
            describeTablesInTurn(tables);
    });
}

void SegyAnalysis::fullRefresh()
{
    if (updating)
        return;
    scanTraceRange();
}

void SegyAnalysis::on_FirstTraceInRange_valueChanged(int)
{
    scanRangeEdited(true);
}

void SegyAnalysis::on_LastTraceInRange_valueChanged(int)
{
    scanRangeEdited(false);
}

void SegyAnalysis::on_FirstTraceInRange_editingFinished()
{
    if (scanRangePause.isActive())
        applyScanRange();
}

void SegyAnalysis::on_LastTraceInRange_editingFinished()
{
    if (scanRangePause.isActive())
        applyScanRange();
}

void SegyAnalysis::scanRangeEdited(bool firstChanged)
{
    if (updating)
        return;
    scanFirstEdited = firstChanged;
    scanRangePause.start();
}

void SegyAnalysis::applyScanRange()
{
    scanRangePause.stop();
    // The first trace never passes the last: the one edited last stays, the other makes way.
    {
        const QSignalBlocker blockFirst(FirstTraceInRange);
        const QSignalBlocker blockLast(LastTraceInRange);
        if (FirstTraceInRange->value() > LastTraceInRange->value()) {
            if (scanFirstEdited)
                FirstTraceInRange->setValue(LastTraceInRange->value());
            else
                LastTraceInRange->setValue(FirstTraceInRange->value());
        }
    }
    if (FirstTraceInRange->value() == scanFirstTrace && LastTraceInRange->value() == scanLastTrace)
        return;
    scanFirstTrace = FirstTraceInRange->value();
    scanLastTrace = LastTraceInRange->value();
    fullRefresh();
}
