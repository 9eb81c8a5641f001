#include "analyzers/TraceWordModel.h"

TraceWordModel::TraceWordModel(HeaderWordTables::TraceTable table, QObject* parent)
    : HeaderWordModel(QString(), parent), table(table)
{}

void TraceWordModel::show(int headerSize, const QVector<QByteArray>& traceHeaders, int first, bool swapBytes,
                          const HeaderWordTables::SlotLookup& slotOf)
{
    showRows(HeaderWordTables::traceRows(table, headerSize, {}, false, slotOf), traceHeaders, first,
             swapBytes);
}

QVariant TraceWordModel::value(int row, const QByteArray& header, bool swap) const
{
    const int startByte = row * HeaderWordTables::wordBytes(table) + 1;
    return HeaderWordTables::traceValue(table, header, startByte, swap,
                                        rows()[row].kind == QLatin1String("Floating Point"));
}
