#pragma once

#include "sps/SpsLayout.h"
#include "sps/SpsSurvey.h"
#include "sps/SpsSurveyCheck.h"

#include <QTabWidget>
#include <memory>

class QLabel;
class QPlainTextEdit;
class SpsLines;
class SpsMapView;

// The analyzers' views below the field rows: the file ("File"), the plan of its points or of a
// checked survey ("Map"), and the report of the last survey check ("Check").
class SpsSurveyTabs : public QTabWidget {
    Q_OBJECT
public:
    // fileView: the page of the file's text, taken over.
    SpsSurveyTabs(QWidget* fileView, QWidget* parent);
    ~SpsSurveyTabs() override;

    // The file shown and its layout, for the map while no survey was checked; kept, not copied.
    void setFile(const SpsLines* lines, const SpsLayout& layout);
    // Checks the survey of the source and receiver files (read with their detected layouts) and
    // the relation file shown; shows the report and the map. False with *error set when a file
    // cannot be read.
    bool checkSurvey(const QString& sourcePath, const QString& receiverPath, QString* error);

    SpsMapView* mapView() const { return map; }
    const SpsSurveyCheck* check() const { return check_.get(); }

private:
    void showMap();

    const SpsLines* lines = nullptr;
    SpsLayout layout = SpsLayout::defaults(SpsKind::Source);
    bool surveyChecked = false;
    SpsSurvey survey;
    std::unique_ptr<SpsSurveyCheck> check_;
    QVector<SpsFinding> noFindings;
    SpsMapView* map = nullptr;
    QLabel* mapLine = nullptr;
    QPlainTextEdit* report = nullptr;
};
