#include "analyzers/ui/SegdAnalyzer.h"

#include "analyzers/SegdFieldTexts.h"
#include "analyzers/ui/TracePlotView.h"
#include "analyzers/ui/TraceQcPanel.h"
#include "base/ObrConsole.h"
#include "base/ui/FileDialogs.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "seismic/GpsTime.h"
#include "seismic/SegdData.h"
#include "seismic/SegdFolder.h"
#include "seismic/SegdReader.h"
#include "seismic/TraceGather.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QSignalBlocker>
#include <QStandardItemModel>

namespace {

const char* const warningTitle = "Segd Analysis";
const char* const notSercel = "Data is not from a Sercel recording system. Unable to do analysis";
// The plot shows this many traces after the first until a file says how many it has.
constexpr int initialDisplayTraces = 100;

} // namespace

SegdAnalyzer::SegdAnalyzer(ObrConsole* console, QWidget* parent, const QString& path)
    : QDialog(parent), console(console)
{
    setupUi(this);
    for (QSpinBox* box : {HexStartByte, HexNumBytes, FirstDumpTrace, DumpTraceCount})
        fileFields.push_back({box, box->maximum(), box->value()});
    // Shows the reader of the file shown; it is not chosen.
    SegdType->setEnabled(false);
    // Modal to the main window only: the help pages opened from here stay usable.
    setWindowModality(Qt::WindowModal);
    connect(OK, &QPushButton::clicked, this, &QDialog::accept);
    connect(HorizontalScale, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &SegdAnalyzer::on_HorizontalScale_changed);
    connect(VerticalScale, qOverload<double>(&QDoubleSpinBox::valueChanged), this,
            &SegdAnalyzer::on_VerticalScale_changed);
    connect(Gain, qOverload<double>(&QDoubleSpinBox::valueChanged), this, &SegdAnalyzer::on_Gain_changed);
    connect(FirstDisplayTrace, qOverload<int>(&QSpinBox::valueChanged), this,
            &SegdAnalyzer::on_FirstDisplayTrace_changed);
    connect(LastDisplayTrace, qOverload<int>(&QSpinBox::valueChanged), this,
            &SegdAnalyzer::on_LastDisplayTrace_changed);

    settings.horizontalScale = HorizontalScale->value();
    settings.verticalScale = VerticalScale->value();
    settings.gainDb = Gain->value();
    settings.dotsPerInchX = Display->logicalDpiX();
    settings.dotsPerInchY = Display->logicalDpiY();
    settings.firstTrace = FirstDisplayTrace->value();
    settings.lastTrace = settings.firstTrace + initialDisplayTraces;
    setUpSeismicView();
    ScreenFit::fitToScreen(this);

    // A path that is not a file (a project's seismic directory not made yet) is a directory
    // to browse from: nothing is read until one is chosen.
    if (!QFileInfo(path).isFile()) {
        directory = path;
        return;
    }
    const int slash = path.lastIndexOf(QLatin1Char('/'));
    directory = slash < 0 ? QStringLiteral(".") : path.left(slash);
    fileName = path.mid(slash + 1);
    DirName->setText(directory);
    DirBrowse->hide();
    QStringList files = SegdFolder::list(directory).names;
    if (!files.contains(fileName))
        files.prepend(fileName);
    showFirstFile(files);
}

SegdAnalyzer::~SegdAnalyzer() = default;

void SegdAnalyzer::on_DirBrowse_clicked()
{
    chooseDirectory(FileDialogs::existingFolder(
        this, QStringLiteral("Select a directory containing segd files"), directory));
}

void SegdAnalyzer::chooseDirectory(const QString& chosen)
{
    if (chosen.isEmpty())
        return;
    loaded = false;
    directory = chosen;
    FileList->clear();
    const SegdFolder::Listing listing = SegdFolder::list(directory, console);
    const QString skipped = SegdFolder::skippedText(listing);
    if (!skipped.isEmpty() && console)
        console->information(skipped, false);
    if (listing.names.isEmpty()) {
        warn(QStringLiteral("No Segd files found in the selected directory."));
        return;
    }
    fileName = listing.names.first();
    DirName->setText(directory);
    showFirstFile(listing.names);
}

// The file list is filled even when the first file cannot be shown, so that the others can be
// chosen.
void SegdAnalyzer::showFirstFile(const QStringList& files)
{
    fillFileList(files);
    openFile(fileName, true);
    loaded = true;
}

void SegdAnalyzer::on_FileList_currentIndexChanged(int index)
{
    if (!loaded || index < 0 || FileList->itemText(index) == fileName)
        return;
    fileName = FileList->itemText(index);
    // The list stays usable whatever this file holds.
    openFile(fileName, false);
    loaded = true;
}

// The views are emptied first, so they never show another file's values.
void SegdAnalyzer::resetFileFields()
{
    for (const FieldStart& field : fileFields) {
        const QSignalBlocker blocker(field.box);
        field.box->setMaximum(field.maximum);
        field.box->setValue(field.value);
    }
}

void SegdAnalyzer::openFile(const QString& name, bool warnByBox)
{
    clearViews();
    resetFileFields();
    data = SegdReader::open(directory + QLatin1Char('/') + name, console);
    if (!data)
        return;
    // The type says which reader the file is shown by; the file decides it.
    SegdType->setCurrentIndex(data->sercel() ? 0 : 1);
    // The warning comes first; what a standard reader can show follows it.
    if (data->fieldMap().hasGeneralHeader() && !data->sercel()) {
        if (warnByBox)
            warn(QLatin1String(notSercel));
        else if (console)
            console->warning(name + QStringLiteral(": ") + QLatin1String(notSercel), false);
    }
    showHeaders();
}

void SegdAnalyzer::fillFileList(const QStringList& files)
{
    const bool wasLoaded = loaded;
    loaded = false;
    FileList->clear();
    FileList->addItems(files);
    FileList->setCurrentIndex(std::max(0, int(files.indexOf(fileName))));
    loaded = wasLoaded;
}

void SegdAnalyzer::showHeaders()
{
    loaded = false;
    if (data->fieldMap().hasGeneralHeader()) {
        showGeneralHeaders();
        ExternalHeader->setPlainText(SegdFieldTexts::externalHeaderText(data->externalHeader()));
    }
    QApplication::setOverrideCursor(Qt::WaitCursor);
    readWholeRecord();
    setHexRange();
    setTraceRange();
    const int traces = gather ? gather->count() : 0;
    FirstDisplayTrace->setMaximum(std::max(1, traces));
    LastDisplayTrace->setMaximum(std::max(1, traces));
    LastDisplayTrace->setValue(std::max(1, traces));
    settings.lastTrace = traces;
    suitTimingLines();
    loaded = true;
    redrawSeismicView();
    // A new file starts fitted, not at the last file's zoom.
    plot->fitWhenShown();
    QApplication::restoreOverrideCursor();
}

void SegdAnalyzer::showFields(const QString& name, const QString& text)
{
    if (auto* field = findChild<QLineEdit*>(name))
        field->setText(text);
}

void SegdAnalyzer::showGeneralHeaders()
{
    for (const SegdFieldTexts::FieldText& field : SegdFieldTexts::general(*data))
        showFields(field.name, field.text);
    for (const SegdFieldTexts::FieldText& field : SegdFieldTexts::extended(*data))
        showFields(field.name, field.text);
    TestRecType->setToolTip(SegdFieldTexts::testRecordTypeName(TestRecType->text().toInt()));
    ProcType->setToolTip(SegdFieldTexts::processTypeName(ProcType->text().toInt()));
    // Revision 3 also states time zero to the microsecond, in GPS time.
    const qint64 timeZero = data->generalHeader().timeZero;
    if (timeZero != 0)
        Time->setToolTip(QStringLiteral("time of recording; time zero %1").arg(GpsTime::text(timeZero)));

    const int sets = int(data->channelSets().size());
    NumChanSets->setText(QString::number(sets));
    ChannelSet->setMaximum(std::max(1, sets));
    if (ChannelSet->value() != 1)
        ChannelSet->setValue(1);
    else
        showChannelSet(1);
}

void SegdAnalyzer::on_ChannelSet_valueChanged(int chanSet)
{
    showChannelSet(chanSet);
}

void SegdAnalyzer::showChannelSet(int chanSet)
{
    if (!data || chanSet < 1 || chanSet > int(data->channelSets().size()))
        return;
    for (const SegdFieldTexts::FieldText& field :
         SegdFieldTexts::channelSet(data->channelSets()[size_t(chanSet - 1)]))
        showFields(field.name, field.text);
}

void SegdAnalyzer::readWholeRecord()
{
    gather.reset();
    if (!data->ok())
        return;
    gather = data->makeGather(false);
    // A record that breaks off is reported by the reader; the traces before the break are shown.
    if (gather)
        static_cast<void>(data->readRecord(*gather));
    // The list and the marks follow the record shown.
    if (!qcPanel->isHidden())
        checkTraces();
    else
        qcPanel->clear();
}

void SegdAnalyzer::clearViews()
{
    gather.reset();
    redrawSeismicView();
    data.reset();
    // The header fields only: spin boxes keep their own editors.
    for (QLineEdit* field : findChildren<QLineEdit*>()) {
        if (field != DirName && !qobject_cast<QAbstractSpinBox*>(field->parentWidget()))
            field->clear();
    }
    TestRecType->setToolTip(QStringLiteral("Test record type"));
    ProcType->setToolTip(QStringLiteral("type of process"));
    Time->setToolTip(QStringLiteral("time of recording"));
    ExternalHeader->clear();
    HexDump->clear();
    FileSizeTx->setText(QStringLiteral("0  bytes in file"));
    TraceCountTx->setText(QStringLiteral("0  traces in record"));
    TraceHeaderTable->setModel(nullptr);
    delete traceHeaderModel;
    traceHeaderModel = nullptr;
}

void SegdAnalyzer::warn(const QString& text)
{
    QMessageBox::warning(this, QLatin1String(warningTitle), text);
}

void SegdAnalyzer::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("segdanalyzer.html"));
}
