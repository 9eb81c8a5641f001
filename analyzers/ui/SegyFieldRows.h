#pragma once

class QComboBox;
class QLineEdit;
class QObject;

// The controls of the trace header field rows of the SEG-Y analyzer's form, found by the names
// the rows give them ("FFID_StartByte", "FFID_Type", "FFID_Min"), in SegyFieldRanges order.
namespace SegyFieldRows {

// The suffix is "_StartByte", "_Min" or "_Max".
QLineEdit* edit(const QObject& form, int row, const char* suffix);
QComboBox* type(const QObject& form, int row);

} // namespace SegyFieldRows
