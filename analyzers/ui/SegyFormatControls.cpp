#include "analyzers/ui/SegyFormatControls.h"

#include "analyzers/ui/AnalysedSegyFile.h"
#include "analyzers/ui/SegyFieldRows.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFieldRanges.h"
#include "seismic/SegyLayout.h"
#include "seismic/ui/SampleFormatBox.h"
#include "ui_SegyAnalyzer.h"

#include <QSignalBlocker>
#include <algorithm>
#include <iterator>

namespace {

// The entries of a binary header word's type list: "2-byte int", "4-byte int" and (only the
// samples per trace have it) "2-byte unsigned".
constexpr int binaryTypes[] = {HeaderDataType::Int16, HeaderDataType::Int32, HeaderDataType::UInt16};

int binaryType(int entry, int kept)
{
    return entry >= 0 && entry < int(std::size(binaryTypes)) ? binaryTypes[entry] : kept;
}

int binaryTypeEntry(int type)
{
    const auto* found = std::find(std::begin(binaryTypes), std::end(binaryTypes), type);
    return found == std::end(binaryTypes) ? -1 : int(found - std::begin(binaryTypes));
}

} // namespace

SegyFormatControls::SegyFormatControls(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file)
    : QObject(window), file(file),
      window(window), byteOrders{form.GetEndian, form.IsBigEndian, form.IsLittleEndian}, ascii(form.IsASCII),
      ebcdic(form.IsEBCDIC), exportFullHeader(form.ExportFullHeader), textHeaderSize(form.TextHeader_Size),
      binaryHeaderSize(form.BinaryHeader_Size), traceHeaderSize(form.TraceHeader_Size),
      numberOfTraces(form.NumberOfTraces), sampleFormat(form.SampleFormat),
      binaryWords{{{&SegyFormat::samplesPerTrace, form.SamplesPerTrace_StartByte,
                    form.SamplesPerTrace_DataType, form.SamplesPerTrace_Override, form.SamplesPerTrace},
                   {&SegyFormat::sampleInterval, form.SampleInterval_StartByte, form.SampleInterval_DataType,
                    form.SampleInterval_Override, form.SampleInterval},
                   {&SegyFormat::sampleFormat, form.SampleFormat_StartByte, form.SampleFormat_DataType,
                    form.SampleFormat_Override, form.SampleFormat}}}
{
    SampleFormatBox::fill(sampleFormat);
    // By code: an entry's index is its type.
    for (int code = 0; code < HeaderDataType::codeCount; ++code)
        dataTypeNames.append(QString::fromLatin1(HeaderDataType::boxName(code)));
    for (int order = 0; order < int(byteOrders.size()); ++order)
        connect(byteOrders[size_t(order)], &QRadioButton::toggled, this,
                [this, order](bool checked) { byteOrderChosen(order, checked); });
    for (auto [button, isAscii] : {std::pair(ascii, true), std::pair(ebcdic, false)}) {
        connect(button, &QRadioButton::toggled, this, [this, isAscii = isAscii](bool checked) {
            if (!this->file.data || !checked)
                return;
            this->file.format->textHeaderAscii = isAscii;
            noteEdit();
            emit textEncodingChosen();
        });
    }
    for (const BinaryWordRow& row : binaryWords) {
        connect(row.startByte, &QLineEdit::editingFinished, this, [this, &row] {
            if (!this->file.data)
                return;
            (this->file.format->*row.word).startByte = row.startByte->text().toInt();
            binaryWordEdited();
        });
        connect(row.type, qOverload<int>(&QComboBox::currentIndexChanged), this, [this, &row](int index) {
            if (!this->file.data || index < 0)
                return;
            auto& word = this->file.format->*row.word;
            word.type = binaryType(index, word.type);
            binaryWordEdited();
        });
    }
    // The interval and the count: an override makes the value the user's to type.
    for (const BinaryWordRow& row : {binaryWords[0], binaryWords[1]}) {
        connect(row.override, &QCheckBox::clicked, this, [this, row] {
            if (!this->file.data)
                return;
            static_cast<QLineEdit*>(row.value)->setReadOnly(!row.override->isChecked());
            noteEdit();
            emit rescanNeeded();
        });
    }
    connect(form.SampleFormat_Override, &QCheckBox::clicked, this,
            &SegyFormatControls::sampleFormatOverrideClicked);
    connect(sampleFormat, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SegyFormatControls::sampleFormatChosen);
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        // The CMP datum row is written only by "Create format file".
        if (SegyFieldRanges::fields()[size_t(row)].keySlot == 8)
            continue;
        connect(SegyFieldRows::edit(*window, row, "_StartByte"), &QLineEdit::editingFinished, this,
                [this, row] { fieldStartByteEdited(row); });
        connect(SegyFieldRows::type(*window, row), qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, row](int index) { fieldTypeChanged(row, index); });
    }
}

void SegyFormatControls::noteEdit()
{
    if (!file.updating)
        emit edited();
}

void SegyFormatControls::byteOrderChosen(int order, bool checked)
{
    // The order from the data needs a file name only; a fixed order needs the data set.
    if (!checked || (order == SegyFormat::FromData ? file.path.isEmpty() : !file.data))
        return;
    file.format->endianFromData = order == SegyFormat::FromData;
    if (order != SegyFormat::FromData)
        file.format->endianOrder = order;
    noteEdit();
    if (file.reopen())
        emit reopened();
}

void SegyFormatControls::binaryWordEdited()
{
    noteEdit();
    showBinaryWordValues();
    emit binaryWordMoved();
    emit rescanNeeded();
}

void SegyFormatControls::sampleFormatOverrideClicked()
{
    QCheckBox* override = binaryWords[2].override;
    sampleFormat->setEnabled(override->isChecked());
    noteEdit();
    // Without the override the file's own code is read again.
    if (!override->isChecked() && file.format && file.format->sampleFormat.override) {
        file.format->sampleFormat.override = false;
        if (file.data && file.reopen())
            emit rescanNeeded();
    }
}

void SegyFormatControls::sampleFormatChosen(int index)
{
    if (!file.data || file.updating || index < 0 || index >= SegyLayout::sampleFormatCount)
        return;
    // The code decides the length of a trace in the file, so the data set is opened again
    // with the chosen code in force.
    file.format->sampleFormat.override = true;
    file.format->sampleFormat.overrideValue = SegyLayout::sampleFormats[index].code;
    noteEdit();
    if (file.reopen())
        emit rescanNeeded();
}

void SegyFormatControls::fieldStartByteEdited(int row)
{
    const int slot = SegyFieldRanges::fields()[size_t(row)].keySlot;
    bool valid = false;
    const int startByte = SegyFieldRows::edit(*window, row, "_StartByte")->text().toInt(&valid);
    if (!valid)
        return;
    file.format->setKeySlot(slot, startByte, file.format->keySlot(slot).type);
    noteEdit();
    emit rescanNeeded();
}

void SegyFormatControls::fieldTypeChanged(int row, int index)
{
    if (file.updating || index < 0 || index >= dataTypeNames.size())
        return;
    const int slot = SegyFieldRanges::fields()[size_t(row)].keySlot;
    file.format->setKeySlot(slot, file.format->keySlot(slot).startByte, index);
    noteEdit();
    emit rescanNeeded();
}

void SegyFormatControls::showBinaryWordValues()
{
    if (!file.data)
        return;
    const QByteArray header = file.data->binaryHeaderRaw();
    auto decode = [&](const SegyFormat::BinaryWord& word) {
        return HeaderDataType::readValue(header.constData(), header.size(), word.startByte, word.type,
                                         file.data->swapBytes());
    };
    static_cast<QLineEdit*>(binaryWords[0].value)
        ->setText(QString::number(qint64(decode(file.format->samplesPerTrace))));
    static_cast<QLineEdit*>(binaryWords[1].value)
        ->setText(QString::number(decode(file.format->sampleInterval), 'f', 1));
    const QSignalBlocker blocker(sampleFormat);
    sampleFormat->setCurrentIndex(SegyLayout::sampleFormatIndex(int(decode(file.format->sampleFormat))));
    numberOfTraces->setText(QString::number(file.data->traceCount()));
}

void SegyFormatControls::fillTypeCombos()
{
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        QComboBox* combo = SegyFieldRows::type(*window, row);
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(dataTypeNames);
    }
}

void SegyFormatControls::showFormat()
{
    const SegyFormat& format = *file.format;
    exportFullHeader->setChecked(format.exportFullHeader);
    byteOrders[size_t(format.endianFromData                            ? SegyFormat::FromData
                      : format.endianOrder == SegyFormat::LittleEndian ? SegyFormat::LittleEndian
                                                                       : SegyFormat::BigEndian)]
        ->setChecked(true);
    textHeaderSize->setText(QString::number(format.textHeaderSize));
    (format.textHeaderAscii ? ascii : ebcdic)->setChecked(true);
    binaryHeaderSize->setText(QString::number(format.binaryHeaderSize));
    for (const BinaryWordRow& row : binaryWords) {
        row.startByte->setText(QString::number((format.*row.word).startByte));
        row.type->setCurrentIndex(binaryTypeEntry((format.*row.word).type));
        if (auto* edit = qobject_cast<QLineEdit*>(row.value))
            edit->setReadOnly(!row.override->isChecked());
    }
    sampleFormat->setEnabled(binaryWords[2].override->isChecked());
    traceHeaderSize->setText(QString::number(format.traceHeaderSize));
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        const auto& slot = format.keySlot(SegyFieldRanges::fields()[size_t(row)].keySlot);
        SegyFieldRows::edit(*window, row, "_StartByte")->setText(QString::number(slot.startByte));
        SegyFieldRows::type(*window, row)->setCurrentIndex(slot.type < dataTypeNames.size() ? slot.type : -1);
    }
    if (!file.data)
        return;
    numberOfTraces->setText(QString::number(file.data->traceCount()));
    static_cast<QLineEdit*>(binaryWords[0].value)->setText(QString::number(file.data->samples()));
    static_cast<QLineEdit*>(binaryWords[1].value)
        ->setText(QString::number(double(file.data->sampleInterval()), 'f', 1));
    sampleFormat->setCurrentIndex(SegyLayout::sampleFormatIndex(file.data->sampleFormat()));
}

std::unique_ptr<SegyFormat> SegyFormatControls::formatFromControls() const
{
    auto built = std::make_unique<SegyFormat>(false);
    built->exportFullHeader = exportFullHeader->isChecked();
    built->endianFromData = byteOrders[SegyFormat::FromData]->isChecked();
    built->endianOrder = built->endianFromData                            ? SegyFormat::FromData
                         : byteOrders[SegyFormat::BigEndian]->isChecked() ? SegyFormat::BigEndian
                                                                          : SegyFormat::LittleEndian;
    built->textHeaderSize = textHeaderSize->text().toInt();
    built->textHeaderAscii = !ebcdic->isChecked();
    built->binaryHeaderSize = binaryHeaderSize->text().toInt();
    built->traceHeaderSize = traceHeaderSize->text().toInt();
    for (const BinaryWordRow& row : binaryWords) {
        auto& word = built.get()->*row.word;
        word.startByte = row.startByte->text().toInt();
        word.type = binaryType(row.type->currentIndex(), word.type);
        word.override = row.override->isChecked();
    }
    built->samplesPerTrace.overrideValue = static_cast<QLineEdit*>(binaryWords[0].value)->text().toInt();
    built->sampleInterval.overrideValue = static_cast<QLineEdit*>(binaryWords[1].value)->text().toFloat();
    // "Undefined" keeps the standard override value.
    const int entry = sampleFormat->currentIndex();
    if (entry >= 0 && entry < SegyLayout::sampleFormatCount)
        built->sampleFormat.overrideValue = SegyLayout::sampleFormats[entry].code;
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        const int slot = SegyFieldRanges::fields()[size_t(row)].keySlot;
        const int type = dataTypeNames.indexOf(SegyFieldRows::type(*window, row)->currentText());
        built->setKeySlot(slot, SegyFieldRows::edit(*window, row, "_StartByte")->text().toInt(),
                          type >= 0 ? type : built->keySlot(slot).type);
    }
    return built;
}
