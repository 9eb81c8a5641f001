#pragma once

#include "analyzers/HeaderWordTables.h"
#include "seismic/SegyFormat.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QVector>

// The analyzer's table of the words of trace header extension 1: byte position, name and type,
// then a column per scanned trace, empty for a trace whose header does not hold the extension.
// Values are decoded only when a cell is shown.
class ExtensionWordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int firstValueColumn = 3;

    explicit ExtensionWordModel(QObject* parent = nullptr);

    // The raw headers of the traces firstTrace, firstTrace + 1, ... (words byte-reversed when
    // swap is set).
    void show(const QVector<QByteArray>& headers, int firstTrace, bool swap);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    const QVector<SegyFormat::HeaderWord> words;
    const QVector<HeaderWordTables::Row> rows;
    QVector<QByteArray> headers;
    int firstTrace = 1;
    bool swap = false;
};
