#include "analyzers/ui/SegyHeaderTables.h"

#include "analyzers/ExtensionWordModel.h"
#include "analyzers/TraceWordModel.h"
#include "analyzers/ui/AnalysedSegyFile.h"
#include "seismic/EbcdicTable.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "ui_SegyAnalyzer.h"

#include <QHeaderView>
#include <QStandardItemModel>
#include <QTimer>
#include <algorithm>
#include <tuple>

namespace {

constexpr int byteColumn = 0;
constexpr int descriptionColumn = 1;
constexpr int kindColumn = 2;
constexpr int valueColumn = 2;

void setText(QStandardItemModel* model, int row, int column, const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    model->setItem(row, column, item);
}

// Rows one text line high: a header has hundreds of words.
void compactRows(QTableView* view)
{
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
}

// The given width, or more where the texts need it (fonts differ from machine to machine).
void setColumnWidthAtLeast(QTableView* view, int column, int width)
{
    view->resizeColumnToContents(column);
    view->setColumnWidth(column, std::max(width, view->columnWidth(column)));
}

} // namespace

SegyHeaderTables::SegyHeaderTables(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file)
    : QObject(window), file(file), textHeader(form.TextHeader),
      binaryTwoByteTable(form.BinaryHeader_TwoByteTable),
      binaryFourByteTable(form.BinaryHeader_FourByteTable), binaryTwoByteModel(new QStandardItemModel(this)),
      binaryFourByteModel(new QStandardItemModel(this)),
      traceTabs(form.TraceHeader_WordDump), traceWordTables{form.TraceHeader_OneByteTable,
                                                            form.TraceHeader_TwoByteTable,
                                                            form.TraceHeader_FourByteTable,
                                                            form.TraceHeader_IBMFloatTable,
                                                            form.TraceHeader_IEEEFloatTable}
{
    binaryTwoByteTable->setModel(binaryTwoByteModel);
    binaryFourByteTable->setModel(binaryFourByteModel);
    for (int table = 0; table < traceWordTables.size(); ++table) {
        traceWordModels.append(new TraceWordModel(HeaderWordTables::TraceTable(table), this));
        traceWordTables[table]->setModel(traceWordModels.last());
    }
    addExtensionTable();
}

HeaderWordTables::SlotLookup SegyHeaderTables::slotLookup() const
{
    const SegyFormat* shown = file.format;
    return [shown](int slot) -> HeaderWordTables::Placement {
        const auto& key = shown->keySlot(slot);
        return {key.startByte, key.type};
    };
}

QVector<HeaderWordTables::BinaryWord> SegyHeaderTables::binaryWords() const
{
    const SegyFormat& format = *file.format;
    return {{"Sample Format", {format.sampleFormat.startByte, format.sampleFormat.type}},
            {"Sample Interval", {format.sampleInterval.startByte, format.sampleInterval.type}},
            {"Samples per trace", {format.samplesPerTrace.startByte, format.samplesPerTrace.type}}};
}

void SegyHeaderTables::showFileTextHeader()
{
    textHeader->setLineWrapMode(QTextEdit::FixedColumnWidth);
    textHeader->setLineWrapColumnOrWidth(80);
    textHeader->setFont(QFont(QStringLiteral("Courier"), 9));
    if (file.data)
        textHeader->setPlainText(file.data->textHeaderText());
}

void SegyHeaderTables::showTextHeader()
{
    if (!file.data)
        return;
    // As the reader converts it: EBCDIC through the table, the text ending at the first zero byte.
    QByteArray text = file.data->textHeaderRaw().left(std::max(file.format->textHeaderSize, 0));
    if (!file.format->textHeaderAscii) {
        for (char& byte : text)
            byte = EbcdicTable::toAscii(static_cast<unsigned char>(byte));
    }
    const int end = text.indexOf('\0');
    textHeader->setPlainText(QString::fromLatin1(text.constData(), end < 0 ? text.size() : end));
}

void SegyHeaderTables::rebuildBinaryTables()
{
    const int size = file.data ? int(file.data->binaryHeaderRaw().size()) : 0;
    for (auto [model, view, bytes] : {std::tuple(binaryTwoByteModel, binaryTwoByteTable, 2),
                                      std::tuple(binaryFourByteModel, binaryFourByteTable, 4)}) {
        model->clear();
        model->setColumnCount(3);
        model->setRowCount(size / bytes);
        model->setHorizontalHeaderLabels(
            {QStringLiteral("Byte position"), QStringLiteral("Description"), QStringLiteral("Value")});
        for (int row = 0; row < size / bytes; ++row)
            setText(model, row, byteColumn,
                    QStringLiteral("%1 to %2").arg(row * bytes + 1).arg(row * bytes + bytes));
        compactRows(view);
        setColumnWidthAtLeast(view, byteColumn, 72);
        view->setColumnWidth(descriptionColumn, 148);
        view->setColumnWidth(valueColumn, 312);
    }
    describeBinaryWords();
    fillBinaryValues();
}

void SegyHeaderTables::describeBinaryWords()
{
    if (!file.data)
        return;
    for (auto [model, bytes] : {std::pair(binaryTwoByteModel, 2), std::pair(binaryFourByteModel, 4)}) {
        const auto rows =
            HeaderWordTables::binaryRows(bytes, file.data->binaryHeaderRaw(), false, binaryWords());
        for (int row = 0; row < rows.size() && row < model->rowCount(); ++row)
            setText(model, row, descriptionColumn, rows[row].description);
    }
}

void SegyHeaderTables::fillBinaryValues()
{
    if (!file.data)
        return;
    for (auto [model, bytes] : {std::pair(binaryTwoByteModel, 2), std::pair(binaryFourByteModel, 4)}) {
        const auto rows = HeaderWordTables::binaryRows(bytes, file.data->binaryHeaderRaw(),
                                                       file.data->swapBytes(), binaryWords());
        for (int row = 0; row < rows.size() && row < model->rowCount(); ++row)
            setText(model, row, valueColumn, rows[row].values.value(0));
    }
}

void SegyHeaderTables::takeHeaders(const TraceRangeScan::Result& result)
{
    rawHeaders = result.headers;
    for (QTableView* view : traceWordTables) {
        compactRows(view);
        // One default width for the trace columns: a scan may have many thousand of them.
        view->horizontalHeader()->setDefaultSectionSize(72);
    }
    showExtensionWords();
}

void SegyHeaderTables::showScan(const TraceRangeScan::Result& result)
{
    ++tableRound;
    tablesPending = false;
    takeHeaders(result);
    for (int t = 0; t < traceWordModels.size(); ++t)
        describeTraceWordTable(t);
}

void SegyHeaderTables::showScanInTurn(const TraceRangeScan::Result& result)
{
    takeHeaders(result);
    // The extension's tab follows the word tables; it is described at once.
    const int inView = traceTabs->currentIndex();
    QVector<int> tables;
    if (inView >= 0 && inView < traceWordModels.size())
        tables.append(inView);
    for (int t = 0; t < traceWordModels.size(); ++t) {
        if (t != inView)
            tables.append(t);
    }
    ++tableRound;
    describeTablesInTurn(tables);
}

void SegyHeaderTables::describeTablesInTurn(QVector<int> tables)
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

void SegyHeaderTables::describeTraceWordTable(int table)
{
    traceWordModels[table]->show(file.format->traceHeaderSize, rawHeaders, file.scanFirst,
                                 file.data && file.data->swapBytes(), slotLookup());
    QTableView* view = traceWordTables[table];
    setColumnWidthAtLeast(view, byteColumn, 80);
    view->setColumnWidth(descriptionColumn, 120);
    view->setColumnHidden(kindColumn, true);
}

void SegyHeaderTables::addExtensionTable()
{
    extensionWordModel = new ExtensionWordModel(this);
    extensionTable = new QTableView(traceTabs);
    extensionTable->setObjectName(QStringLiteral("TraceHeader_ExtensionOneTable"));
    extensionTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    extensionTable->verticalHeader()->setVisible(false);
    extensionTable->setModel(extensionWordModel);
    compactRows(extensionTable);
    extensionTable->horizontalHeader()->setDefaultSectionSize(120);
    traceTabs->setTabVisible(traceTabs->addTab(extensionTable, QStringLiteral("Extension 1")), false);
}

void SegyHeaderTables::showExtensionWords()
{
    extensionWordModel->show(rawHeaders, file.scanFirst, file.data && file.data->swapBytes());
    setColumnWidthAtLeast(extensionTable, byteColumn, 80);
    setColumnWidthAtLeast(extensionTable, descriptionColumn, 200);
    setColumnWidthAtLeast(extensionTable, kindColumn, 100);
    traceTabs->setTabVisible(traceTabs->indexOf(extensionTable),
                             HeaderWordTables::anyExtensionOne(rawHeaders));
}
