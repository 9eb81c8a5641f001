#include "analyzers/HeaderWordModel.h"

HeaderWordModel::HeaderWordModel(const QString& kindTitle, QObject* parent)
    : QAbstractTableModel(parent), kindTitle(kindTitle)
{}

void HeaderWordModel::showRows(const QVector<HeaderWordTables::Row>& rows,
                               const QVector<QByteArray>& traceHeaders, int first, bool swapBytes)
{
    beginResetModel();
    rows_ = rows;
    headers = traceHeaders;
    firstTrace = first;
    swap = swapBytes;
    endResetModel();
}

int HeaderWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_.size();
}

int HeaderWordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : firstValueColumn + headers.size();
}

QVariant HeaderWordModel::data(const QModelIndex& index, int role) const
{
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rows_.size())
        return {};
    const HeaderWordTables::Row& row = rows_[index.row()];
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
    return value(index.row(), headers[trace], swap);
}

QVariant HeaderWordModel::headerData(int section, Qt::Orientation orientation, int role) const
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
        return kindTitle;
    default:
        return QStringLiteral("Trace %1").arg(firstTrace + section - firstValueColumn);
    }
}
