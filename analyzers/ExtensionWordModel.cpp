#include "analyzers/ExtensionWordModel.h"

ExtensionWordModel::ExtensionWordModel(QObject* parent)
    : QAbstractTableModel(parent), words(SegyFormat::extensionOneHeaderWords()),
      rows(HeaderWordTables::extensionRows({}, false))
{}

void ExtensionWordModel::show(const QVector<QByteArray>& traceHeaders, int first, bool swapBytes)
{
    beginResetModel();
    headers = traceHeaders;
    firstTrace = first;
    swap = swapBytes;
    endResetModel();
}

int ExtensionWordModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows.size();
}

int ExtensionWordModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : firstValueColumn + headers.size();
}

QVariant ExtensionWordModel::data(const QModelIndex& index, int role) const
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
    return HeaderWordTables::extensionValue(words[index.row()], headers[trace], swap);
}

QVariant ExtensionWordModel::headerData(int section, Qt::Orientation orientation, int role) const
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
        return QStringLiteral("Type");
    default:
        return QStringLiteral("Trace %1").arg(firstTrace + section - firstValueColumn);
    }
}
