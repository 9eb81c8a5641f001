#include "seismic/ui/SegyFormatViewer.h"

#include "base/ui/FileDialogs.h"
#include "base/ui/ScreenFit.h"
#include "seismic/HeaderDataType.h"
#include "seismic/SampleConversion.h"
#include "seismic/SegyFormat.h"
#include "seismic/SegyFormatFile.h"
#include "seismic/SegyLayout.h"
#include "seismic/ui/SampleFormatBox.h"

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <array>

namespace {

struct Row {
    const char* prefix; // of the row's controls; with blanks for underscores, its name in warnings
    const char* has;    // its check box
    int slot;           // the key slot it edits, -1 for none
};

constexpr std::array<Row, 29> rows{{
    {"FFID", "HasFFID", 0},
    {"Channel", "HasChannel", 1},
    {"CMP", "HasCmp", 2},
    {"Inline", "HasInline", 3},
    {"Crossline", "HasCrossline", 4},
    {"Offset", "HasOffset", 26},
    {"CMP_Easting", "HasCmpEasting", 5},
    {"CMP_Northing", "HasCmpNorthing", 6},
    {"CMP_Elevation", "HasCmpElevation", 7},
    {"Source_Line", "HasSourceLine", 9},
    {"Source_Location", "HasSourceLocation", 10},
    {"Source_Easting", "HasSourceEasting", 11},
    {"Source_Northing", "HasSourceNorthing", 12},
    {"Source_Elevation", "HasSourceElevation", 13},
    {"Source_Datum", "HasSourceDatum", 14},
    {"Source_Depth", "HasSourceDepth", 15},
    {"Source_UHT", "HasSourceUphole", 16},
    // No key slot holds a source component: the row is shown but cannot be edited.
    {"Source_Comp", "HasSourceComp", -1},
    {"Receiver_Line", "HasReceiverLine", 17},
    {"Receiver_Location", "HasReceiverLocation", 18},
    {"Receiver_Easting", "HasReceiverEasting", 19},
    {"Receiver_Northing", "HasReceiverNorthing", 20},
    {"Receiver_Elevation", "HasReceiverElevation", 21},
    {"Receiver_Datum", "HasReceiverDatum", 22},
    {"Receiver_Comp", "HasReceiverComp", 24},
    {"Receiver_Orient", "HasReceiverOrient", 25},
    {"Coordinate_Scalar", "HasCoordinateScalar", 33},
    {"Elevation_Scalar", "HasElevationScalar", 32},
    {"Time_Scalar", "HasTimeScalar", 34},
}};

// The entry "2-byte unsigned" of the samples-per-trace type box.
constexpr int unsignedEntry = 3;

QString rowName(const Row& row)
{
    return QString::fromLatin1(row.prefix).replace(QLatin1Char('_'), QLatin1Char(' '));
}

} // namespace

SegyFormatViewer::SegyFormatViewer(int first, int second, SegyFormat* format, QWidget* parent)
    : QDialog(parent), first_(first), second_(second), format(format)
{
    setupUi(this);
    SampleFormatBox::fill(SampleFormat);
    ScreenFit::fitToScreen(this);
    Save->setText(QStringLiteral("Save Format"));
    for (int row = 0; row < int(rows.size()); ++row) {
        // The form lists the first types; an entry's index is its type.
        for (int code = typeBox(row)->count(); code < HeaderDataType::codeCount; ++code)
            typeBox(row)->addItem(QString::fromLatin1(HeaderDataType::boxName(code)));
        if (rows[size_t(row)].slot < 0) {
            startByteEdit(row)->setEnabled(false);
            typeBox(row)->setEnabled(false);
            continue;
        }
        connect(startByteEdit(row), &QLineEdit::editingFinished, this, [this, row] { rowEdited(row); });
        connect(typeBox(row), qOverload<int>(&QComboBox::currentIndexChanged), this,
                [this, row] { rowEdited(row); });
    }
    const bool exists = format && !format->path.isEmpty() && QFileInfo::exists(format->path);
    QString description;
    if (exists) {
        SegyFormatFile file(format->path, 0);
        if (file.read())
            description = file.description();
    }
    fillControls(description, exists);
}

SegyFormatViewer::~SegyFormatViewer() = default;

QLineEdit* SegyFormatViewer::startByteEdit(int row) const
{
    return findChild<QLineEdit*>(QString::fromLatin1(rows[size_t(row)].prefix) +
                                 QStringLiteral("_StartByte"));
}

QComboBox* SegyFormatViewer::typeBox(int row) const
{
    return findChild<QComboBox*>(QString::fromLatin1(rows[size_t(row)].prefix) + QStringLiteral("_Type"));
}

void SegyFormatViewer::fillControls(const QString& description, bool fileExists)
{
    if (!format)
        return;
    filling = true;
    // A format without a file has no name yet: the user gives it one when saving.
    FormatName->setText(fileExists ? QFileInfo(format->path).completeBaseName() : QString());
    FormatDescription->setText(fileExists ? description : QStringLiteral("SEG Standard SEGY"));
    ExportFullHeader->setChecked(format->exportFullHeader);
    if (format->endianFromData)
        GetEndian->setChecked(true);
    else
        (format->endianOrder == SegyFormat::LittleEndian ? IsLittleEndian : IsBigEndian)->setChecked(true);
    auto typeEntry = [](int type) { return type <= HeaderDataType::Int32 ? type : -1; };
    SampleInterval_StartByte->setText(QString::number(format->sampleInterval.startByte));
    SampleInterval_Type->setCurrentIndex(typeEntry(format->sampleInterval.type));
    SampleInterval_Override->setChecked(format->sampleInterval.override);
    SampleInterval->setText(QString::number(format->sampleInterval.overrideValue, 'g', 6));
    SamplesPerTrace_StartByte->setText(QString::number(format->samplesPerTrace.startByte));
    // The standard sample count is unsigned; its box has an entry for that after the three.
    SamplesPerTrace_Type->setCurrentIndex(format->samplesPerTrace.type == HeaderDataType::UInt16
                                              ? unsignedEntry
                                              : typeEntry(format->samplesPerTrace.type));
    SamplesPerTrace_Override->setChecked(format->samplesPerTrace.override);
    SamplesPerTrace->setText(
        QString::number(SampleConversion::truncateToInteger(format->samplesPerTrace.overrideValue)));
    SampleFormat_StartByte->setText(QString::number(format->sampleFormat.startByte));
    SampleFormat_Type->setCurrentIndex(typeEntry(format->sampleFormat.type));
    SampleFormat_Override->setChecked(format->sampleFormat.override);
    SampleFormat->setCurrentIndex(
        SegyLayout::sampleFormatIndex(SampleConversion::truncateToInt32(format->sampleFormat.overrideValue)));
    SampleInterval->setEnabled(format->sampleInterval.override);
    SamplesPerTrace->setEnabled(format->samplesPerTrace.override);
    SampleFormat->setEnabled(format->sampleFormat.override);
    BinaryHeader_Size->setText(QString::number(format->binaryHeaderSize));
    TextHeader_Size->setText(QString::number(format->textHeaderSize));
    (format->textHeaderAscii ? IsASCII : IsEBCDIC)->setChecked(true);
    TraceHeader_Size->setText(QString::number(format->traceHeaderSize));
    for (int row = 0; row < int(rows.size()); ++row) {
        auto* has = findChild<QCheckBox*>(QString::fromLatin1(rows[size_t(row)].has));
        const int slot = rows[size_t(row)].slot;
        if (slot < 0) {
            has->setChecked(false);
            continue;
        }
        const SegyFormat::KeySlot& key = format->keySlot(slot);
        startByteEdit(row)->setText(QString::number(key.startByte));
        typeBox(row)->setCurrentIndex(key.type < HeaderDataType::codeCount ? key.type : -1);
        // Checked when the field lies inside the trace header.
        has->setChecked(key.startByte >= 1 &&
                        key.startByte + HeaderDataType::size(key.type) - 1 <= format->traceHeaderSize);
    }
    filling = false;
}

void SegyFormatViewer::rowEdited(int row)
{
    if (filling || !format)
        return;
    bool valid = false;
    const int startByte = startByteEdit(row)->text().toInt(&valid);
    const int type = typeBox(row)->currentIndex();
    const int slot = rows[size_t(row)].slot;
    if (!valid || type < 0 || type >= HeaderDataType::codeCount)
        return;
    format->setKeySlot(slot, startByte, type);
    checkOverlap(row);
}

void SegyFormatViewer::checkOverlap(int row)
{
    auto extent = [this](int r) {
        const int start = startByteEdit(r)->text().toInt();
        const int size = HeaderDataType::size(typeBox(r)->currentIndex());
        const int length = size > 0 ? size : 4;
        return std::pair(start, start + length - 1);
    };
    const auto [first, last] = extent(row);
    for (int other = 0; other < int(rows.size()); ++other) {
        if (other == row || rows[size_t(other)].slot < 0)
            continue;
        const auto [otherFirst, otherLast] = extent(other);
        const bool inside =
            (first >= otherFirst && first <= otherLast) || (last >= otherFirst && last <= otherLast);
        if (!inside)
            continue;
        QMessageBox::warning(
            this, QStringLiteral("SEGY Format"),
            QStringLiteral("The byte positions of %1 and %2 overlap!\n  If the overlap is not "
                           "resolved, the output SEGY header may be incomplete.")
                .arg(rowName(rows[size_t(row)]), rowName(rows[size_t(other)])));
        return;
    }
}

std::unique_ptr<SegyFormat> SegyFormatViewer::formatFromControls() const
{
    // A copy of the format shown, so that what no control covers (the CMP datum slot, the other
    // slots, the header word list) is saved as shown instead of falling back to the standard.
    auto built = format ? std::make_unique<SegyFormat>(*format) : std::make_unique<SegyFormat>(false);
    built->exportFullHeader = ExportFullHeader->isChecked();
    built->endianFromData = GetEndian->isChecked();
    built->endianOrder = GetEndian->isChecked()     ? SegyFormat::FromData
                         : IsBigEndian->isChecked() ? SegyFormat::BigEndian
                                                    : SegyFormat::LittleEndian;
    built->textHeaderAscii = IsASCII->isChecked();
    built->textHeaderSize = TextHeader_Size->text().toInt();
    built->binaryHeaderSize = BinaryHeader_Size->text().toInt();
    built->traceHeaderSize = TraceHeader_Size->text().toInt();
    auto wordType = [](const QComboBox* box) {
        return box->currentText() == QLatin1String("2-byte int") ? int(HeaderDataType::Int16)
                                                                 : int(HeaderDataType::Int32);
    };
    built->sampleInterval.startByte = SampleInterval_StartByte->text().toInt();
    if (SampleInterval_Type->currentIndex() >= 0)
        built->sampleInterval.type = SampleInterval_Type->currentIndex();
    built->sampleInterval.override = SampleInterval_Override->isChecked();
    built->sampleInterval.overrideValue = SampleInterval->text().toDouble();
    built->samplesPerTrace.startByte = SamplesPerTrace_StartByte->text().toInt();
    built->samplesPerTrace.type = SamplesPerTrace_Type->currentIndex() == unsignedEntry
                                      ? int(HeaderDataType::UInt16)
                                      : wordType(SamplesPerTrace_Type);
    built->samplesPerTrace.override = SamplesPerTrace_Override->isChecked();
    built->samplesPerTrace.overrideValue = SamplesPerTrace->text().toInt();
    built->sampleFormat.startByte = SampleFormat_StartByte->text().toInt();
    built->sampleFormat.type = wordType(SampleFormat_Type);
    built->sampleFormat.override = SampleFormat_Override->isChecked();
    // Every defined choice is stored; "Undefined" keeps the value.
    const int entry = SampleFormat->currentIndex();
    if (entry >= 0 && entry < SegyLayout::sampleFormatCount)
        built->sampleFormat.overrideValue = SegyLayout::sampleFormats[entry].code;
    for (int row = 0; row < int(rows.size()); ++row) {
        const int slot = rows[size_t(row)].slot;
        const int type = typeBox(row)->currentIndex();
        if (slot >= 0)
            built->setKeySlot(slot, startByteEdit(row)->text().toInt(),
                              type >= 0 ? type : built->keySlot(slot).type);
    }
    return built;
}

QString SegyFormatViewer::formatFilePath(const QString& answer)
{
    // The open dialog lists "*.xml" only: a name saved without it would never be seen again.
    if (answer.isEmpty() || answer.endsWith(QLatin1String(".xml"), Qt::CaseInsensitive))
        return answer;
    const QString path = answer + QStringLiteral(".xml");
    // The save dialog asked about the name without the extension, not about this file.
    if (QFileInfo::exists(path) &&
        QMessageBox::question(this, QStringLiteral("SEGY Format"),
                              QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path),
                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
        return QString();
    return path;
}

void SegyFormatViewer::on_Save_clicked()
{
    const QString path = formatFilePath(FileDialogs::saveFileName(
        this, QStringLiteral("Assign SEGY format file"), QDir::currentPath() + QStringLiteral("/SegyFormats"),
        QStringLiteral("SEGY format files (*.xml)"), FormatName->text()));
    if (path.isEmpty())
        return;
    const std::unique_ptr<SegyFormat> toSave = formatFromControls();
    toSave->path = path;
    SegyFormatFile file(path, 1);
    if (!file.write(*toSave, FormatDescription->text())) {
        QMessageBox::warning(this, QStringLiteral("SEGY Format"),
                             QStringLiteral("The format file %1 could not be written.").arg(path));
        return;
    }
    saved_ = true;
    savedPath_ = path;
    FormatName->setText(QFileInfo(path).completeBaseName());
    emit formatInfo(path);
}

void SegyFormatViewer::on_Open_clicked()
{
    const QString path = FileDialogs::openFileName(this, QStringLiteral("Open SEGY format file"),
                                                   QDir::currentPath() + QStringLiteral("/SegyFormats"),
                                                   QStringLiteral("SEGY format files (*.xml)"));
    if (path.isEmpty())
        return;
    auto file = std::make_unique<SegyFormatFile>(path, 0);
    if (!file->read()) {
        QMessageBox::warning(this, QStringLiteral("SEGY Format"),
                             QStringLiteral("%1 could not be read: %2").arg(path, file->errorString()));
        return;
    }
    file->format().path = path;
    openedFile = std::move(file);
    format = &openedFile->format();
    fillControls(openedFile->description(), true);
}

void SegyFormatViewer::on_OK_clicked()
{
    accept();
}

void SegyFormatViewer::on_Cancel_clicked()
{
    reject();
}

void SegyFormatViewer::on_SampleInterval_Override_toggled(bool checked)
{
    SampleInterval->setEnabled(checked);
}

void SegyFormatViewer::on_SamplesPerTrace_Override_toggled(bool checked)
{
    SamplesPerTrace->setEnabled(checked);
}

void SegyFormatViewer::on_SampleFormat_Override_toggled(bool checked)
{
    SampleFormat->setEnabled(checked);
}
