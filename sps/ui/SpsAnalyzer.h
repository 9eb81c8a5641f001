#pragma once

#include "sps/SpsKind.h"
#include "sps/SpsLayout.h"
#include "sps/SpsLayoutDetection.h"
#include "sps/SpsLines.h"

#include <QDialog>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

class LineEdit;
class ObrConsole;
class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class QSpinBox;
class SpinBox;
class SpsSurveyTabs;
class SpsTextView;
struct SpsDiagnostics;
struct SpsFieldRange;

// What the source, receiver and relation analyzers share: the SPS file in memory under a column
// ruler, one row of controls per field of the layout, the minimum and maximum of every field
// over the file's data lines, recomputed as columns change, and saving the layout as the
// file's own format file or as the user default of the kind. The subclasses bring the form.
class SpsAnalyzer : public QDialog {
    Q_OBJECT
public:
    // The resolved path of the SPS file; empty when none was given.
    const QString& path() const { return path_; }
    // The layout the ranges are computed with.
    const SpsLayout& scanLayout() const { return layout_; }
    // The layout the controls show, as saving stores it.
    SpsLayout controlsLayout() const;

    SpsSurveyTabs* surveyViews() const { return views; }

public slots:
    // Escape, Close and the close box: edits that are not saved are discarded only when the user
    // says so.
    void reject() override;

protected:
    // How a form names its controls: field parts Line, Loc, ... (fields 2 to 15 of the layout)
    // make fieldPrefix + part + "_StartCol" (_EndCol, _Min, _Max) and loadPrefix + part; the
    // record letter's controls are idPrefix + "ID_StartCol", "ID_EndCol", "LoadId" and "FirstLine".
    struct Naming {
        QString fieldPrefix;
        QString loadPrefix;
        QString idPrefix;
        QStringList parts;
    };

    // fileName: absolute, or relative to the project's survey directory; empty for none.
    SpsAnalyzer(SpsKind kind, QWidget* parent, const QString& surveyDirectory, const QString& fileName,
                ObrConsole* console);
    // Called by the subclass once its form is built: loads the layout and the file.
    void start(const Naming& naming);

private slots:
    void on_Save_clicked();
    void on_Default_clicked();
    void on_Help_clicked();
    void on_Close_clicked();
    void on_Sps21_clicked();
    void useDetectedLayout();
    // Asks for the survey's source and receiver files and checks them with this relation file.
    void checkSurvey();

private:
    struct FieldControls {
        QCheckBox* load = nullptr;
        SpinBox* start = nullptr;
        SpinBox* end = nullptr;
        LineEdit* minimum = nullptr;
        LineEdit* maximum = nullptr;
    };

    void findControls(const Naming& naming);
    // Puts the ruler and the file view on the first page of the views, beside the map and the check.
    void makeViews();
    void addButtons();
    void fitToScreen();
    void loadLayout();
    void readFile();
    void showLayout(const SpsLayout& layout);
    void connectControls();
    void warnNoFile(const QString& text);
    // Says text on the console and in the status line.
    void tell(const QString& text, bool warning);

    void readPointIdToggled(bool on);
    void firstLineChanged(int line);
    void columnChanged(int field, bool startChanged);
    void placeMarkers(int field);
    void rescanAll();
    void showRange(int field, const SpsFieldRange& range);
    // Fills the problem panel: the counts, then the first unreadable fields and stray lines.
    void showDiagnostics(const SpsDiagnostics& found);
    // Says which layout the file points to and whether it is in force.
    void showDetection();
    // Takes back the status lines that start so: a hint the user has followed.
    void withdraw(const QString& start);
    bool saveTo(const QString& baseName);

    SpsKind kind;
    ObrConsole* console;
    QString path_;
    SpsLines lines;
    QPushButton* detectButton = nullptr;
    // Which layout the header lines and first records point to, and why.
    QLabel* detectionLine = nullptr;
    std::optional<SpsDetection> detected;
    SpsLines rulerLines;
    SpsLayout layout_;
    // The controls' layout as loaded or last saved: changes from it are unsaved edits.
    SpsLayout savedLayout;
    std::array<FieldControls, SpsLayout::fieldCount> fields;
    QSpinBox* firstLine = nullptr;
    QLabel* firstLineLabel = nullptr;
    // The hints and warnings of the file shown, in the window as on the console it covers.
    QLabel* statusLine = nullptr;
    // Unreadable records and lines that are not records; a click shows the line.
    QListWidget* problemList = nullptr;
    SpsTextView* columnsView = nullptr;
    SpsSurveyTabs* views = nullptr;
    SpsTextView* textView = nullptr;
    QPushButton* saveButton = nullptr;
    int characterWidth = 0;
};
