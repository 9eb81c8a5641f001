#pragma once

#include "analyzers/HeaderWordTables.h"

#include <QAbstractTableModel>
#include <QByteArray>
#include <QVector>

// A table of header words of the analyzer: byte position, description, a kind column, then a
// column per scanned trace. Values are decoded only when a cell is shown, so a scan of many
// thousand traces costs the window nothing until it is looked at. Subclasses say what the rows
// are and how a value is read.
class HeaderWordModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr int firstValueColumn = 3;

    // kindTitle: the title of the kind column (empty when it is hidden).
    HeaderWordModel(const QString& kindTitle, QObject* parent);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

protected:
    // The rows with the values of the raw headers of the traces firstTrace, firstTrace + 1, ...
    // (words byte-reversed when swap is set).
    void showRows(const QVector<HeaderWordTables::Row>& rows, const QVector<QByteArray>& headers,
                  int firstTrace, bool swap);
    // The value of row `row` in one trace's raw header.
    virtual QVariant value(int row, const QByteArray& header, bool swap) const = 0;

    const QVector<HeaderWordTables::Row>& rows() const { return rows_; }

private:
    QString kindTitle;
    QVector<HeaderWordTables::Row> rows_;
    QVector<QByteArray> headers;
    int firstTrace = 1;
    bool swap = false;
};
