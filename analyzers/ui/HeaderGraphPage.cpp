#include "analyzers/ui/HeaderGraphPage.h"

#include "analyzers/ui/AnalysedSegyFile.h"
#include "analyzers/ui/ImageExport.h"
#include "seismic/SegyData.h"
#include "seismic/TraceKey.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <algorithm>

HeaderGraphPage::HeaderGraphPage(QWidget* parent, AnalysedSegyFile& file)
    : QWidget(parent), file(file), word(new QComboBox(this)), first(new QSpinBox(this)),
      last(new QSpinBox(this)), exportButton(new QPushButton(QStringLiteral("Export image"), this)),
      pictureLabel(new QLabel(this))
{
    setObjectName(QStringLiteral("HeaderGraphPage"));
    word->setObjectName(QStringLiteral("HeaderGraphWord"));
    word->addItems(HeaderGraph::keyNames());
    word->setCurrentText(QLatin1String(TraceKey::info(TraceKey::Offset).name));
    word->setToolTip(QStringLiteral("The trace header word drawn against trace number"));
    first->setObjectName(QStringLiteral("HeaderGraphFirst"));
    last->setObjectName(QStringLiteral("HeaderGraphLast"));
    for (QSpinBox* box : {first, last}) {
        box->setRange(1, 1);
        box->setKeyboardTracking(false);
    }
    auto* draw = new QPushButton(QStringLiteral("Draw"), this);
    draw->setObjectName(QStringLiteral("DrawHeaderGraph"));
    exportButton->setObjectName(QStringLiteral("ExportHeaderGraph"));
    for (QPushButton* button : {draw, exportButton})
        button->setAutoDefault(false);
    exportButton->setEnabled(false);
    pictureLabel->setObjectName(QStringLiteral("HeaderGraphPicture"));
    // The picture is drawn at the label's size; it must not make the label grow.
    pictureLabel->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    pictureLabel->setAlignment(Qt::AlignCenter);

    auto* controls = new QHBoxLayout;
    controls->addWidget(new QLabel(QStringLiteral("Word"), this));
    controls->addWidget(word);
    controls->addWidget(new QLabel(QStringLiteral("Traces"), this));
    controls->addWidget(first);
    controls->addWidget(new QLabel(QStringLiteral("to"), this));
    controls->addWidget(last);
    controls->addWidget(draw);
    controls->addStretch(1);
    controls->addWidget(exportButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(controls);
    layout->addWidget(pictureLabel, 1);

    connect(word, &QComboBox::currentTextChanged, this, &HeaderGraphPage::read);
    connect(draw, &QPushButton::clicked, this, &HeaderGraphPage::read);
    connect(exportButton, &QPushButton::clicked, this, [this] {
        static_cast<void>(ImageExport::saveWithDialog(this, picture_, QStringLiteral("header graph.png")));
    });
}

void HeaderGraphPage::startFile()
{
    const int traces = file.data ? std::max(file.data->traceCount(), 1) : 1;
    for (QSpinBox* box : {first, last})
        box->setMaximum(traces);
    first->setValue(1);
    last->setValue(std::min(traces, firstTraces));
    graph_ = HeaderGraph();
    picture_ = QImage();
    pictureLabel->clear();
    exportButton->setEnabled(false);
    stale = file.data != nullptr;
    if (stale && isVisible())
        read();
}

void HeaderGraphPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (stale)
        read();
}

void HeaderGraphPage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    if (!graph_.values.empty())
        drawPicture();
}

void HeaderGraphPage::read()
{
    if (!file.data)
        return;
    stale = false;
    graph_ = HeaderGraph::read(*file.data, HeaderGraph::keyNamed(word->currentText()), first->value(),
                               std::max(first->value(), last->value()));
    // The other views read from the first trace on.
    static_cast<void>(file.data->seekSequentialTrace(1));
    drawPicture();
}

void HeaderGraphPage::drawPicture()
{
    picture_ = HeaderGraphPicture::draw(graph_, pictureLabel->size().expandedTo(QSize(200, 150)));
    pictureLabel->setPixmap(QPixmap::fromImage(picture_));
    exportButton->setEnabled(!graph_.values.empty());
}
