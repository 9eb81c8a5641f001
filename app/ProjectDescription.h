#pragma once

#include <QString>

class QXmlStreamAttributes;

// The current project of the suite: its name, where its directory tree lives, which parts of the
// tree exist, a few survey attributes and the format files to use. Stored as a small XML file
// (root "ProjectDescription") in the shared project-files directory.
class ProjectDescription {
public:
    // The parts of a project's directory tree, each a fixed sub-path of the project directory.
    enum TreePart {
        Flows,
        FlowJobs,
        ServerJobs,
        FlowModels,
        FlowDisplay,
        Auxiliary,
        Displays,
        Images,
        Report,
        Seismic,
        FieldData,
        Survey,
        WellLogs,
        SurveyFile,
    };

    explicit ProjectDescription(const QString& descriptionFile);

    // Reads the description file. False when it cannot be opened or is not a project description;
    // malformed XML further in still counts as read (what came before it is kept).
    [[nodiscard]] bool read();
    // Writes the description file; false when it cannot be written (the file is then untouched).
    [[nodiscard]] bool write() const;
    // Places the description file in the project-files directory under the project's name and makes
    // the project directory and the parts whose flags are set. Failures are silent: the queries
    // below return their paths anyway.
    void createTree();
    // Writes the survey description (root "SurveyDescription") at the survey file path when it is
    // missing. False when it was missing and could not be written.
    [[nodiscard]] bool prepareSurveyRecord() const;

    // Why the last read() failed.
    const QString& errorString() const { return error_; }

    // Where the project's tree lives: the location itself when its last component is the project's
    // name, else location/name. Empty when the name or the location is empty.
    QString projectDirectory() const;
    // The path of a part of the tree, without touching the disk. Empty without a project directory.
    QString path(TreePart part) const;
    // The path of a part, first creating its last component when the part is one that is made on
    // demand (a missing parent makes that fail silently).
    QString directory(TreePart part) const;

    QString flowsDirectory() const { return directory(Flows); }
    QString flowJobsDirectory() const { return directory(FlowJobs); }
    QString serverJobsDirectory() const { return directory(ServerJobs); }
    QString flowModelsDirectory() const { return directory(FlowModels); }
    QString flowDisplayDirectory() const { return directory(FlowDisplay); }
    QString auxiliaryDirectory() const { return directory(Auxiliary); }
    QString displaysDirectory() const { return directory(Displays); }
    QString imagesDirectory() const { return directory(Images); }
    QString reportDirectory() const { return directory(Report); }
    QString seismicDirectory() const { return directory(Seismic); }
    QString fieldDataDirectory() const { return directory(FieldData); }
    QString surveyDirectory() const { return directory(Survey); }
    QString wellLogsDirectory() const { return directory(WellLogs); }
    QString surveyFilePath() const { return directory(SurveyFile); }

    // The description file's name without its ".xml".
    QString fileBaseName() const;
    // Every part of the tree, in the order of TreePart, with a short label for listings.
    static const char* partLabel(TreePart part);
    static constexpr int treePartCount = SurveyFile + 1;

    // Attribute values and the texts the file stores them as ("Undefined" for values outside the list).
    static QString surveyDimensionText(int value);
    static QString unitsText(int value);
    static QString acquisitionTypeText(int value);
    static QString dataComponentTypeText(int value);

    const QString& descriptionFile() const { return descriptionFile_; }
    const QString& name() const { return name_; }
    const QString& location() const { return location_; }
    int surveyDimension() const { return surveyDimension_; }
    int units() const { return units_; }
    int acquisitionType() const { return acquisitionType_; }
    int dataComponentType() const { return dataComponentType_; }
    qint64 projectIdentifier() const { return projectIdentifier_; }
    bool flowDirectoryExists() const { return flowDirectoryExists_; }
    bool seismicDirectoryExists() const { return seismicDirectoryExists_; }
    bool surveyDirectoryExists() const { return surveyDirectoryExists_; }
    bool auxiliaryDirectoryExists() const { return auxiliaryDirectoryExists_; }
    bool logDirectoryExists() const { return logDirectoryExists_; }
    bool imageDirectoryExists() const { return imageDirectoryExists_; }
    bool reportDirectoryExists() const { return reportDirectoryExists_; }
    bool segyFormatUseDefault() const { return segyFormatUseDefault_; }
    const QString& segyFormatFile() const { return segyFormatFile_; }
    bool colorScaleFormatUseDefault() const { return colorScaleFormatUseDefault_; }
    const QString& colorScaleFormatFile() const { return colorScaleFormatFile_; }
    const QString& rootDirectory() const { return rootDirectory_; }
    const QString& projectFilesDirectory() const { return projectFilesDirectory_; }
    const QString& segyFormatsDirectory() const { return segyFormatsDirectory_; }
    const QString& colorScaleFormatsDirectory() const { return colorScaleFormatsDirectory_; }

    void setName(const QString& value) { name_ = value; }
    void setLocation(const QString& value) { location_ = value; }
    void setSurveyDimension(int value) { surveyDimension_ = value; }
    void setUnits(int value) { units_ = value; }
    void setAcquisitionType(int value) { acquisitionType_ = value; }
    void setDataComponentType(int value) { dataComponentType_ = value; }
    void setProjectIdentifier(qint64 value) { projectIdentifier_ = value; }
    void setFlowDirectoryExists(bool value) { flowDirectoryExists_ = value; }
    void setSeismicDirectoryExists(bool value) { seismicDirectoryExists_ = value; }
    void setSurveyDirectoryExists(bool value) { surveyDirectoryExists_ = value; }
    void setAuxiliaryDirectoryExists(bool value) { auxiliaryDirectoryExists_ = value; }
    void setLogDirectoryExists(bool value) { logDirectoryExists_ = value; }
    void setImageDirectoryExists(bool value) { imageDirectoryExists_ = value; }
    void setReportDirectoryExists(bool value) { reportDirectoryExists_ = value; }
    void setSegyFormatUseDefault(bool value) { segyFormatUseDefault_ = value; }
    void setSegyFormatFile(const QString& value) { segyFormatFile_ = value; }
    void setColorScaleFormatUseDefault(bool value) { colorScaleFormatUseDefault_ = value; }
    void setColorScaleFormatFile(const QString& value) { colorScaleFormatFile_ = value; }
    void setRootDirectory(const QString& value) { rootDirectory_ = value; }
    void setProjectFilesDirectory(const QString& value) { projectFilesDirectory_ = value; }
    void setSegyFormatsDirectory(const QString& value) { segyFormatsDirectory_ = value; }
    void setColorScaleFormatsDirectory(const QString& value) { colorScaleFormatsDirectory_ = value; }

private:
    void readProjectAttributes(const QXmlStreamAttributes& attributes);
    void readSegyFormat(const QXmlStreamAttributes& attributes);

    QString descriptionFile_;
    QString name_;
    QString location_;
    int surveyDimension_ = 3;
    int units_ = 1;
    int acquisitionType_ = 0;
    int dataComponentType_ = 0;
    qint64 projectIdentifier_;
    bool flowDirectoryExists_ = false;
    bool seismicDirectoryExists_ = false;
    bool surveyDirectoryExists_ = false;
    bool auxiliaryDirectoryExists_ = false;
    bool logDirectoryExists_ = false;
    bool imageDirectoryExists_ = false;
    bool reportDirectoryExists_ = false;
    bool segyFormatUseDefault_ = false;
    QString segyFormatFile_;
    bool colorScaleFormatUseDefault_ = false;
    QString colorScaleFormatFile_;
    QString rootDirectory_;
    QString projectFilesDirectory_;
    QString segyFormatsDirectory_;
    QString colorScaleFormatsDirectory_;
    QString error_;
};
