#include "sps/ui/SpsAnalyzer.h"

#include "base/ObrConsole.h"
#include "base/ui/OnlineDocumentation.h"
#include "base/ui/ScreenFit.h"
#include "base/ui/WheelGuard.h"
#include "sps/SpsFormatFile.h"
#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLayoutInForce.h"
#include "sps/SpsRevision21.h"
#include "sps/SpsScanner.h"
#include "sps/SpsValue.h"
#include "sps/ui/LineEdit.h"
#include "sps/ui/SpinBox.h"
#include "sps/ui/SpsSurveyTabs.h"
#include "sps/ui/SpsTextView.h"

#include <QCheckBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

namespace {

const QString ruler = QStringLiteral("123456789|123456789|123456789|123456789|123456789|"
                                     "123456789|123456789|123456789|123456789|1234567890");
const QString analyzerTitle = QStringLiteral("SPS Analyzer");
// Entries of each sort the problem panel lists.
constexpr int listedEntries = 100;

template <typename T> T* required(const QObject& parent, const QString& name)
{
    T* found = parent.findChild<T*>(name);
    if (!found)
        qFatal("SPS analyzer form without control %s", qPrintable(name));
    return found;
}

} // namespace

SpsAnalyzer::SpsAnalyzer(SpsKind kind, QWidget* parent, const QString& surveyDirectory,
                         const QString& fileName, ObrConsole* console)
    : QDialog(parent), kind(kind), console(console), layout_(SpsLayout::defaults(kind)), savedLayout(layout_)
{
    if (!fileName.isEmpty())
        path_ = QFileInfo(fileName).isAbsolute() ? fileName : surveyDirectory + QLatin1Char('/') + fileName;
    // Modal to the main window only: help pages opened from here stay usable.
    setWindowModality(Qt::WindowModal);
}

void SpsAnalyzer::start(const Naming& naming)
{
    findControls(naming);
    statusLine = new QLabel(this);
    statusLine->setObjectName(QStringLiteral("StatusLine"));
    statusLine->setWordWrap(true);
    statusLine->setTextInteractionFlags(Qt::TextSelectableByMouse);
    statusLine->hide();
    problemList = new QListWidget(this);
    problemList->setObjectName(QStringLiteral("Problems"));
    problemList->setMaximumHeight(6 * problemList->fontMetrics().height() + 8);
    problemList->hide();
    connect(problemList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int line = item->data(Qt::UserRole).toInt();
        if (line > 0) {
            views->setCurrentIndex(0);
            textView->showLine(line - 1);
        }
    });
    detectionLine = new QLabel(this);
    detectionLine->setObjectName(QStringLiteral("DetectionLine"));
    detectionLine->setWordWrap(true);
    detectionLine->hide();
    layout()->addWidget(detectionLine);
    layout()->addWidget(problemList);
    makeViews();
    addButtons();
    layout()->addWidget(statusLine);
    WheelGuard::guardScrolledFields(this);
    fitToScreen();
    if (!path_.isEmpty())
        setWindowTitle(QStringLiteral("%1  -  %2").arg(analyzerTitle, QFileInfo(path_).fileName()));

    static_cast<void>(rulerLines.setText(ruler.toLatin1()));
    columnsView->setLines(&rulerLines);
    columnsView->followHorizontalScroll(textView->horizontalScrollBar());
    columnsView->setFixedHeight(QFontMetrics(columnsView->font()).height() + 2 * columnsView->frameWidth() +
                                2);
    characterWidth = textView->characterWidth();

    loadLayout();
    showLayout(layout_);
    // The ranges are those of the columns shown, which the boxes may have brought into range.
    layout_ = controlsLayout();
    savedLayout = layout_;
    // Without a file there is nowhere to save a file's own layout.
    saveButton->setEnabled(!path_.isEmpty());

    if (path_.isEmpty())
        warnNoFile(QStringLiteral("No file selected.\n Select a file to analyze."));
    else if (!QFileInfo::exists(path_))
        warnNoFile(QStringLiteral("Cannot read SPS file %1.\nFile does not exist").arg(path_));
    else
        readFile();
    connectControls();
}

void SpsAnalyzer::findControls(const Naming& naming)
{
    FieldControls& id = fields[SpsLayout::pointIdField];
    id.load = required<QCheckBox>(*this, naming.idPrefix + QStringLiteral("LoadId"));
    id.start = required<SpinBox>(*this, naming.idPrefix + QStringLiteral("ID_StartCol"));
    id.end = required<SpinBox>(*this, naming.idPrefix + QStringLiteral("ID_EndCol"));
    for (int index = 0; index < naming.parts.size(); ++index) {
        FieldControls& field = fields[size_t(index + 1)];
        const QString name = naming.fieldPrefix + naming.parts[index];
        field.load = required<QCheckBox>(*this, naming.loadPrefix + naming.parts[index]);
        field.start = required<SpinBox>(*this, name + QStringLiteral("_StartCol"));
        field.end = required<SpinBox>(*this, name + QStringLiteral("_EndCol"));
        field.minimum = required<LineEdit>(*this, name + QStringLiteral("_Min"));
        field.maximum = required<LineEdit>(*this, name + QStringLiteral("_Max"));
    }
    firstLine = required<QSpinBox>(*this, naming.idPrefix + QStringLiteral("FirstLine"));
    firstLineLabel = required<QLabel>(*this, QStringLiteral("FirstLineLabel"));
    columnsView = required<SpsTextView>(*this, QStringLiteral("Columns"));
    textView = required<SpsTextView>(*this, QStringLiteral("Text"));
    saveButton = required<QPushButton>(*this, QStringLiteral("Save"));
}

void SpsAnalyzer::makeViews()
{
    auto* main = qobject_cast<QBoxLayout*>(layout());
    const int at = main->indexOf(columnsView);
    main->removeWidget(columnsView);
    main->removeWidget(textView);
    auto* filePage = new QWidget;
    auto* fileLayout = new QVBoxLayout(filePage);
    fileLayout->setContentsMargins(0, 0, 0, 0);
    fileLayout->setSpacing(0);
    fileLayout->addWidget(columnsView);
    fileLayout->addWidget(textView, 1);
    views = new SpsSurveyTabs(filePage, this);
    main->insertWidget(at, views, 1);
}

void SpsAnalyzer::addButtons()
{
    auto* buttons = required<QHBoxLayout>(*this, QStringLiteral("ButtonLayout"));
    int at = buttons->indexOf(required<QPushButton>(*this, QStringLiteral("Sps21"))) + 1;
    detectButton = new QPushButton(QStringLiteral("Detected layout"), this);
    detectButton->setObjectName(QStringLiteral("DetectLayout"));
    detectButton->setEnabled(false);
    connect(detectButton, &QPushButton::clicked, this, &SpsAnalyzer::useDetectedLayout);
    buttons->insertWidget(at++, detectButton);
    if (kind != SpsKind::Relation)
        return;
    auto* check = new QPushButton(QStringLiteral("Check survey"), this);
    check->setObjectName(QStringLiteral("CheckSurvey"));
    connect(check, &QPushButton::clicked, this, &SpsAnalyzer::checkSurvey);
    buttons->insertWidget(at, check);
}

void SpsAnalyzer::checkSurvey()
{
    const QString folder = QFileInfo(path_).absolutePath();
    const QString source =
        QFileDialog::getOpenFileName(this, QStringLiteral("Source file of the survey"), folder);
    if (source.isEmpty())
        return;
    const QString receiver = QFileDialog::getOpenFileName(this, QStringLiteral("Receiver file of the survey"),
                                                          QFileInfo(source).absolutePath());
    if (receiver.isEmpty())
        return;
    QString error;
    if (!views->checkSurvey(source, receiver, &error)) {
        console->error(error, false);
        QMessageBox::warning(this, analyzerTitle, error);
    }
}

void SpsAnalyzer::fitToScreen()
{
    ScreenFit::fitToScreen(this);
    // The field rows keep their height; on a narrow screen they scroll sideways instead of
    // squeezing their labels and values.
    auto* fieldArea = required<QScrollArea>(*this, QStringLiteral("FieldArea"));
    const QMargins margins = layout()->contentsMargins();
    const bool narrow = fieldArea->widget()->sizeHint().width() + margins.left() + margins.right() > width();
    fieldArea->setFixedHeight(fieldArea->widget()->sizeHint().height() +
                              (narrow ? fieldArea->horizontalScrollBar()->sizeHint().height() : 0));
}

void SpsAnalyzer::loadLayout()
{
    const SpsLayoutInForce inForce = SpsLayoutInForce::forFile(kind, path_);
    layout_ = inForce.layout();
    for (const QString& problem : inForce.problems())
        tell(problem, true);
}

void SpsAnalyzer::tell(const QString& text, bool warning)
{
    if (warning)
        console->warning(text, false);
    else
        console->information(text, false);
    const QString shown = statusLine->text();
    statusLine->setText(shown.isEmpty() ? text : shown + QLatin1Char('\n') + text);
    if (warning)
        statusLine->setStyleSheet(QStringLiteral("color: #a05000"));
    statusLine->show();
}

void SpsAnalyzer::warnNoFile(const QString& text)
{
    const auto answer = QMessageBox::warning(nullptr, QStringLiteral("SPS Record"), text,
                                             QMessageBox::Ok | QMessageBox::Cancel | QMessageBox::Help);
    if (answer == QMessageBox::Help)
        OnlineDocumentation::showHelp(QStringLiteral("spsanalyzer.html"));
}

void SpsAnalyzer::readFile()
{
    if (!lines.read(path_)) {
        console->error(lines.errorString(), false);
        return;
    }
    textView->setLines(&lines);
    detected = SpsDetection::detect(kind, lines);
    detectButton->setEnabled(true);
    rescanAll();
    if (SpsRevision21::declaredBy(lines) && !SpsRevision21::inForce(layout_))
        tell(SpsRevision21::mismatchText(path_) + QStringLiteral("; \"SPS 2.1 layout\" sets it"), true);
}

void SpsAnalyzer::showDetection()
{
    if (!detected)
        return;
    const bool inForce = layout_.sameColumns(detected->layout);
    detectionLine->setText(
        QStringLiteral("Detected layout: %1 (%2); %3")
            .arg(detected->name(), detected->reason,
                 inForce ? QStringLiteral("in force") : QStringLiteral("\"Detected layout\" sets it")));
    detectionLine->show();
    if (SpsRevision21::inForce(layout_))
        withdraw(SpsRevision21::mismatchText(path_));
}

void SpsAnalyzer::withdraw(const QString& start)
{
    QStringList shown = statusLine->text().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    shown.erase(std::remove_if(shown.begin(), shown.end(),
                               [&start](const QString& line) { return line.startsWith(start); }),
                shown.end());
    statusLine->setText(shown.join(QLatin1Char('\n')));
    statusLine->setVisible(!shown.isEmpty());
}

void SpsAnalyzer::useDetectedLayout()
{
    showLayout(detected->layout);
    layout_ = controlsLayout();
    rescanAll();
}

SpsLayout SpsAnalyzer::controlsLayout() const
{
    SpsLayout layout = SpsLayout::defaults(kind);
    layout.setFirstLine(firstLine->value());
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const FieldControls& controls = fields[size_t(field)];
        layout.setColumns(field, {controls.start->value(), controls.end->value()});
        layout.setLoad(field, controls.load->isChecked());
    }
    return layout;
}

void SpsAnalyzer::showLayout(const SpsLayout& layout)
{
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const FieldControls& controls = fields[size_t(field)];
        const QSignalBlocker blockStart(controls.start);
        const QSignalBlocker blockEnd(controls.end);
        const QSignalBlocker blockLoad(controls.load);
        controls.start->setValue(layout.columns(field).start);
        controls.end->setValue(layout.columns(field).end);
        controls.load->setChecked(layout.load(field));
    }
    const QSignalBlocker blockFirstLine(firstLine);
    firstLine->setValue(layout.firstLine());
    const bool readId = layout.readPointId();
    fields[SpsLayout::pointIdField].start->setEnabled(readId);
    fields[SpsLayout::pointIdField].end->setEnabled(readId);
    firstLine->setEnabled(!readId);
    firstLineLabel->setEnabled(!readId);
}

void SpsAnalyzer::connectControls()
{
    connect(fields[SpsLayout::pointIdField].load, &QCheckBox::toggled, this,
            &SpsAnalyzer::readPointIdToggled);
    connect(firstLine, qOverload<int>(&QSpinBox::valueChanged), this, &SpsAnalyzer::firstLineChanged);
    for (int field = 0; field < SpsLayout::fieldCount; ++field) {
        const FieldControls& controls = fields[size_t(field)];
        connect(controls.start, qOverload<int>(&QSpinBox::valueChanged), this,
                [this, field] { columnChanged(field, true); });
        connect(controls.end, qOverload<int>(&QSpinBox::valueChanged), this,
                [this, field] { columnChanged(field, false); });
        const auto select = [this, field] { placeMarkers(field); };
        connect(controls.start->editor(), &LineEdit::selected, this, select);
        connect(controls.end->editor(), &LineEdit::selected, this, select);
        connect(controls.start, &SpinBox::selected, this, select);
        connect(controls.end, &SpinBox::selected, this, select);
        if (controls.minimum) {
            connect(controls.minimum, &LineEdit::selected, this, select);
            connect(controls.maximum, &LineEdit::selected, this, select);
        }
    }
}

void SpsAnalyzer::readPointIdToggled(bool on)
{
    layout_.setReadPointId(on);
    fields[SpsLayout::pointIdField].start->setEnabled(on);
    fields[SpsLayout::pointIdField].end->setEnabled(on);
    firstLine->setEnabled(!on);
    firstLineLabel->setEnabled(!on);
    rescanAll();
}

void SpsAnalyzer::firstLineChanged(int line)
{
    layout_.setFirstLine(line);
    rescanAll();
}

void SpsAnalyzer::columnChanged(int field, bool startChanged)
{
    const FieldControls& controls = fields[size_t(field)];
    // The other box follows, so that the first column never lies beyond the last.
    if (startChanged && controls.start->value() > controls.end->value()) {
        const QSignalBlocker block(controls.end);
        controls.end->setValue(controls.start->value());
    } else if (!startChanged && controls.end->value() < controls.start->value()) {
        const QSignalBlocker block(controls.start);
        controls.start->setValue(controls.end->value());
    }
    layout_.setColumns(field, {controls.start->value(), controls.end->value()});
    placeMarkers(field);
    // The problems of every field change with any column.
    rescanAll();
}

void SpsAnalyzer::placeMarkers(int field)
{
    const FieldControls& controls = fields[size_t(field)];
    textView->placeMarkers(SpsTextView::startMarkerX(controls.start->value(), characterWidth),
                           SpsTextView::stopMarkerX(controls.end->value(), characterWidth));
}

void SpsAnalyzer::rescanAll()
{
    const SpsDiagnostics found = SpsScanner(lines).diagnose(layout_);
    for (int field = 0; field < SpsLayout::fieldCount; ++field)
        showRange(field, found.ranges[size_t(field)]);
    showDiagnostics(found);
    showDetection();
    views->setFile(&lines, layout_);
}

void SpsAnalyzer::showDiagnostics(const SpsDiagnostics& found)
{
    problemList->clear();
    if (found.problemCount == 0 && found.strayLineCount == 0) {
        problemList->hide();
        return;
    }
    problemList->addItem(QStringLiteral("%1 records: %2").arg(found.records).arg(found.summary()));
    const auto add = [this](int line, const QString& text) {
        auto* item = new QListWidgetItem(text, problemList);
        item->setData(Qt::UserRole, line);
    };
    for (int i = 0; i < std::min(listedEntries, int(found.problems.size())); ++i)
        add(found.problems[i].line, SpsDiagnostics::problemText(kind, found.problems[i]));
    for (int i = 0; i < std::min(listedEntries, int(found.strayLines.size())); ++i)
        add(found.strayLines[i].line, SpsDiagnostics::strayText(found.strayLines[i]));
    problemList->show();
}

void SpsAnalyzer::showRange(int field, const SpsFieldRange& range)
{
    const FieldControls& controls = fields[size_t(field)];
    if (!controls.minimum)
        return;
    const SpsConversion conversion = layout_.conversion(field);
    controls.minimum->setText(range.hasValues() ? SpsValue::text(conversion, range.minimum) : QString());
    controls.maximum->setText(range.hasValues() ? SpsValue::text(conversion, range.maximum) : QString());
}

bool SpsAnalyzer::saveTo(const QString& baseName)
{
    SpsFormatFile file(baseName, kind);
    const SpsLayout layout = controlsLayout();
    if (file.write(layout, QString())) {
        savedLayout = layout;
        tell(QStringLiteral("SPS format file %1 saved").arg(file.path()), false);
        return true;
    }
    // The dialog stays open, so the layout is not lost.
    const QString text =
        QStringLiteral("Cannot write SPS format file %1: %2").arg(file.path(), file.errorString());
    console->error(text, false);
    QMessageBox::critical(this, analyzerTitle, text);
    return false;
}

void SpsAnalyzer::on_Save_clicked()
{
    if (saveTo(path_))
        accept();
}

void SpsAnalyzer::on_Default_clicked()
{
    SpsFormatFile::prepareUserDefaultFolder();
    if (saveTo(SpsFormatFile::userDefaultBase(kind)))
        accept();
}

void SpsAnalyzer::on_Help_clicked()
{
    OnlineDocumentation::showHelp(QStringLiteral("spsanalyzer.html"));
}

void SpsAnalyzer::on_Close_clicked()
{
    reject();
}

void SpsAnalyzer::on_Sps21_clicked()
{
    showLayout(SpsLayout::revision21(kind));
    layout_ = controlsLayout();
    rescanAll();
}

void SpsAnalyzer::reject()
{
    if (controlsLayout() != savedLayout) {
        const auto answer = QMessageBox::question(
            this, analyzerTitle, QStringLiteral("The layout has changes that are not saved.\nDiscard them?"),
            QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Cancel);
        if (answer != QMessageBox::Discard)
            return;
    }
    QDialog::reject();
}
