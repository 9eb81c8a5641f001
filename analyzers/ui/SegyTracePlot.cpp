#include "analyzers/ui/SegyTracePlot.h"

#include "analyzers/BackgroundWork.h"
#include "analyzers/TimingInterval.h"
#include "analyzers/TraceGathers.h"
#include "analyzers/TracePlot.h"
#include "analyzers/ui/AnalysedSegyFile.h"
#include "analyzers/ui/AreaSpectrum.h"
#include "analyzers/ui/GatherChoice.h"
#include "analyzers/ui/ImageExport.h"
#include "analyzers/ui/TraceDisplay.h"
#include "analyzers/ui/TraceHeaderPanel.h"
#include "analyzers/ui/TracePlotControls.h"
#include "analyzers/ui/TraceQcPanel.h"
#include "seismic/SegyData.h"
#include "seismic/SegyTraceDump.h"
#include "ui_SegyAnalyzer.h"

#include <QLabel>
#include <QSettings>
#include <QSignalBlocker>
#include <QSplitter>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>

namespace {

const QString panelWidthKey = QStringLiteral("analyzers/traceHeaderPanelWidth");

QString traceCount(int count)
{
    return count == 1 ? QStringLiteral("1 trace") : QStringLiteral("%1 traces").arg(count);
}

// A spin box's value or a list's entry, as a number.
void whenChanged(QWidget* control, QObject* receiver, const std::function<void(double)>& act)
{
    if (auto* box = qobject_cast<QSpinBox*>(control))
        QObject::connect(box, qOverload<int>(&QSpinBox::valueChanged), receiver, act);
    else if (auto* doubleBox = qobject_cast<QDoubleSpinBox*>(control))
        QObject::connect(doubleBox, qOverload<double>(&QDoubleSpinBox::valueChanged), receiver, act);
    else if (auto* list = qobject_cast<QComboBox*>(control))
        QObject::connect(list, qOverload<int>(&QComboBox::currentIndexChanged), receiver, act);
}

void setControlValue(QWidget* control, double value)
{
    if (auto* box = qobject_cast<QSpinBox*>(control))
        box->setValue(int(value));
    else if (auto* doubleBox = qobject_cast<QDoubleSpinBox*>(control))
        doubleBox->setValue(value);
    else if (auto* list = qobject_cast<QComboBox*>(control))
        list->setCurrentIndex(int(value));
}

} // namespace

struct SegyTracePlot::Found {
    TracePlot plot;
    std::shared_ptr<const TraceGathers> gathers;
    GatherSelection selection;
    int matched = -1;
};

SegyTracePlot::SegyTracePlot(Ui::SegyAnalyzerClass& form, QWidget* window, AnalysedSegyFile& file)
    : QObject(window), file(file), window(window), area(form.SeismicWidget),
      firstTrace(form.FirstDisplayTrace), lastTrace(form.LastDisplayTrace),
      horizontalScale(form.HorizontalScale), verticalScale(form.VerticalScale),
      worker(new BackgroundWork(this))
{
    connect(worker, &BackgroundWork::finished, this, &SegyTracePlot::showPlot);
    // The display choices over the trace plot, which fills the seismic view's area as the
    // window is resized, with the clicked trace's header words beside it.
    auto* layout = new QVBoxLayout(area);
    layout->setContentsMargins(0, 0, 0, 0);
    controls_ = new TracePlotControls(area);
    layout->addWidget(controls_);
    gatherChoice = new GatherChoice(area, area);
    layout->addWidget(gatherChoice);
    connect(gatherChoice, &GatherChoice::chosen, this, &SegyTracePlot::redraw);
    connect(gatherChoice, &GatherChoice::stepped, this, &SegyTracePlot::step);
    splitter = new QSplitter(Qt::Horizontal, area);
    layout->addWidget(splitter, 1);
    readout = new QLabel(area);
    readout->setObjectName(QStringLiteral("CursorReadout"));
    layout->addWidget(readout);
    // The clicked trace's header words, with a button that closes them.
    panelBox = new QWidget(splitter);
    auto* panelLayout = new QVBoxLayout(panelBox);
    panelLayout->setContentsMargins(0, 0, 0, 0);
    auto* closePanel = new QToolButton(panelBox);
    closePanel->setObjectName(QStringLiteral("CloseTraceHeaderPanel"));
    closePanel->setText(QStringLiteral("Close"));
    closePanel->setToolTip(QStringLiteral("Close the header words; a click on a trace opens them again"));
    panelLayout->addWidget(closePanel, 0, Qt::AlignRight);
    headerPanel_ = new TraceHeaderPanel(panelBox);
    panelLayout->addWidget(headerPanel_, 1);
    // Shown once a trace is clicked: until then the plot has the whole width.
    panelBox->hide();
    splitter->addWidget(panelBox);
    splitter->setStretchFactor(1, 0);
    connect(closePanel, &QToolButton::clicked, panelBox, &QWidget::hide);
    // The width the user gave the panel is the one it opens with next time, in any window.
    connect(splitter, &QSplitter::splitterMoved, this, [this] {
        if (panelBox->isVisible())
            QSettings().setValue(panelWidthKey, panelBox->width());
    });
    qcPanel = new TraceQcPanel(splitter, controls_);
    splitter->addWidget(qcPanel);
    splitter->setStretchFactor(2, 0);
    connect(qcPanel, &TraceQcPanel::checkRequested, this, &SegyTracePlot::checkTraces);
    connect(controls_, &TracePlotControls::settingsChanged, this, [this] {
        controls_->applyTo(settings_);
        redraw();
    });
    bindControls(form);
}

void SegyTracePlot::bindControls(Ui::SegyAnalyzerClass& form)
{
    connect(firstTrace, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        if (value > lastTrace->value())
            lastTrace->setValue(value);
        settings_.firstTrace = value;
        redraw();
    });
    connect(lastTrace, qOverload<int>(&QSpinBox::valueChanged), this, [this](int value) {
        settings_.lastTrace = value;
        redraw();
    });
    using S = TraceDisplaySettings;
    bindings = {{form.PrimaryHeaderLabel, [](const S& s) { return double(s.primaryHeader); },
                 [](S& s, double v) { s.primaryHeader = int(v); }},
                {form.SecondaryHeaderLabel, [](const S& s) { return double(s.secondaryHeader); },
                 [](S& s, double v) { s.secondaryHeader = int(v); }},
                {form.PrimaryHorizontalAnnotation, [](const S& s) { return double(s.primaryIncrement); },
                 [](S& s, double v) { s.primaryIncrement = int(v); }},
                {form.SecondaryHorizontalAnnotation, [](const S& s) { return double(s.secondaryIncrement); },
                 [](S& s, double v) { s.secondaryIncrement = int(v); }},
                {form.HorizontalScale, [](const S& s) { return s.horizontalScale; },
                 [](S& s, double v) { s.horizontalScale = v; }},
                {form.VerticalScale, [](const S& s) { return s.verticalScale; },
                 [](S& s, double v) { s.verticalScale = v; }},
                {form.VerticalAnnotation, [](const S& s) { return double(s.timingLineInterval); },
                 [](S& s, double v) { s.timingLineInterval = s.timingLabelInterval = int(v); }},
                {form.Gain, [](const S& s) { return s.gainDb; }, [](S& s, double v) { s.gainDb = v; }}};
    for (const Binding& binding : bindings) {
        whenChanged(binding.control, this, [this, write = binding.write](double value) {
            write(settings_, value);
            redraw();
        });
    }
}

void SegyTracePlot::startFile()
{
    newFile = true;
    gathers.reset();
    settings_ = TraceDisplaySettings();
    settings_.firstTrace = firstTrace->value();
    settings_.lastTrace = std::min(lastTrace->value(), file.data->traceCount());
    settings_.dotsPerInchX = area->physicalDpiX();
    settings_.dotsPerInchY = area->physicalDpiY();
    // The display choices stay from file to file; the timing lines suit the new record.
    controls_->applyTo(settings_);
    settings_.timingLineInterval = TimingInterval::suited(
        file.recordTime(), (file.data->samples() - 1) * double(file.data->sampleInterval()) / 1000.0 *
                               settings_.verticalScale * settings_.dotsPerInchY);
    settings_.timingLabelInterval = settings_.timingLineInterval;
    qcPanel->clear();
}

void SegyTracePlot::showRange()
{
    firstTrace->setMaximum(std::max(file.data->traceCount(), 1));
    firstTrace->setValue(file.scanFirst);
    lastTrace->setValue(file.scanLast);
}

void SegyTracePlot::showSettings()
{
    for (const Binding& binding : bindings)
        setControlValue(binding.control, binding.read(settings_));
}

void SegyTracePlot::redraw()
{
    if (file.updating)
        return;
    if (!file.data) {
        removeView();
        return;
    }
    auto found = std::make_shared<Found>();
    QVector<int> traces;
    if (gatherChoice->byKey()) {
        QString problem;
        if (!gatherChoice->selection(&found->selection, &problem)) {
            gatherChoice->showStatus(problem);
            return;
        }
        // The values of a header word are read once per file; a gather of them is found at once.
        if (gathers && gathers->key == found->selection.key) {
            found->gathers = gathers;
            traces = gathers->traces(found->selection);
            found->matched = traces.size();
            if (traces.isEmpty()) {
                pending.reset();
                worker->cancel();
                gatherChoice->showStatus(QStringLiteral("No trace has %1").arg(found->selection.text()));
                return;
            }
        }
    } else {
        traces = rangeTraces();
    }
    pending = found;
    const int steps = found->selection.key >= 0 && !found->gathers ? file.data->traceCount() : traces.size();
    worker->start(
        file.job(steps, [found, traces, settings = settings_](SegyData& data, const JobSteps& jobSteps) {
            QVector<int> shown = traces;
            if (found->selection.key >= 0 && !found->gathers) {
                found->gathers = std::make_shared<const TraceGathers>(
                    TraceGathers::read(data, found->selection.key, &jobSteps));
                shown = found->gathers->traces(found->selection);
                found->matched = shown.size();
            }
            if (!shown.isEmpty())
                found->plot = TracePlot::readTraces(data, shown, settings, &jobSteps);
        }));
}

QVector<int> SegyTracePlot::rangeTraces() const
{
    QVector<int> traces;
    for (int n = settings_.firstTrace; n <= std::min(settings_.lastTrace, file.data->traceCount()); ++n)
        traces.append(n);
    return traces;
}

void SegyTracePlot::showPlot()
{
    worker->finishedJob()->console().passOn(*file.console);
    if (!pending)
        return;
    const std::shared_ptr<Found> found = std::move(pending);
    if (found->gathers)
        gathers = found->gathers;
    const QString chosen = found->selection.text();
    gatherChoice->showStatus(found->matched < 0 ? QString()
                             : found->matched == 0
                                 ? QStringLiteral("No trace has %1").arg(chosen)
                                 : chosen + QStringLiteral(": ") + traceCount(found->matched));
    // No trace of the gather: the plot before stays.
    if (found->matched == 0)
        return;
    TracePlot plot = std::move(found->plot);
    if (view_) {
        view_->setPlot(std::move(plot));
        startFitted();
        return;
    }
    view_ = new TraceDisplay(splitter, std::move(plot));
    splitter->insertWidget(0, view_);
    splitter->setStretchFactor(0, 1);
    controls_->attach(view_);
    connect(view_, &TracePlotView::scalesToFit, this, &SegyTracePlot::fitScales);
    connect(view_, &TracePlotView::cursorReadout, readout, &QLabel::setText);
    AreaSpectrum::follow(view_, window, [this] { return static_cast<SeismicData*>(file.data.get()); });
    startFitted();
    connect(view_, &TracePlotView::traceClicked, this, &SegyTracePlot::showTraceHeader);
}

void SegyTracePlot::step(int direction)
{
    if (!file.data || !gatherChoice->byKey()) {
        stepRange(direction);
        return;
    }
    GatherSelection chosen;
    GatherSelection next;
    QString problem;
    if (!gatherChoice->selection(&chosen, &problem) || !gathers || gathers->key != chosen.key)
        return;
    if (!gathers->step(chosen, direction, &next)) {
        gatherChoice->showStatus(
            (direction > 0 ? QStringLiteral("No gather after %1") : QStringLiteral("No gather before %1"))
                .arg(chosen.text()));
        return;
    }
    gatherChoice->showSelection(next);
    redraw();
}

void SegyTracePlot::stepRange(int direction)
{
    if (!file.data)
        return;
    const int count =
        std::max(1, std::min(settings_.lastTrace, file.data->traceCount()) - settings_.firstTrace + 1);
    const int first = std::clamp(settings_.firstTrace + direction * count, 1,
                                 std::max(1, file.data->traceCount() - count + 1));
    if (first == settings_.firstTrace)
        return;
    {
        const QSignalBlocker blockFirst(firstTrace);
        const QSignalBlocker blockLast(lastTrace);
        firstTrace->setValue(first);
        lastTrace->setValue(first + count - 1);
    }
    settings_.firstTrace = first;
    settings_.lastTrace = first + count - 1;
    redraw();
}

void SegyTracePlot::forgetGathers()
{
    gathers.reset();
}

void SegyTracePlot::startFitted()
{
    if (!newFile)
        return;
    newFile = false;
    view_->fitWhenShown();
}

void SegyTracePlot::fitScales(double horizontal, double vertical)
{
    TracePlotControls::takeScales(horizontalScale, verticalScale, horizontal, vertical, settings_);
    redraw();
}

void SegyTracePlot::removeView()
{
    worker->cancel();
    pending.reset();
    delete view_;
    view_ = nullptr;
}

void SegyTracePlot::clearHeaderPanel()
{
    headerPanel_->clear();
}

void SegyTracePlot::showTraceHeader(int index)
{
    if (!file.data || !view_)
        return;
    const int number = view_->plot().traceNumber(index);
    if (panelBox->isHidden()) {
        // The panel opens beside the plot as wide as the user last made it, else with room for
        // the names and values of about 60 characters and at most a third of the width: the plot
        // keeps most.
        panelBox->show();
        const int total = splitter->width();
        const QVariant saved = QSettings().value(panelWidthKey);
        const int standard = headerPanel_->fontMetrics().horizontalAdvance(QString(60, QLatin1Char('0')));
        const int panelWidth =
            saved.isValid() ? std::min(saved.toInt(), total * 3 / 4) : std::min(standard, total / 3);
        splitter->setSizes({total - panelWidth, panelWidth});
    }
    SegyTraceDump::Dump dump;
    if (SegyTraceDump::read(*file.data, number, dump))
        headerPanel_->showDump(dump);
    else
        headerPanel_->showMessage(QStringLiteral("Trace %1 could not be read").arg(number));
    static_cast<void>(file.data->seekSequentialTrace(1));
}

void SegyTracePlot::checkTraces()
{
    if (!file.data || !view_)
        return;
    const TracePlot& plot = view_->plot();
    QVector<int> numbers;
    for (int i = 0; i < plot.annotations.size(); ++i)
        numbers.push_back(plot.traceNumber(i));
    qcPanel->showQc(TraceQc::scan(*file.data, numbers), view_);
    static_cast<void>(file.data->seekSequentialTrace(1));
}

void SegyTracePlot::exportPicture()
{
    if (view_)
        static_cast<void>(
            ImageExport::saveWithDialog(window, view_->picture(), QStringLiteral("trace plot.png")));
}
