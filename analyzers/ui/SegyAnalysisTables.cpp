// The header tables and controls of the SEG-Y analyzer.
#include "analyzers/ExtensionWordModel.h"
#include "analyzers/TraceWordModel.h"
#include "analyzers/ui/SegyAnalysis.h"
#include "seismic/EbcdicTable.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyLayout.h"

#include <QHash>
#include <QHeaderView>
#include <QScrollBar>
#include <QStandardItemModel>
#include <QStyleOptionFrame>
#include <algorithm>
#include <tuple>

namespace {

constexpr int byteColumn = 0;
constexpr int descriptionColumn = 1;
constexpr int kindColumn = 2;

void setText(QStandardItemModel* model, int row, int column, const QString& text)
{
    auto* item = new QStandardItem(text);
    item->setEditable(false);
    model->setItem(row, column, item);
}

// The combo entry of a binary header word's type: "2-byte int", "4-byte int" or (only the
// samples per trace have it) "2-byte unsigned", else none.
int binaryTypeEntry(int type)
{
    switch (type) {
    case HeaderDataType::Int16:
        return 0;
    case HeaderDataType::Int32:
        return 1;
    case HeaderDataType::UInt16:
        return 2;
    default:
        return -1;
    }
}

// What a line edit keeps free beside its text, inside its frame (2 pixels each side).
constexpr int lineEditTextMargin = 4;

// Rows one text line high: a header has hundreds of words.
void compactRows(QTableView* view)
{
    view->verticalHeader()->setDefaultSectionSize(view->fontMetrics().height() + 6);
}

// The given width, or more where the texts need it (fonts differ from machine to machine).
void setColumnWidthAtLeast(QTableView* view, int column, int width)
{
    view->resizeColumnToContents(column);
    view->setColumnWidth(column, std::max(width, view->columnWidth(column)));
}

QString general(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

HeaderWordTables::SlotLookup SegyAnalysis::slotLookup() const
{
    const SegyFormat* shown = format;
    return [shown](int slot) -> HeaderWordTables::Placement {
        const auto& key = shown->keySlot(slot);
        return {key.startByte, key.type};
    };
}

QVector<HeaderWordTables::BinaryWord> SegyAnalysis::binaryWords() const
{
    return {{"Sample Format", {format->sampleFormat.startByte, format->sampleFormat.type}},
            {"Sample Interval", {format->sampleInterval.startByte, format->sampleInterval.type}},
            {"Samples per trace", {format->samplesPerTrace.startByte, format->samplesPerTrace.type}}};
}

void SegyAnalysis::buildBinaryHeaderTables()
{
    const int size = data ? int(data->binaryHeaderRaw().size()) : 0;
    for (auto [model, view, bytes] : {std::tuple(binaryTwoByteModel, BinaryHeader_TwoByteTable, 2),
                                      std::tuple(binaryFourByteModel, BinaryHeader_FourByteTable, 4)}) {
        model->clear();
        model->setColumnCount(3);
        model->setRowCount(size / bytes);
        model->setHorizontalHeaderLabels(
            {QStringLiteral("Byte position"), QStringLiteral("Description"), QStringLiteral("Value")});
        for (int row = 0; row < size / bytes; ++row)
            setText(model, row, byteColumn,
                    QStringLiteral("%1 to %2").arg(row * bytes + 1).arg(row * bytes + bytes));
        compactRows(view);
        setColumnWidthAtLeast(view, 0, 72);
        view->setColumnWidth(1, 148);
        view->setColumnWidth(2, 312);
    }
}

void SegyAnalysis::describeBinaryHeaderWords()
{
    if (!data)
        return;
    for (auto [model, bytes] : {std::pair(binaryTwoByteModel, 2), std::pair(binaryFourByteModel, 4)}) {
        const auto rows = HeaderWordTables::binaryRows(bytes, data->binaryHeaderRaw(), false, binaryWords());
        for (int row = 0; row < rows.size() && row < model->rowCount(); ++row)
            setText(model, row, descriptionColumn, rows[row].description);
    }
}

void SegyAnalysis::fillBinaryHeaderValues()
{
    if (!data)
        return;
    for (auto [model, bytes] : {std::pair(binaryTwoByteModel, 2), std::pair(binaryFourByteModel, 4)}) {
        const auto rows =
            HeaderWordTables::binaryRows(bytes, data->binaryHeaderRaw(), data->swapBytes(), binaryWords());
        for (int row = 0; row < rows.size() && row < model->rowCount(); ++row)
            setText(model, row, 2, rows[row].values.value(0));
    }
}

void SegyAnalysis::buildTraceHeaderTables()
{
    for (QTableView* view : {TraceHeader_OneByteTable, TraceHeader_TwoByteTable, TraceHeader_FourByteTable,
                             TraceHeader_IBMFloatTable, TraceHeader_IEEEFloatTable}) {
        compactRows(view);
        // One default width for the trace columns: a scan may have many thousand of them.
        view->horizontalHeader()->setDefaultSectionSize(72);
    }
}

void SegyAnalysis::describeTraceHeaderWords()
{
    for (int t = 0; t < traceWordModels.size(); ++t)
        describeTraceWordTable(t);
}

void SegyAnalysis::describeTraceWordTable(int table)
{
    const QList<QTableView*> views{TraceHeader_OneByteTable, TraceHeader_TwoByteTable,
                                   TraceHeader_FourByteTable, TraceHeader_IBMFloatTable,
                                   TraceHeader_IEEEFloatTable};
    traceWordModels[table]->show(format->traceHeaderSize, rawHeaders, scanFirstTrace,
                                 data && data->swapBytes(), slotLookup());
    QTableView* view = views[table];
    setColumnWidthAtLeast(view, byteColumn, 80);
    view->setColumnWidth(descriptionColumn, 120);
    view->setColumnHidden(kindColumn, true);
}

void SegyAnalysis::addExtensionTable()
{
    extensionWordModel = new ExtensionWordModel(this);
    extensionTable = new QTableView(TraceHeader_WordDump);
    extensionTable->setObjectName(QStringLiteral("TraceHeader_ExtensionOneTable"));
    extensionTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    extensionTable->verticalHeader()->setVisible(false);
    extensionTable->setModel(extensionWordModel);
    compactRows(extensionTable);
    extensionTable->horizontalHeader()->setDefaultSectionSize(120);
    TraceHeader_WordDump->setTabVisible(
        TraceHeader_WordDump->addTab(extensionTable, QStringLiteral("Extension 1")), false);
}

void SegyAnalysis::showExtensionWords()
{
    extensionWordModel->show(rawHeaders, scanFirstTrace, data && data->swapBytes());
    setColumnWidthAtLeast(extensionTable, byteColumn, 80);
    setColumnWidthAtLeast(extensionTable, descriptionColumn, 200);
    setColumnWidthAtLeast(extensionTable, kindColumn, 100);
    TraceHeader_WordDump->setTabVisible(TraceHeader_WordDump->indexOf(extensionTable),
                                        HeaderWordTables::anyExtensionOne(rawHeaders));
}

void SegyAnalysis::readBinaryHeaderWords()
{
    if (!data)
        return;
    const QByteArray header = data->binaryHeaderRaw();
    auto decode = [&](const auto& word) {
        return HeaderDataType::readValue(header.constData(), header.size(), word.startByte, word.type,
                                         data->swapBytes());
    };
    SamplesPerTrace->setText(QString::number(qint64(decode(format->samplesPerTrace))));
    SampleInterval->setText(QString::number(decode(format->sampleInterval), 'f', 1));
    const QSignalBlocker blocker(SampleFormat);
    SampleFormat->setCurrentIndex(SegyLayout::sampleFormatIndex(int(decode(format->sampleFormat))));
    NumberOfTraces->setText(QString::number(data->traceCount()));
}

QLineEdit* SegyAnalysis::rowEdit(int row, const char* suffix) const
{
    // The scalar rows name their range editors apart from their other controls.
    static const QHash<QString, QString> rangeNames{
        {QStringLiteral("Coordinate_Scalar"), QStringLiteral("CScalar")},
        {QStringLiteral("Elevation_Scalar"), QStringLiteral("EScalar")},
        {QStringLiteral("Time_Scalar"), QStringLiteral("TScalar")}};
    const QString prefix = QString::fromLatin1(SegyFieldRanges::fields()[size_t(row)].prefix);
    const QString name =
        QLatin1String(suffix).startsWith(QLatin1String("_M")) ? rangeNames.value(prefix, prefix) : prefix;
    return findChild<QLineEdit*>(name + QLatin1String(suffix));
}

void SegyAnalysis::showFieldRanges()
{
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        rowEdit(row, "_Min")->setText(fieldRanges.minimumText(row));
        rowEdit(row, "_Max")->setText(fieldRanges.maximumText(row));
    }
}

void SegyAnalysis::fillTypeCombos()
{
    for (const auto& row : SegyFieldRanges::fields()) {
        auto* combo = findChild<QComboBox*>(QString::fromLatin1(row.prefix) + QStringLiteral("_Type"));
        const QSignalBlocker blocker(combo);
        combo->clear();
        combo->addItems(dataTypeNames);
    }
}

void SegyAnalysis::widenRangeFields()
{
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        for (const char* suffix : {"_Min", "_Max"}) {
            QLineEdit* field = rowEdit(row, suffix);
            // The frame and margins around the text, as the line edit itself adds them.
            QStyleOptionFrame option;
            option.initFrom(field);
            option.lineWidth = field->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, field);
            const QMargins margins = field->textMargins() + field->contentsMargins();
            const QFontMetrics metrics = field->fontMetrics();
            const QSize text(metrics.horizontalAdvance(QStringLiteral("-0000000000.0")) + lineEditTextMargin +
                                 margins.left() + margins.right(),
                             metrics.height());
            const int width =
                field->style()->sizeFromContents(QStyle::CT_LineEdit, &option, text, field).width();
            field->setMaximumWidth(std::max(field->maximumWidth(), width));
            field->setMinimumWidth(width);
        }
    }
    // The rows scroll up and down only: every column stays in view.
    TraceHeaderScroll->setMinimumWidth(TraceHeaderScroll->widget()->minimumSizeHint().width() +
                                       TraceHeaderScroll->verticalScrollBar()->sizeHint().width() +
                                       2 * TraceHeaderScroll->frameWidth());
    const int panel = std::max(FormatPanel->minimumWidth(), FormatPanel->minimumSizeHint().width());
    FormatPanel->setMinimumWidth(panel);
    FormatPanel->setMaximumWidth(std::max(FormatPanel->maximumWidth(), panel));
}

void SegyAnalysis::showTextHeader()
{
    if (!data)
        return;
    // As the reader converts it: EBCDIC through the table, the text ending at the first zero byte.
    QByteArray text = data->textHeaderRaw().left(std::max(format->textHeaderSize, 0));
    if (!format->textHeaderAscii) {
        for (char& byte : text)
            byte = EbcdicTable::toAscii(static_cast<unsigned char>(byte));
    }
    const int end = text.indexOf('\0');
    TextHeader->setPlainText(QString::fromLatin1(text.constData(), end < 0 ? text.size() : end));
}

void SegyAnalysis::populateControls()
{
    ExportFullHeader->setChecked(format->exportFullHeader);
    if (format->endianFromData)
        GetEndian->setChecked(true);
    else if (format->endianOrder == 2)
        IsLittleEndian->setChecked(true);
    else
        IsBigEndian->setChecked(true);
    TextHeader_Size->setText(QString::number(format->textHeaderSize));
    (format->textHeaderAscii ? IsASCII : IsEBCDIC)->setChecked(true);
    TextHeader->setLineWrapMode(QTextEdit::FixedColumnWidth);
    TextHeader->setLineWrapColumnOrWidth(80);
    TextHeader->setFont(QFont(QStringLiteral("Courier"), 9));
    if (data)
        TextHeader->setPlainText(data->textHeaderText());
    BinaryHeader_Size->setText(QString::number(format->binaryHeaderSize));
    const struct {
        const SegyFormat::BinaryWord& word;
        QLineEdit* startByte;
        QComboBox* type;
        QCheckBox* override;
        QWidget* value;
    } words[] = {{format->samplesPerTrace, SamplesPerTrace_StartByte, SamplesPerTrace_DataType,
                  SamplesPerTrace_Override, SamplesPerTrace},
                 {format->sampleInterval, SampleInterval_StartByte, SampleInterval_DataType,
                  SampleInterval_Override, SampleInterval},
                 {format->sampleFormat, SampleFormat_StartByte, SampleFormat_DataType, SampleFormat_Override,
                  SampleFormat}};
    for (const auto& w : words) {
        w.startByte->setText(QString::number(w.word.startByte));
        w.type->setCurrentIndex(binaryTypeEntry(w.word.type));
        if (auto* edit = qobject_cast<QLineEdit*>(w.value))
            edit->setReadOnly(!w.override->isChecked());
    }
    SampleFormat->setEnabled(SampleFormat_Override->isChecked());
    TraceHeader_Size->setText(QString::number(format->traceHeaderSize));
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        const auto& field = SegyFieldRanges::fields()[size_t(row)];
        const auto& slot = format->keySlot(field.keySlot);
        rowEdit(row, "_StartByte")->setText(QString::number(slot.startByte));
        findChild<QComboBox*>(QString::fromLatin1(field.prefix) + QStringLiteral("_Type"))
            ->setCurrentIndex(slot.type < dataTypeNames.size() ? slot.type : -1);
    }
    if (!data)
        return;
    NumberOfTraces->setText(QString::number(data->traceCount()));
    SamplesPerTrace->setText(QString::number(data->samples()));
    SampleInterval->setText(QString::number(double(data->sampleInterval()), 'f', 1));
    SampleFormat->setCurrentIndex(SegyLayout::sampleFormatIndex(data->sampleFormat()));
    setScanRangeControls();
    for (auto* start : {Spectra_StartTime, Histogram_StartTime})
        start->setText(QStringLiteral("0"));
    for (auto* end : {Spectra_EndTime, Histogram_EndTime})
        end->setText(general(recordTime()));
    showFieldRanges();
    PrimaryHeaderLabel->setCurrentIndex(settings.primaryHeader);
    SecondaryHeaderLabel->setCurrentIndex(settings.secondaryHeader);
    PrimaryHorizontalAnnotation->setValue(settings.primaryIncrement);
    SecondaryHorizontalAnnotation->setValue(settings.secondaryIncrement);
    HorizontalScale->setValue(settings.horizontalScale);
    VerticalScale->setValue(settings.verticalScale);
    VerticalAnnotation->setValue(settings.timingLineInterval);
    Gain->setValue(settings.gainDb);
}

void SegyAnalysis::setScanRangeControls()
{
    const int count = std::max(data->traceCount(), 1);
    for (auto [first, last] :
         {std::pair(FirstTraceInRange, LastTraceInRange), std::pair(FirstDisplayTrace, LastDisplayTrace),
          std::pair(Spectra_FirstTrace, Spectra_LastTrace),
          std::pair(Histogram_FirstTrace, Histogram_LastTrace)}) {
        first->setMaximum(count);
        if (last != LastDisplayTrace)
            last->setMaximum(count);
        first->setValue(scanFirstTrace);
        last->setValue(scanLastTrace);
    }
}
