#pragma once

#include "sps/SpsSurveyMap.h"

#include <QWidget>
#include <memory>

// Shows the plan of a survey drawn by SpsSurveyMap: the wheel zooms about the pointer, dragging
// pans, a click names the point under it.
class SpsMapView : public QWidget {
    Q_OBJECT
public:
    explicit SpsMapView(QWidget* parent = nullptr);
    ~SpsMapView() override;

    // Shows the survey (kept, not copied) whole; nothing for an empty one.
    void setSurvey(const SpsSurvey* survey, const QVector<SpsFinding>* findings);
    const SpsSurveyMap::View& view() const { return view_; }

signals:
    // The point clicked ("R 100 101 at ..."), or a text saying there is none.
    void pointNamed(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::unique_ptr<SpsSurveyMap> map;
    SpsSurveyMap::View view_;
    bool fitted = false;
    QPoint pressedAt;
    QPoint lastAt;
    bool dragged = false;
};
