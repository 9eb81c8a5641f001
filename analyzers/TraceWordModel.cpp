#include "analyzers/TraceWordModel.h"

TraceWordModel::TraceWordModel(HeaderWordTables::TraceTable table, QObject* parent)
    : QAbstractTableModel(parent), table(table)
{}

void TraceWordModel::show(int headerSize, const QVector<QByteArray>& traceHeaders, int first, bool swapBytes,
                          const HeaderWordTables::SlotLookup& slotOf)
{
    beginResetModel();
    rows = HeaderWordTables::traceRows(table, headerSize, {}, false, slotOf);
    headers = traceHeaders;
    firstTrace = first;
    swap = swapBytes;
    endResetModel();
}

int TraceWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int TraceWordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : firstValueColumn + headers.size();
}

QVariant TraceWordModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows.size())
        return {};
    const HeaderWordTables::Row& row = rows[index.row()];
    switch (index.column()) {
    case 0:
        return row.position;
    case 1:
        return row.description;
    case 2:
        return row.kind;
    default:
        break;
    }
    const int trace = index.column() - firstValueColumn;
    if (trace >= headers.size())
        return {};
    const int startByte = index.row() * HeaderWordTables::wordBytes(table) + 1;
    return HeaderWordTables::traceValue(table, headers[trace], startByte, swap,
                                        row.kind == QLatin1String("Floating Point"));
}

QVariant TraceWordModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case 0:
        return QStringLiteral("Byte position");
    case 1:
        return QStringLiteral("Description");
    case 2:
        return QString();
    default:
        return QStringLiteral("Trace %1").arg(firstTrace + section - firstValueColumn);
    }
}
