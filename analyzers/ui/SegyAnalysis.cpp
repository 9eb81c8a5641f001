#include "analyzers/ui/SegyAnalysis.h"

#include "analyzers/BackgroundTraceScan.h"
#include "analyzers/TimingInterval.h"
#include "analyzers/TraceWordModel.h"
#include "analyzers/ui/Histogram.h"
#include "analyzers/ui/Spectra.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TracePlotControls.h"
#include "base/ObrConsole.h"
#include "base/RecentFiles.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "base/ui/WheelGuard.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SegyData.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SegyLayout.h"
#include "seismic/ui/SampleFormatBox.h"
#include "seismic/ui/SegyFormatViewer.h"

#include <QFileInfo>
#include <QFontDatabase>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QSplitter>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString analyzerTitle = QStringLiteral("SEGY Analyzer");

} // namespace

SegyAnalysis::SegyAnalysis(ObrConsole* console, const QString& seismicDirectory, QWidget* parent,
                           const QString& standardFormatPath, const QString& fileName)
    : QDialog(parent), console(console), fileName(fileName), seismicDirectory(seismicDirectory),
      standardFormatPath(standardFormatPath), binaryTwoByteModel(new QStandardItemModel(this)),
      binaryFourByteModel(new QStandardItemModel(this)), scanner(new BackgroundTraceScan(this)),
      scanProgress(new QProgressBar(this))
{
    setupUi(this);
    SampleFormatBox::fill(SampleFormat);
    // By code: an entry's index is its type.
    for (int code = 0; code < HeaderDataType::codeCount; ++code)
        dataTypeNames.append(QString::fromLatin1(HeaderDataType::boxName(code)));
    BinaryHeader_TwoByteTable->setModel(binaryTwoByteModel);
    BinaryHeader_FourByteTable->setModel(binaryFourByteModel);
    int table = 0;
    for (QTableView* view : {TraceHeader_OneByteTable, TraceHeader_TwoByteTable, TraceHeader_FourByteTable,
                             TraceHeader_IBMFloatTable, TraceHeader_IEEEFloatTable}) {
        traceWordModels.append(new TraceWordModel(HeaderWordTables::TraceTable(table++), this));
        view->setModel(traceWordModels.last());
    }
    addExtensionTable();
    scanProgress->setObjectName(QStringLiteral("ScanProgress"));
    scanProgress->setFormat(QStringLiteral("Scanning traces: %v of %m"));
    scanProgress->hide();
    layout_25->insertWidget(1, scanProgress);
    connect(scanner, &BackgroundTraceScan::progress, this, [this](int done, int total) {
        scanProgress->setRange(0, total);
        scanProgress->setValue(done);
        scanProgress->show();
    });
    connect(scanner, &BackgroundTraceScan::finished, this, &SegyAnalysis::scanFinished);
    scanRangePause.setSingleShot(true);
    scanRangePause.setInterval(scanRangePauseMs);
    connect(&scanRangePause, &QTimer::timeout, this, &SegyAnalysis::applyScanRange);
    // The display choices over the trace plot, which fills the seismic view's area as the
    // window is resized, with the clicked trace's header words beside it.
    auto* seismicLayout = new QVBoxLayout(SeismicWidget);
    seismicLayout->setContentsMargins(0, 0, 0, 0);
    displayControls = new TracePlotControls(SeismicWidget);
    seismicLayout->addWidget(displayControls);
    plotSplitter = new QSplitter(Qt::Horizontal, SeismicWidget);
    seismicLayout->addWidget(plotSplitter, 1);
    headerPanel = new QPlainTextEdit(plotSplitter);
    headerPanel->setObjectName(QStringLiteral("TraceHeaderPanel"));
    headerPanel->setReadOnly(true);
    headerPanel->setLineWrapMode(QPlainTextEdit::NoWrap);
    headerPanel->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Shown once a trace is clicked: until then the plot has the whole width.
    headerPanel->hide();
    plotSplitter->addWidget(headerPanel);
    plotSplitter->setStretchFactor(1, 0);
    connect(displayControls, &TracePlotControls::settingsChanged, this, [this] {
        displayControls->applyTo(settings);
        redrawSeismicView();
    });
    ExportSpectra->setEnabled(false);
    ExportHistogram->setEnabled(false);
    fillTypeCombos();
    WheelGuard::guardScrolledFields(this);
    widenRangeFields();
    ScreenFit::fitToScreen(this);
    static_cast<void>(openSegyFile());

    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(FileBrowse, &QPushButton::clicked, this, &SegyAnalysis::onFileBrowse);
    connect(CreateFormatFile, &QPushButton::clicked, this, &SegyAnalysis::onCreateFormat);
    connect(SampleFormat, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SegyAnalysis::on_SampleFormat_changed);
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        const auto& fieldRow = SegyFieldRanges::fields()[size_t(row)];
        // The CMP datum row is written only by "Create format file".
        if (fieldRow.keySlot == 8)
            continue;
        const QString prefix = QString::fromLatin1(fieldRow.prefix);
        connect(findChild<QLineEdit*>(prefix + QStringLiteral("_StartByte")), &QLineEdit::editingFinished,
                this, [this, row] { fieldStartByteEdited(row); });
        connect(findChild<QComboBox*>(prefix + QStringLiteral("_Type")),
                qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, row](int index) { fieldTypeChanged(row, index); });
    }
    connect(HorizontalScale, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &SegyAnalysis::on_HorizontalScale_changed);
    connect(VerticalScale, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &SegyAnalysis::on_VerticalScale_changed);
    connect(Gain, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &SegyAnalysis::on_Gain_changed);
    connect(PrimaryHorizontalAnnotation, qOverload<int>(&QSpinBox::valueChanged), this,
            &SegyAnalysis::on_PrimaryHorizontalAnnotationIncr_changed);
    connect(SecondaryHorizontalAnnotation, qOverload<int>(&QSpinBox::valueChanged), this,
            &SegyAnalysis::on_SecondaryHorizontalAnnotationIncr_changed);
    connect(PrimaryHeaderLabel, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SegyAnalysis::on_PrimaryHeaderLabel_changed);
    connect(SecondaryHeaderLabel, qOverload<int>(&QComboBox::currentIndexChanged), this,
            &SegyAnalysis::on_SecondaryHeaderLabel_changed);
    connect(VerticalAnnotation, qOverload<int>(&QSpinBox::valueChanged), this,
            &SegyAnalysis::on_VerticalAnnotation_changed);
    setTitleFromFileName();
    addFileActions();
}

SegyAnalysis::~SegyAnalysis()
{
    // A scan still running stops before the data it reports to goes.
    delete scanner;
    // The views hold no data pointer past their construction, but they go first all the same.
    delete seismicView;
    delete spectraView;
    delete histogramView;
}

void SegyAnalysis::setTitleFromFileName()
{
    setWindowTitle(fileName.isEmpty()
                       ? analyzerTitle
                       : QStringLiteral("%1  -  %2[*]").arg(analyzerTitle, QFileInfo(fileName).fileName()));
}

bool SegyAnalysis::loadStandardFormat()
{
    if (formatLoaded)
        return true;
    if (QFileInfo::exists(standardFormatPath)) {
        auto file = std::make_unique<SegyFormatFile>(standardFormatPath, 0);
        if (file->read()) {
            formatFile = std::move(file);
            format = &formatFile->format();
        }
    }
    if (!format) {
        // Without the standard file the built-in standard layout serves: a missing file must
        // not leave the analyzer unable to open anything.
        builtInFormat = std::make_unique<SegyFormat>(false);
        format = builtInFormat.get();
    }
    formatLoaded = true;
    return true;
}

bool SegyAnalysis::reopenDataSet()
{
    data.reset();
    auto opened = std::make_unique<SegyData>(console, fileName, 0u, format);
    if (!opened->ok())
        return false;
    data = std::move(opened);
    return true;
}

bool SegyAnalysis::openSegyFile()
{
    updating = true;
    headerPanel->clear();
    if (!loadStandardFormat() || fileName.isEmpty())
        return false;
    if (!reopenDataSet()) {
        data.reset();
        delete seismicView;
        seismicView = nullptr;
        replaceFilePictures();
        return false;
    }
    buildBinaryHeaderTables();
    describeBinaryHeaderWords();
    fillBinaryHeaderValues();
    scanFirstTrace = 1;
    scanLastTrace = std::min(24, data->traceCount());
    // The first traces are few: they are read at once, and any scan of the previous file is dropped.
    scanner->cancel();
    scanProgress->hide();
    ++tableRound;
    tablesPending = false;
    const std::atomic<bool> notCancelled{false};
    std::atomic<int> done{0};
    const auto scan = traceRangeScan();
    showScanResult(scan->run(notCancelled, done));
    scan->console().passOn(*console);
    fillTypeCombos();
    for (QWidget* area :
         {static_cast<QWidget*>(SpectraWidget), static_cast<QWidget*>(HistogramWidget), SeismicWidget}) {
        QPalette palette = area->palette();
        palette.setColor(QPalette::Window, Qt::white);
        area->setPalette(palette);
        area->setAutoFillBackground(true);
    }
    settings = TraceDisplaySettings();
    settings.firstTrace = FirstDisplayTrace->value();
    settings.lastTrace = std::min(LastDisplayTrace->value(), data->traceCount());
    settings.dotsPerInchX = SeismicWidget->physicalDpiX();
    settings.dotsPerInchY = SeismicWidget->physicalDpiY();
    // The display choices stay from file to file; the timing lines suit the new record.
    displayControls->applyTo(settings);
    settings.timingLineInterval =
        TimingInterval::suited(recordTime(), (data->samples() - 1) * double(data->sampleInterval()) / 1000.0 *
                                                 settings.verticalScale * settings.dotsPerInchY);
    settings.timingLabelInterval = settings.timingLineInterval;
    populateControls();
    RecentFiles::add(fileName);
    // The plot is drawn once the controls are settled; while updating it would not be.
    updating = false;
    redrawSeismicView();
    replaceFilePictures();
    return true;
}

void SegyAnalysis::onFileBrowse()
{
    const QString chosen = FileDialogs::openFileName(this, QStringLiteral("Open SEGY File"), seismicDirectory,
                                                     FileDialogs::segyFilter);
    if (!chosen.isEmpty()) {
        openFile(chosen);
        return;
    }
    // The data set stays open; the byte order buttons, which need a file name, then do nothing.
    fileName.clear();
    setTitleFromFileName();
}

void SegyAnalysis::fieldStartByteEdited(int row)
{
    const int slot = SegyFieldRanges::fields()[size_t(row)].keySlot;
    bool valid = false;
    const int startByte = rowEdit(row, "_StartByte")->text().toInt(&valid);
    if (!valid)
        return;
    format->setKeySlot(slot, startByte, format->keySlot(slot).type);
    formatEdited();
    fullRefresh();
}

void SegyAnalysis::fieldTypeChanged(int row, int index)
{
    if (updating || index < 0 || index >= dataTypeNames.size())
        return;
    const int slot = SegyFieldRanges::fields()[size_t(row)].keySlot;
    format->setKeySlot(slot, format->keySlot(slot).startByte, index);
    formatEdited();
    fullRefresh();
}

void SegyAnalysis::on_IsLittleEndian_toggled(bool checked)
{
    if (!data || !checked)
        return;
    format->endianOrder = 2;
    format->endianFromData = false;
    formatEdited();
    if (reopenDataSet())
        fillBinaryHeaderValues();
}

void SegyAnalysis::on_GetEndian_toggled(bool checked)
{
    if (fileName.isEmpty() || !checked)
        return;
    format->endianFromData = true;
    formatEdited();
    if (reopenDataSet())
        fillBinaryHeaderValues();
}

void SegyAnalysis::on_IsBigEndian_toggled(bool checked)
{
    if (!data || !checked)
        return;
    format->endianOrder = 1;
    format->endianFromData = false;
    formatEdited();
    if (reopenDataSet())
        fillBinaryHeaderValues();
}

void SegyAnalysis::on_IsASCII_toggled(bool checked)
{
    if (!data || !checked)
        return;
    format->textHeaderAscii = true;
    formatEdited();
    showTextHeader();
}

void SegyAnalysis::on_IsEBCDIC_toggled(bool checked)
{
    if (!data || !checked)
        return;
    format->textHeaderAscii = false;
    formatEdited();
    showTextHeader();
}

void SegyAnalysis::on_SampleFormat_Override_clicked()
{
    SampleFormat->setEnabled(SampleFormat_Override->isChecked());
    formatEdited();
    // Without the override the file's own code is read again.
    if (!SampleFormat_Override->isChecked() && format && format->sampleFormat.override) {
        format->sampleFormat.override = false;
        if (data && reopenDataSet())
            fullRefresh();
    }
}

void SegyAnalysis::on_SampleInterval_Override_clicked()
{
    if (!data)
        return;
    SampleInterval->setReadOnly(!SampleInterval_Override->isChecked());
    formatEdited();
    fullRefresh();
}

void SegyAnalysis::on_SamplesPerTrace_Override_clicked()
{
    if (!data)
        return;
    SamplesPerTrace->setReadOnly(!SamplesPerTrace_Override->isChecked());
    formatEdited();
    fullRefresh();
}

void SegyAnalysis::binaryWordEdited()
{
    formatEdited();
    readBinaryHeaderWords();
    buildBinaryHeaderTables();
    describeBinaryHeaderWords();
    fillBinaryHeaderValues();
    fullRefresh();
}

void SegyAnalysis::on_SampleFormat_StartByte_editingFinished()
{
    if (!data)
        return;
    format->sampleFormat.startByte = SampleFormat_StartByte->text().toInt();
    binaryWordEdited();
}

void SegyAnalysis::on_SampleInterval_StartByte_editingFinished()
{
    if (!data)
        return;
    format->sampleInterval.startByte = SampleInterval_StartByte->text().toInt();
    binaryWordEdited();
}

void SegyAnalysis::on_SamplesPerTrace_StartByte_editingFinished()
{
    if (!data)
        return;
    format->samplesPerTrace.startByte = SamplesPerTrace_StartByte->text().toInt();
    binaryWordEdited();
}

void SegyAnalysis::on_SampleFormat_DataType_currentIndexChanged(int index)
{
    if (!data || index < 0)
        return;
    format->sampleFormat.type = index == 0 ? HeaderDataType::Int16 : HeaderDataType::Int32;
    binaryWordEdited();
}

void SegyAnalysis::on_SampleInterval_DataType_currentIndexChanged(int index)
{
    if (!data || index < 0)
        return;
    format->sampleInterval.type = index == 0 ? HeaderDataType::Int16 : HeaderDataType::Int32;
    binaryWordEdited();
}

void SegyAnalysis::on_SamplesPerTrace_DataType_currentIndexChanged(int index)
{
    if (!data || index < 0)
        return;
    format->samplesPerTrace.type = index == 0   ? HeaderDataType::Int16
                                   : index == 1 ? HeaderDataType::Int32
                                                : HeaderDataType::UInt16;
    binaryWordEdited();
}

void SegyAnalysis::on_SampleFormat_changed(int index)
{
    if (!data || updating || index < 0 || index >= SegyLayout::sampleFormatCount)
        return;
    // The code decides the length of a trace in the file, so the data set is opened again
    // with the chosen code in force.
    format->sampleFormat.override = true;
    format->sampleFormat.overrideValue = SegyLayout::sampleFormats[index].code;
    formatEdited();
    if (reopenDataSet())
        fullRefresh();
}

void SegyAnalysis::formatEdited()
{
    if (!updating)
        setWindowModified(true);
}

void SegyAnalysis::done(int result)
{
    // Edits of the format live only in this window until "Create format file" saves them.
    if (isWindowModified() &&
        QMessageBox::question(this, analyzerTitle,
                              QStringLiteral("The format has been changed and not saved with \"Create format "
                                             "file\".\nClose the analyzer and lose the changes?"),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return;
    QDialog::done(result);
}

void SegyAnalysis::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("segyanalyzer.html"));
}

std::unique_ptr<SegyFormat> SegyAnalysis::buildFormatFromControls() const
{
    auto built = std::make_unique<SegyFormat>(false);
    built->exportFullHeader = ExportFullHeader->isChecked();
    built->endianFromData = GetEndian->isChecked();
    built->endianOrder = GetEndian->isChecked() ? 0 : IsBigEndian->isChecked() ? 1 : 2;
    built->textHeaderSize = TextHeader_Size->text().toInt();
    built->textHeaderAscii = !IsEBCDIC->isChecked();
    built->binaryHeaderSize = BinaryHeader_Size->text().toInt();
    built->traceHeaderSize = TraceHeader_Size->text().toInt();
    auto binaryType = [](const QComboBox* combo, int kept) {
        return combo->currentIndex() == 0   ? int(HeaderDataType::Int16)
               : combo->currentIndex() == 1 ? int(HeaderDataType::Int32)
               : combo->currentIndex() == 2 ? int(HeaderDataType::UInt16)
                                            : kept;
    };
    built->samplesPerTrace.startByte = SamplesPerTrace_StartByte->text().toInt();
    built->samplesPerTrace.type = binaryType(SamplesPerTrace_DataType, built->samplesPerTrace.type);
    built->samplesPerTrace.override = SamplesPerTrace_Override->isChecked();
    built->samplesPerTrace.overrideValue = SamplesPerTrace->text().toInt();
    built->sampleInterval.startByte = SampleInterval_StartByte->text().toInt();
    built->sampleInterval.type = binaryType(SampleInterval_DataType, built->sampleInterval.type);
    built->sampleInterval.override = SampleInterval_Override->isChecked();
    built->sampleInterval.overrideValue = SampleInterval->text().toFloat();
    built->sampleFormat.startByte = SampleFormat_StartByte->text().toInt();
    built->sampleFormat.type = binaryType(SampleFormat_DataType, built->sampleFormat.type);
    built->sampleFormat.override = SampleFormat_Override->isChecked();
    // "Undefined" keeps the standard override value.
    const int entry = SampleFormat->currentIndex();
    if (entry >= 0 && entry < SegyLayout::sampleFormatCount)
        built->sampleFormat.overrideValue = SegyLayout::sampleFormats[entry].code;
    for (int row = 0; row < SegyFieldRanges::count; ++row) {
        const auto& field = SegyFieldRanges::fields()[size_t(row)];
        const auto* combo =
            findChild<QComboBox*>(QString::fromLatin1(field.prefix) + QStringLiteral("_Type"));
        const int type = dataTypeNames.indexOf(combo->currentText());
        built->setKeySlot(field.keySlot, rowEdit(row, "_StartByte")->text().toInt(),
                          type >= 0 ? type : built->keySlot(field.keySlot).type);
    }
    return built;
}

void SegyAnalysis::onCreateFormat()
{
    std::unique_ptr<SegyFormat> formatToSave = buildFormatFromControls();
    SegyFormatViewer viewer(1, 0, formatToSave.get(), this);
    viewer.exec();
    if (viewer.saved()) {
        setWindowModified(false);
        emit formatInfo(viewer.savedPath());
    }
}
