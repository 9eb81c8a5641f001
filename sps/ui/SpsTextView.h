#pragma once

#include <QAbstractScrollArea>
#include <QPointer>
#include <QRawFont>

class QFrame;
class QScrollBar;
class SpsLines;

// Shows the lines of an SPS file in "Courier" 9 pt, one column per character cell of the
// font's average character width w; column c starts at (c - 1) * w + w / 2. Only the visible
// part is drawn, straight from the lines held in memory, so files of any length show at once.
// Two vertical markers may bracket the columns of a field.
class SpsTextView : public QAbstractScrollArea {
    Q_OBJECT
public:
    explicit SpsTextView(QWidget* parent = nullptr);

    // The lines shown; they are not copied and must stay while shown.
    void setLines(const SpsLines* lines);
    const SpsLines* lines() const { return lines_; }
    // w: the font's average character width.
    int characterWidth() const;
    // Scrolls so that the line of that index stands near the top, marked until another is shown.
    void showLine(int index);
    int shownLine() const { return shownLine_; }
    // Scrolls sideways with another view's scroll bar instead of its own (the column ruler).
    void followHorizontalScroll(QScrollBar* leader);

    // Where the markers stand for a field's first and last column.
    static int startMarkerX(int column, int characterWidth);
    static int stopMarkerX(int column, int characterWidth);
    // Shows the markers "StartColumn" and "StopColumn" at x positions of the unscrolled text.
    void placeMarkers(int startX, int stopX);
    QFrame* startMarker() const { return startMarker_; }
    QFrame* stopMarker() const { return stopMarker_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    int horizontalOffset() const;
    int lineHeight() const;
    void updateScrollBars();
    void positionMarkers();

    QRawFont rawFont;
    const SpsLines* lines_ = nullptr;
    int longestLine_ = 0;
    QPointer<QScrollBar> leader_;
    QFrame* startMarker_ = nullptr;
    QFrame* stopMarker_ = nullptr;
    int startX_ = 0;
    int stopX_ = 0;
    int shownLine_ = -1;
};
