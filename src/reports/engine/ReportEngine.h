#pragma once
// The report object: a loaded template, the report datasets it can name, the
// program's get-value callback and the report's own variables; prepare() lays
// it out into pages of drawing primitives in millimetres, which the preview,
// the printer and every export draw or read.
#include "reports/engine/ReportData.h"
#include "reports/engine/ReportModel.h"
#include "reports/engine/ReportXml.h"

#include <QImage>
#include <QRectF>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <map>
#include <stdexcept>
#include <vector>

// A template that cannot be bound as the program needs (a band it binds is missing).
class EfrBindError : public std::runtime_error {
public:
    explicit EfrBindError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }
private:
    QString m_message;
};

// A report that cannot be prepared (an unknown variable, dataset or field in an expression).
class EfrPrepareError : public std::runtime_error {
public:
    explicit EfrPrepareError(const QString& message) : std::runtime_error(message.toStdString()), m_message(message) {}
    QString message() const { return m_message; }
private:
    QString m_message;
};

// One drawing primitive of a laid-out page; positions in mm from the paper's top left corner.
struct TfrPrim {
    enum class Kind { Text, Line, Rect, Image, Barcode };
    Kind kind = Kind::Text;
    QRectF box;                  // text, rectangle, image, bar code; a line: from topLeft to bottomRight
    QStringList lines;           // text: the wrapped lines
    double lineHeight = 0;       // text: mm per line
    double textTop = 0;          // text: top of the first line (mm, absolute)
    TfrFont font;
    TfrHAlign align = TfrHAlign::Left;
    TfrFrame frame;              // text: sides drawn
    double lineWidth = 0.2;      // line, rectangle
    QColor fill;                 // rectangle: fill colour (invalid: none)
    QImage image;                // image
    std::vector<QRectF> bars;    // bar code: dark modules, absolute mm
    QString data;                // bar code: the encoded text
    QString objectName;
    int bandSerial = 0;          // the band instance it belongs to (counts across the report)
    TfrBandType bandType = TfrBandType::MasterData;
};

struct TfrPreparedPage {
    double width = 210, height = 297;
    std::vector<TfrPrim> prims;
};

struct TfrPreparedReport {
    std::vector<TfrPreparedPage> pages;
};

class TfrReport {
public:
    // The program's answer for a variable: set `value` to a text, or leave it invalid.
    using GetValue = std::function<void(const QString& name, QVariant& value)>;

    TfrReport() = default;

    // Loads `path` (".frf" appended when it has no suffix, a backslash read as "/"); remembers the path.
    // EfrFileError when the file cannot be opened, EfrTemplateError when it is broken.
    void loadFromFile(const QString& path);
    const QString& fileName() const { return m_fileName; }
    // Writes the template back to the file it was loaded from.
    void saveToFile() const;
    void saveToFile(const QString& path);
    TfrTemplate& templ() { return m_templ; }
    const TfrTemplate& templ() const { return m_templ; }
    void setTemplate(TfrTemplate t, const QString& fileName = QString());

    void setOnGetValue(GetValue fn) { m_getValue = std::move(fn); }
    void clearOnGetValue() { m_getValue = nullptr; }

    // The report datasets bands may name (found ignoring letter case).
    void addDataSet(TfrDBDataSet* ds);
    TfrDBDataSet* findDataSet(const QString& name) const;
    // The main dataset: used by a data band that names no dataset.
    void setDataSet(TfrDBDataSet* ds) { m_mainDataSet = ds; }
    TfrDBDataSet* dataSet() const { return m_mainDataSet; }

    // Objects and bands by name, ignoring letter case, over all pages.
    TfrObject* findObject(const QString& name);
    TfrBand* findBand(const QString& name);
    // Sets the dataset of band `bandName`; EfrBindError naming the band and the file when there is none.
    void setBandDataSet(const QString& bandName, const QString& dataSetName);

    // The report's own variables, names ignoring letter case.
    void setVariable(const QString& name, const QString& value);
    QString variable(const QString& name) const;
    void clearVariables() { m_vars.clear(); }

    // Lays the report out (twice when the page count is printed); EfrPrepareError on a bad expression.
    TfrPreparedReport prepare();

    // Today for [DATE] (tests fix it).
    void setToday(const QDate& d) { m_today = d; }
    QDate today() const;

private:
    TfrTemplate m_templ;
    QString m_fileName;
    GetValue m_getValue;
    std::vector<TfrDBDataSet*> m_dataSets;
    TfrDBDataSet* m_mainDataSet = nullptr;
    std::map<QString, std::pair<QString, QString>> m_vars;  // lower-case name -> (name, value)
    QDate m_today;

    friend class TfrLayout;
};
