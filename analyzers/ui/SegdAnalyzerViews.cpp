#include "analyzers/SegdHexDump.h"
#include "analyzers/ui/SegdAnalyzer.h"
#include "base/ObrConsole.h"
#include "base/WholeFile.h"
#include "base/ui/FileDialogs.h"
#include "devices/ObrDevice.h"
#include "seismic/SegdData.h"
#include "seismic/SegdTraceHeaderColumns.h"
#include "seismic/SercelExtendedHeader.h"

#include <QMessageBox>
#include <QStandardItemModel>
#include <QTextStream>
#include <limits>

namespace {

// The spin boxes count in int; larger files are dumped up to their first 2 GiB.
int spinLimit(qint64 value)
{
    return int(std::clamp<qint64>(value, 1, std::numeric_limits<int>::max()));
}

} // namespace

void SegdAnalyzer::setHexRange()
{
    const qint64 size = data->device()->size();
    HexStartByte->setMaximum(spinLimit(size));
    on_HexStartByte_valueChanged(HexStartByte->value());
    FileSizeTx->setText(QStringLiteral("%1 bytes in file").arg(size));
    hexDump();
}

void SegdAnalyzer::on_HexStartByte_valueChanged(int start)
{
    if (!data)
        return;
    const qint64 size = data->device()->size();
    HexNumBytes->setMaximum(spinLimit(size - start + 1));
    if (HexNumBytes->value() >= size - start)
        HexNumBytes->setValue(spinLimit(size - start + 1));
}

void SegdAnalyzer::on_HexRefresh_clicked()
{
    hexDump();
}

void SegdAnalyzer::hexDump()
{
    HexDump->clear();
    if (!data)
        return;
    QByteArray bytes;
    switch (SegdHexDump::read(*data->device(), HexStartByte->value(), HexNumBytes->value(), bytes)) {
    case SegdHexDump::ReadResult::Read:
        break;
    case SegdHexDump::ReadResult::OutOfMemory:
        if (console)
            console->error(QStringLiteral("memory allocation failed for hex dump."), true);
        return;
    case SegdHexDump::ReadResult::Failed:
        return;
    }
    HexDump->setPlainText(SegdHexDump::text(bytes, HexStartByte->value()));
    HexDump->moveCursor(QTextCursor::Start);
}

void SegdAnalyzer::setTraceRange()
{
    const int traces = int(data->traceHeaderRecords().size());
    DumpTraceCount->setMaximum(traces);
    FirstDumpTrace->setMaximum(std::max(1, traces - DumpTraceCount->value() + 1));
    TraceCountTx->setText(QStringLiteral("%1 traces in record").arg(traces));
    buildTraceHeaderTable();
}

void SegdAnalyzer::on_FirstDumpTrace_valueChanged(int)
{
    if (loaded)
        buildTraceHeaderTable();
}

void SegdAnalyzer::on_DumpTraceCount_valueChanged(int count)
{
    const int traces = data ? int(data->traceHeaderRecords().size()) : 0;
    FirstDumpTrace->setMaximum(std::max(1, traces - count + 1));
    if (loaded)
        buildTraceHeaderTable();
}

void SegdAnalyzer::buildTraceHeaderTable()
{
    if (!data)
        return;
    const auto& records = data->traceHeaderRecords();
    const int first = FirstDumpTrace->value();
    const int held = std::max(0, int(records.size()) - (first - 1));
    const int rows = std::clamp(DumpTraceCount->value(), 0, held);
    auto* model = new QStandardItemModel(rows, SegdTraceHeaderColumns::count, this);
    for (int c = 0; c < SegdTraceHeaderColumns::count; ++c)
        model->setHeaderData(c, Qt::Horizontal,
                             QLatin1String(SegdTraceHeaderColumns::columns[size_t(c)].title));
    for (int r = 0; r < rows; ++r) {
        const SegdBytes header = records[size_t(first - 1 + r)].bytes();
        for (int c = 0; c < SegdTraceHeaderColumns::count; ++c) {
            auto* item = new QStandardItem;
            item->setData(SegdTraceHeaderColumns::cell(header, c, data->sercel()), Qt::DisplayRole);
            model->setItem(r, c, item);
        }
    }
    TraceHeaderTable->setModel(model);
    delete traceHeaderModel;
    traceHeaderModel = model;
    TraceHeaderTable->resizeColumnsToContents();
}

void SegdAnalyzer::on_OutputToFile_clicked()
{
    if (!data)
        return;
    const QString path =
        FileDialogs::saveFileName(this, QStringLiteral("Enter file name for output of trace headers"),
                                  directory, QStringLiteral("text file (*.txt *.text)"));
    // A cancelled dialog is no failure.
    if (path.isEmpty())
        return;
    // Sercel recorders say how many traces the export covers; other files export every trace read.
    const SercelExtendedHeader::Field* total = SercelExtendedHeader::find(QStringLiteral("TotalTraces"));
    const qint64 count = data->sercel() ? qint64(SercelExtendedHeader::value(data->extendedHeader(), *total))
                                        : qint64(data->traceHeaderRecords().size());
    QByteArray text;
    QTextStream out(&text, QIODevice::WriteOnly);
    SegdTraceHeaderColumns::writeExport(out, data->traceHeaderRecords(), count, data->sercel());
    out.flush();
    // Whole or not at all, with the system's reason when not.
    QString error;
    if (!WholeFile::write(path, text, &error))
        warn(error);
}
