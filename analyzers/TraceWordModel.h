#pragma once

#include "analyzers/HeaderWordTables.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QVector>

// One of the analyzer's trace header word tables: byte position, the field the format places
// there, a hidden kind column, then a column per scanned trace. Values are decoded only when a
// cell is shown, so a scan of many thousand traces costs the window nothing until it is looked at.
class TraceWordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int firstValueColumn = 3;

    TraceWordModel(HeaderWordTables::TraceTable table, QObject* parent = nullptr);

    // The words of headerSize bytes described through slotOf, with the values of the raw headers
    // of the traces firstTrace, firstTrace + 1, ... (words byte-reversed when swap is set).
    void show(int headerSize, const QVector<QByteArray>& headers, int firstTrace, bool swap,
              const HeaderWordTables::SlotLookup& slotOf);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    HeaderWordTables::TraceTable table;
    QVector<HeaderWordTables::Row> rows;
    QVector<QByteArray> headers;
    int firstTrace = 1;
    bool swap = false;
};
