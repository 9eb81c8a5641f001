#pragma once

#include "ui_SegyFormatViewer.h"

#include <QDialog>
#include <memory>

class SegyFormat;
class SegyFormatFile;

// Shows a SEG-Y format definition, lets the user move its trace header fields (writing each
// edit into the format shown) and saves it as a format file. Whether it saved, and where, stay
// readable after the dialog has closed.
class SegyFormatViewer : public QDialog, private Ui::SegyFormatViewerClass {
    Q_OBJECT
public:
    // first and second are kept for the opener; format is shown, not owned.
    SegyFormatViewer(int first, int second, SegyFormat* format, QWidget* parent);
    ~SegyFormatViewer() override;

    int first() const { return first_; }
    int second() const { return second_; }
    bool saved() const { return saved_; }
    const QString& savedPath() const { return savedPath_; }
    SegyFormat* shownFormat() const { return format; }

signals:
    void formatInfo(QString path);

private slots:
    void on_Save_clicked();
    void on_Open_clicked();
    void on_OK_clicked();
    void on_Cancel_clicked();
    void on_SampleInterval_Override_toggled(bool checked);
    void on_SamplesPerTrace_Override_toggled(bool checked);
    void on_SampleFormat_Override_toggled(bool checked);

private:
    void fillControls(const QString& description, bool fileExists);
    void rowEdited(int row);
    void checkOverlap(int row);
    std::unique_ptr<SegyFormat> formatFromControls() const;
    // The file to write for the name the save dialog gave: with ".xml" added when it is missing;
    // empty when the user does not want an existing file replaced.
    QString formatFilePath(const QString& answer);
    QLineEdit* startByteEdit(int row) const;
    QComboBox* typeBox(int row) const;

    int first_;
    int second_;
    SegyFormat* format;
    std::unique_ptr<SegyFormatFile> openedFile; // the file Open loaded, whose format is shown
    bool filling = false;
    bool saved_ = false;
    QString savedPath_;
};
