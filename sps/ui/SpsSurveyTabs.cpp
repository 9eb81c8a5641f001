#include "sps/ui/SpsSurveyTabs.h"

#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLines.h"
#include "sps/ui/SpsMapView.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

namespace {

// Findings of each kind the report lists.
constexpr int reportedPerKind = 20;

} // namespace

SpsSurveyTabs::SpsSurveyTabs(QWidget* fileView, QWidget* parent) : QTabWidget(parent)
{
    setObjectName(QStringLiteral("Views"));
    addTab(fileView, QStringLiteral("File"));
    auto* mapPage = new QWidget(this);
    auto* mapLayout = new QVBoxLayout(mapPage);
    mapLayout->setContentsMargins(0, 0, 0, 0);
    map = new SpsMapView(mapPage);
    map->setObjectName(QStringLiteral("Map"));
    mapLine = new QLabel(QStringLiteral("Wheel: zoom, drag: pan, click: name the point"), mapPage);
    mapLine->setObjectName(QStringLiteral("MapLine"));
    mapLayout->addWidget(map, 1);
    mapLayout->addWidget(mapLine);
    addTab(mapPage, QStringLiteral("Map"));
    report = new QPlainTextEdit(this);
    report->setObjectName(QStringLiteral("CheckReport"));
    report->setReadOnly(true);
    report->setPlainText(QStringLiteral("No survey checked yet"));
    addTab(report, QStringLiteral("Check"));
    connect(map, &SpsMapView::pointNamed, mapLine, &QLabel::setText);
    connect(this, &QTabWidget::currentChanged, this, [this](int index) {
        if (widget(index) == map->parentWidget())
            showMap();
    });
}

SpsSurveyTabs::~SpsSurveyTabs() = default;

void SpsSurveyTabs::setFile(const SpsLines* shown, const SpsLayout& shownLayout)
{
    lines = shown;
    layout = shownLayout;
    if (currentWidget() == map->parentWidget())
        showMap();
}

void SpsSurveyTabs::showMap()
{
    if (!surveyChecked) {
        // The file's own points under the columns of the moment.
        survey = SpsSurvey();
        if (lines && !layout.isRelation())
            survey.read(*lines, layout);
    }
    map->setSurvey(&survey, check_ && surveyChecked ? &check_->findings() : &noFindings);
}

bool SpsSurveyTabs::checkSurvey(const QString& sourcePath, const QString& receiverPath, QString* error)
{
    SpsSurvey checked;
    for (const auto& [kind, path] :
         {std::pair{SpsKind::Source, sourcePath}, {SpsKind::Receiver, receiverPath}}) {
        SpsLines file;
        if (!file.read(path)) {
            *error = file.errorString();
            return false;
        }
        checked.read(file, SpsDetection::detect(kind, file).layout);
    }
    if (lines)
        checked.read(*lines, layout);
    survey = std::move(checked);
    check_ = std::make_unique<SpsSurveyCheck>(survey);
    surveyChecked = true;
    report->setPlainText(QStringLiteral("S %1: %2 sources\nR %3: %4 receivers\nX: %5 relations\n\n")
                             .arg(sourcePath)
                             .arg(survey.sources.size())
                             .arg(receiverPath)
                             .arg(survey.receivers.size())
                             .arg(survey.relations.size()) +
                         check_->report(reportedPerKind).join(QLatin1Char('\n')));
    setCurrentWidget(report);
    map->setSurvey(&survey, &check_->findings());
    return true;
}
