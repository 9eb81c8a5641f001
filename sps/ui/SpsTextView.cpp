#include "sps/ui/SpsTextView.h"

#include "sps/SpsLines.h"

#include <QFrame>
#include <QGlyphRun>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

namespace {

constexpr int markerWidth = 2;

// The visible text of a line's columns first to last (0-based, exclusive); control bytes show
// as dots so that every byte keeps its cell.
QString visibleText(std::string_view line, int first, int last)
{
    if (first >= int(line.size()))
        return QString();
    const std::string_view part =
        line.substr(size_t(first), size_t(std::min<int>(last, int(line.size())) - first));
    QString text = QString::fromLatin1(part.data(), int(part.size()));
    for (QChar& c : text) {
        if (c.unicode() < 0x20 || c.unicode() == 0x7f)
            c = QLatin1Char('.');
    }
    return text;
}

} // namespace

SpsTextView::SpsTextView(QWidget* parent) : QAbstractScrollArea(parent)
{
    QFont font(QStringLiteral("Courier"), 9, QFont::Normal);
    font.setStyleHint(QFont::TypeWriter);
    font.setFixedPitch(true);
    setFont(font);
    rawFont = QRawFont::fromFont(font);
    viewport()->setBackgroundRole(QPalette::Base);
    viewport()->setAutoFillBackground(true);
}

void SpsTextView::setLines(const SpsLines* lines)
{
    lines_ = lines;
    shownLine_ = -1;
    longestLine_ = 0;
    for (int index = 0; lines && index < lines->count(); ++index)
        longestLine_ = std::max(longestLine_, int(lines->line(index).size()));
    verticalScrollBar()->setValue(0);
    horizontalScrollBar()->setValue(0);
    updateScrollBars();
    viewport()->update();
}

void SpsTextView::showLine(int index)
{
    shownLine_ = index;
    verticalScrollBar()->setValue(std::max(0, index - 2));
    viewport()->update();
}

int SpsTextView::characterWidth() const
{
    return QFontMetrics(font()).averageCharWidth();
}

void SpsTextView::followHorizontalScroll(QScrollBar* leader)
{
    leader_ = leader;
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(leader, &QScrollBar::valueChanged, viewport(), qOverload<>(&QWidget::update));
}

int SpsTextView::horizontalOffset() const
{
    return leader_ ? leader_->value() : horizontalScrollBar()->value();
}

int SpsTextView::lineHeight() const
{
    return std::max(1, QFontMetrics(font()).height());
}

int SpsTextView::startMarkerX(int column, int characterWidth)
{
    return column * characterWidth - characterWidth / 2 + 1;
}

int SpsTextView::stopMarkerX(int column, int characterWidth)
{
    return column * characterWidth + 1 + characterWidth / 2;
}

void SpsTextView::placeMarkers(int startX, int stopX)
{
    if (!startMarker_) {
        for (QFrame** marker : {&startMarker_, &stopMarker_}) {
            *marker = new QFrame(viewport());
            (*marker)->setFrameShape(QFrame::VLine);
            (*marker)->setFrameShadow(QFrame::Plain);
            (*marker)->setLineWidth(markerWidth);
            (*marker)->setStyleSheet(QStringLiteral("color: red"));
        }
        startMarker_->setObjectName(QStringLiteral("StartColumn"));
        stopMarker_->setObjectName(QStringLiteral("StopColumn"));
    }
    startX_ = startX;
    stopX_ = stopX;
    positionMarkers();
    startMarker_->show();
    stopMarker_->show();
}

void SpsTextView::positionMarkers()
{
    if (!startMarker_)
        return;
    const int offset = horizontalOffset();
    const int height = viewport()->height();
    startMarker_->setGeometry(startX_ - offset, 0, markerWidth, height);
    stopMarker_->setGeometry(stopX_ - offset, 0, markerWidth, height);
}

void SpsTextView::updateScrollBars()
{
    const int rows = std::max(1, viewport()->height() / lineHeight());
    const int count = lines_ ? lines_->count() : 0;
    verticalScrollBar()->setRange(0, std::max(0, count - rows));
    verticalScrollBar()->setPageStep(rows);
    const int w = characterWidth();
    const int width = longestLine_ * w + w;
    horizontalScrollBar()->setRange(0, std::max(0, width - viewport()->width()));
    horizontalScrollBar()->setPageStep(viewport()->width());
    horizontalScrollBar()->setSingleStep(w);
}

void SpsTextView::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    updateScrollBars();
    positionMarkers();
}

void SpsTextView::scrollContentsBy(int, int)
{
    positionMarkers();
    viewport()->update();
}

void SpsTextView::paintEvent(QPaintEvent*)
{
    if (!lines_)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::Text));
    const int w = std::max(1, characterWidth());
    const int height = lineHeight();
    const int ascent = QFontMetrics(font()).ascent();
    const int offset = horizontalOffset();
    const int firstColumn = std::max(0, (offset - w / 2) / w);
    const int lastColumn = firstColumn + viewport()->width() / w + 2;
    const int x = w / 2 + firstColumn * w - offset;
    const int first = leader_ ? 0 : verticalScrollBar()->value();
    const int last = std::min(lines_->count(), first + viewport()->height() / height + 2);
    if (shownLine_ >= first && shownLine_ < last)
        painter.fillRect(0, (shownLine_ - first) * height, viewport()->width(), height,
                         QColor(255, 230, 150));
    QGlyphRun run;
    run.setRawFont(rawFont);
    QVector<QPointF> positions;
    for (int index = first; index < last; ++index) {
        const QString text = visibleText(lines_->line(index), firstColumn, lastColumn);
        if (text.isEmpty())
            continue;
        // Each character in its own cell, whatever the font's own advance, so that columns and
        // markers stay aligned along the whole line.
        const QVector<quint32> glyphs = rawFont.glyphIndexesForString(text);
        positions.resize(glyphs.size());
        for (int i = 0; i < glyphs.size(); ++i)
            positions[i] = QPointF(x + i * w, (index - first) * height + ascent);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(), run);
    }
}
