#pragma once

#include "seismic/SegyFormat.h"

#include <QObject>
#include <QStringList>
#include <array>
#include <memory>

class AnalysedSegyFile;
class QCheckBox;
class QComboBox;
class QLineEdit;
class QRadioButton;
class QWidget;

namespace Ui {
class SegyAnalyzerClass;
}

// The file and format panel of the SEG-Y analyzer: byte order, text encoding, the binary header
// words of the sample format, interval and count, and the byte and type of every trace header
// field. Each choice is written into the format in force at once; the signals say what the
// other parts have to read again.
class SegyFormatControls : public QObject {
    Q_OBJECT
public:
    SegyFormatControls(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file);

    // The type lists of the field rows, refilled for each file.
    void fillTypeCombos();
    // The format in force and the file's values in the controls.
    void showFormat();
    // A format made of what the controls show, for "Create format file".
    std::unique_ptr<SegyFormat> formatFromControls() const;

signals:
    // The user changed the format: the window is marked until the format is saved.
    void edited();
    // The data set was opened again through the format: its binary header values changed.
    void reopened();
    // A binary header word moved: the binary header tables describe other words.
    void binaryWordMoved();
    // The trace headers read otherwise: the scan range is to be read again.
    void rescanNeeded();
    void textEncodingChosen();

private:
    struct BinaryWordRow {
        SegyFormat::BinaryWord SegyFormat::*word;
        QLineEdit* startByte;
        QComboBox* type;
        QCheckBox* override;
        QWidget* value;
    };

    void noteEdit();
    void byteOrderChosen(int order, bool checked);
    void binaryWordEdited();
    void sampleFormatChosen(int index);
    void sampleFormatOverrideClicked();
    void fieldStartByteEdited(int row);
    void fieldTypeChanged(int row, int index);
    // The values of the binary header words as the format now reads them.
    void showBinaryWordValues();

    AnalysedSegyFile& file;
    QWidget* window;
    QStringList dataTypeNames;
    std::array<QRadioButton*, 3> byteOrders; // from the data, big endian, little endian
    QRadioButton* ascii;
    QRadioButton* ebcdic;
    QCheckBox* exportFullHeader;
    QLineEdit* textHeaderSize;
    QLineEdit* binaryHeaderSize;
    QLineEdit* traceHeaderSize;
    QLineEdit* numberOfTraces;
    QComboBox* sampleFormat;
    std::array<BinaryWordRow, 3> binaryWords;
};
