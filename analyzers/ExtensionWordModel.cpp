#include "analyzers/ExtensionWordModel.h"

ExtensionWordModel::ExtensionWordModel(QObject* parent)
    : HeaderWordModel(QStringLiteral("Type"), parent), words(SegyFormat::extensionOneHeaderWords())
{}

void ExtensionWordModel::show(const QVector<QByteArray>& traceHeaders, int first, bool swapBytes)
{
    showRows(HeaderWordTables::extensionRows({}, false), traceHeaders, first, swapBytes);
}

QVariant ExtensionWordModel::value(int row, const QByteArray& header, bool swap) const
{
    return HeaderWordTables::extensionValue(words[row], header, swap);
}
