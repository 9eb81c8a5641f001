#pragma once

#include "analyzers/HeaderWordModel.h"

// One of the analyzer's trace header word tables by word size: the field the format places at each
// position, a hidden kind column, then the values of the scanned traces.
class TraceWordModel : public HeaderWordModel {
    Q_OBJECT
public:
    TraceWordModel(HeaderWordTables::TraceTable table, QObject* parent = nullptr);

    // The words of headerSize bytes described through slotOf, with the values of the raw headers
    // of the traces firstTrace, firstTrace + 1, ... (words byte-reversed when swap is set).
    void show(int headerSize, const QVector<QByteArray>& headers, int firstTrace, bool swap,
              const HeaderWordTables::SlotLookup& slotOf);

protected:
    QVariant value(int row, const QByteArray& header, bool swap) const override;

private:
    HeaderWordTables::TraceTable table;
};
