#pragma once

#include "analyzers/HeaderWordTables.h"
#include "analyzers/TraceRangeScan.h"

#include <QByteArray>
#include <QObject>
#include <QVector>

class AnalysedSegyFile;
class ExtensionWordModel;
class QStandardItemModel;
class QTabWidget;
class QTableView;
class QTextEdit;
class QWidget;
class TraceWordModel;

namespace Ui {
class SegyAnalyzerClass;
}

// The header tabs of the SEG-Y analyzer: the textual header, the words of the binary header and
// the trace header words of the scan range by length and type, with the tab of trace header
// extension 1 while the scanned headers hold it.
class SegyHeaderTables : public QObject {
    Q_OBJECT
public:
    SegyHeaderTables(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file);

    // The textual header as the file holds it.
    void showFileTextHeader();
    // The textual header in the encoding of the format.
    void showTextHeader();
    // The binary header tables laid out again for the words the format reads.
    void rebuildBinaryTables();
    void fillBinaryValues();
    // The trace headers of a scan in every table at once.
    void showScan(const TraceRangeScan::Result& result);
    // After a background scan: the table in view first, then one table per turn of the event
    // loop, since laying out hundreds of trace columns takes a while.
    void showScanInTurn(const TraceRangeScan::Result& result);
    // Tables still to be filled with the last scan.
    bool pending() const { return tablesPending; }

private:
    void takeHeaders(const TraceRangeScan::Result& result);
    void describeBinaryWords();
    void describeTraceWordTable(int table);
    void describeTablesInTurn(QVector<int> tables);
    void addExtensionTable();
    void showExtensionWords();
    QVector<HeaderWordTables::BinaryWord> binaryWords() const;
    HeaderWordTables::SlotLookup slotLookup() const;

    AnalysedSegyFile& file;
    QTextEdit* textHeader;
    QTableView* binaryTwoByteTable;
    QTableView* binaryFourByteTable;
    QStandardItemModel* binaryTwoByteModel;
    QStandardItemModel* binaryFourByteModel;
    QTabWidget* traceTabs;
    QVector<QTableView*> traceWordTables; // 1-byte, 2-byte, 4-byte, IBM, IEEE
    QVector<TraceWordModel*> traceWordModels;
    ExtensionWordModel* extensionWordModel = nullptr;
    QTableView* extensionTable = nullptr;
    QVector<QByteArray> rawHeaders;
    // A newer scan result starts the round of tables again.
    int tableRound = 0;
    bool tablesPending = false;
};
