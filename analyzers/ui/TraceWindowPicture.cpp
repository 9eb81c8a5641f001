#include "analyzers/ui/TraceWindowPicture.h"

#include "analyzers/BackgroundWork.h"
#include "analyzers/ui/AnalysedSegyFile.h"
#include "analyzers/ui/ImageExport.h"
#include "analyzers/ui/PictureView.h"
#include "base/ObrConsole.h"
#include "seismic/SegyData.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <algorithm>

namespace {

QString general(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

TraceWindowPicture::TraceWindowPicture(const Controls& controls, AnalysedSegyFile& file, Compute compute,
                                       const QString& pictureName, Edits edits, QWidget* window)
    : QObject(window), controls(controls), file(file), compute(std::move(compute)),
      worker(new BackgroundWork(this)), pictureName(pictureName), window(window)
{
    controls.save->setEnabled(false);
    connect(worker, &BackgroundWork::finished, this, &TraceWindowPicture::show);
    connect(controls.create, &QPushButton::clicked, this, &TraceWindowPicture::draw);
    connect(controls.save, &QPushButton::clicked, this, &TraceWindowPicture::save);
    const bool redraws = edits == Edits::Redraw;
    for (auto [box, first] : {std::pair(controls.firstTrace, true), std::pair(controls.lastTrace, false)}) {
        const auto correct = [this, redraws, first = first] {
            correctTraceRange(first);
            if (redraws)
                draw();
        };
        if (redraws)
            connect(box, &QSpinBox::editingFinished, this, correct);
        else
            connect(box, qOverload<int>(&QSpinBox::valueChanged), this, correct);
    }
    for (auto [edit, start] : {std::pair(controls.startTime, true), std::pair(controls.endTime, false)}) {
        connect(edit, &QLineEdit::editingFinished, this, [this, redraws, start = start] {
            correctTimeRange(start);
            if (redraws)
                draw();
        });
    }
}

void TraceWindowPicture::draw()
{
    if (file.updating || !file.data)
        return;
    const Request request{controls.firstTrace->value(), controls.lastTrace->value(),
                          controls.startTime->text().toDouble(), controls.endTime->text().toDouble(),
                          PictureView::pictureSize(controls.area)};
    auto found = std::make_shared<Show>();
    pending = found;
    const int steps = std::max(0, std::min(request.last, file.data->traceCount()) - request.first + 1);
    worker->start(
        file.job(steps, [found, compute = compute, request](SegyData& data, const JobSteps& jobSteps) {
            *found = compute(data, request, jobSteps);
        }));
}

void TraceWindowPicture::show()
{
    worker->finishedJob()->console().passOn(*file.console);
    if (!pending || !*pending)
        return;
    delete view;
    view = (*pending)(controls.area);
    pending.reset();
    controls.save->setEnabled(view->showsResult());
}

void TraceWindowPicture::replace()
{
    const bool shown = view || worker->running();
    worker->cancel();
    pending.reset();
    delete view;
    view = nullptr;
    controls.save->setEnabled(false);
    if (shown)
        draw();
}

void TraceWindowPicture::showWindow()
{
    const int count = std::max(file.data->traceCount(), 1);
    controls.firstTrace->setMaximum(count);
    controls.lastTrace->setMaximum(count);
    controls.firstTrace->setValue(file.scanFirst);
    controls.lastTrace->setValue(file.scanLast);
    controls.startTime->setText(QStringLiteral("0"));
    controls.endTime->setText(general(file.recordTime()));
}

void TraceWindowPicture::correctTraceRange(bool firstChanged)
{
    QSpinBox* first = controls.firstTrace;
    QSpinBox* last = controls.lastTrace;
    if (firstChanged && first->value() > last->value())
        last->setValue(first->value());
    else if (!firstChanged && last->value() < first->value())
        first->setValue(last->value());
}

void TraceWindowPicture::correctTimeRange(bool startChanged)
{
    if (!file.data)
        return;
    // The field just edited is kept within the traces; the other one makes way for it.
    QLineEdit* start = controls.startTime;
    QLineEdit* end = controls.endTime;
    const double interval = file.data->sampleInterval();
    double startMs = start->text().toDouble();
    double endMs = end->text().toDouble();
    if (startChanged) {
        if (startMs < 0) {
            startMs = 0;
            start->setText(QStringLiteral("0"));
        }
        if (endMs < startMs)
            end->setText(general(startMs + interval));
    } else {
        if (endMs > file.recordTime()) {
            endMs = file.recordTime();
            end->setText(general(endMs));
        }
        if (startMs > endMs)
            start->setText(general(std::max(0.0, endMs - interval)));
    }
}

void TraceWindowPicture::save()
{
    if (view)
        static_cast<void>(ImageExport::saveWithDialog(window, view->picture(), pictureName));
}
