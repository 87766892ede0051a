#pragma once
// The template of a banded report: pages with their paper, bands stacked on
// a page, objects placed on a band. Geometry is in millimetres, objects
// relative to their band's top left corner (inside the page margins).
#include <QColor>
#include <QImage>
#include <QString>
#include <memory>
#include <vector>

enum class TfrBandType {
    ReportTitle,
    PageHeader,
    ColumnHeader,
    MasterHeader,
    MasterData,
    MasterFooter,
    ReportSummary,
    PageFooter,
    GroupHeader,  // before a data band: printed whenever its condition's value changes
    GroupFooter,  // after a data band: closes each group, its sums are the group's
};

// The XML name of a band type ("MasterData") and back; false for an unknown name.
QString frBandTypeName(TfrBandType type);
bool frBandTypeFromName(const QString& name, TfrBandType& type);

enum class TfrObjectKind { Memo, Line, Rect, Picture, Barcode };

enum class TfrHAlign { Left, Center, Right };
enum class TfrVAlign { Top, Center, Bottom };

struct TfrFont {
    QString family = QStringLiteral("DejaVu Sans");
    double size = 10;  // points
    bool bold = false;
    bool italic = false;
    bool underline = false;
    friend bool operator==(const TfrFont&, const TfrFont&) = default;
};

// Which sides of an object's box are drawn.
struct TfrFrame {
    bool left = false, top = false, right = false, bottom = false;
    double width = 0.2;  // mm
    bool any() const { return left || top || right || bottom; }
};

enum class TfrBarcodeType { EAN13, Code128, QR };
QString frBarcodeTypeName(TfrBarcodeType type);
bool frBarcodeTypeFromName(const QString& name, TfrBarcodeType& type);

struct TfrObject {
    TfrObjectKind kind = TfrObjectKind::Memo;
    QString name;
    double x = 0, y = 0, width = 0, height = 0;  // mm; a line goes from (x, y) to (x + width, y + height)
    QString text;          // memo: text with [expressions]; bar code: the expression of its data
    TfrFont font;
    TfrHAlign align = TfrHAlign::Left;
    TfrVAlign valign = TfrVAlign::Top;
    bool wordWrap = true;
    bool stretch = false;  // the box grows with its text and pushes what lies below it
    TfrFrame frame;
    double lineWidth = 0.2;       // line and rectangle
    QColor fill;                  // invalid: not filled
    TfrBarcodeType barcode = TfrBarcodeType::Code128;
    QImage picture;               // picture object
};

struct TfrBand {
    QString name;
    TfrBandType type = TfrBandType::MasterData;
    double height = 10;
    QString dataSet;              // data bands: the report dataset's name
    bool repeatHeader = true;     // master header: repeated on every page its data continue on
    QString condition;            // group header: the expression whose change starts a new group
    std::vector<TfrObject> objects;
};

struct TfrPage {
    double width = 210, height = 297;  // mm, as the paper lies (landscape: width > height)
    double marginLeft = 10, marginTop = 10, marginRight = 10, marginBottom = 10;
    std::vector<TfrBand> bands;
    double contentWidth() const { return width - marginLeft - marginRight; }
};

struct TfrTemplate {
    std::vector<TfrPage> pages;
    void clear() { pages.clear(); }
};
