#pragma once

#include "analyzers/HeaderWordModel.h"
#include "seismic/SegyFormat.h"

// The analyzer's table of the words of trace header extension 1: byte position, name and type,
// then a column per scanned trace, empty for a trace whose header does not hold the extension.
class ExtensionWordModel : public HeaderWordModel {
    Q_OBJECT
public:
    explicit ExtensionWordModel(QObject* parent = nullptr);

    // The raw headers of the traces firstTrace, firstTrace + 1, ... (words byte-reversed when
    // swap is set).
    void show(const QVector<QByteArray>& headers, int firstTrace, bool swap);

protected:
    QVariant value(int row, const QByteArray& header, bool swap) const override;

private:
    const QVector<SegyFormat::HeaderWord> words;
};
