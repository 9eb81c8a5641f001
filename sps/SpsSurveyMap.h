#pragma once

#include "sps/SpsSurvey.h"
#include "sps/SpsSurveyCheck.h"

#include <QColor>
#include <QImage>
#include <QPointF>
#include <QRectF>
#include <QSize>

// A plan of a survey drawn on an image: the lines of points in grey, receivers and sources as
// small squares of their own colours, the points the check found fault with ringed in red, a
// scale bar and a north arrow. North is up; one scale for both axes.
class SpsSurveyMap {
public:
    static const QColor sourceColour;
    static const QColor receiverColour;
    static const QColor problemColour;
    // Sides of the squares, in pixels.
    static constexpr int sourceMarker = 5;
    static constexpr int receiverMarker = 3;

    // What part of the plan the image shows: the world point at the image's centre and the
    // metres one pixel covers.
    struct View {
        QPointF centre;
        double metresPerPixel = 1;

        QPointF toPixel(double x, double y, QSize size) const;
        QPointF toWorld(QPointF pixel, QSize size) const;
    };

    SpsSurveyMap(const SpsSurvey& survey, const QVector<SpsFinding>& findings);

    // The view that shows every located point with a margin.
    View fit(QSize size) const;
    QImage draw(QSize size, const View& view) const;
    // The point nearest to a pixel within `radius` pixels: "S 100 102 at 338931.7 5540693.4 (line 14)";
    // empty when there is none.
    QString nameAt(QPointF pixel, QSize size, const View& view, double radius) const;
    bool isEmpty() const { return !bounds.isValid(); }

private:
    void drawLines(QImage& image, const View& view, const QVector<SpsSurvey::Point>& points,
                   const QColor& colour) const;
    void drawScale(QImage& image, const View& view) const;

    const SpsSurvey& survey;
    const QVector<SpsFinding>& findings;
    QRectF bounds;
};
