#include "reports/engine/ReportXml.h"
#include "base/FileReplace.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>
#include <cmath>

EfrTemplateError::EfrTemplateError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

EfrFileError::EfrFileError(const QString& message)
    : std::runtime_error(message.toStdString()), m_message(message) {}

namespace {

const char* const kBandNames[] = {"ReportTitle",  "PageHeader",   "ColumnHeader",  "MasterHeader",
                                  "MasterData",   "MasterFooter", "ReportSummary", "PageFooter",
                                  "GroupHeader",  "GroupFooter"};

QString q(const QString& s) { return QStringLiteral("«") + s + QStringLiteral("»"); }

// Reads one template; every refusal goes through fail().
class Reader {
public:
    Reader(const QByteArray& xml, const QString& file) : m_xml(xml), m_file(file) {}

    TfrTemplate read() {
        if (m_xml.trimmed().isEmpty()) fail(QStringLiteral("файл пуст"));
        if (m_xml.size() > frlimits::kMaxFileBytes)
            fail(QStringLiteral("файл слишком велик (%1 байт)").arg(m_xml.size()));
        m_r.addData(m_xml);
        TfrTemplate t;
        if (!nextElement()) fail(QStringLiteral("в файле нет элемента <Report>"));
        if (m_r.name() != QLatin1String("Report"))
            fail(QStringLiteral("это не шаблон отчета: корневой элемент <%1> вместо <Report>").arg(m_r.name()));
        while (nextChild()) {
            if (m_r.name() == QLatin1String("Page")) {
                if (int(t.pages.size()) >= frlimits::kMaxPages)
                    fail(QStringLiteral("слишком много страниц (больше %1)").arg(frlimits::kMaxPages));
                t.pages.push_back(readPage());
            } else {
                misplaced(QStringLiteral("шаблона"));
            }
        }
        // Anything after the root (or an unfinished document) is an XML error too.
        while (!m_r.atEnd()) m_r.readNext();
        checkXml();
        if (t.pages.empty()) fail(QStringLiteral("в шаблоне нет ни одной страницы"));
        return t;
    }

private:
    [[noreturn]] void fail(const QString& what) const {
        throw EfrTemplateError(QStringLiteral("Печатная форма %1 не может быть загружена: %2.")
                                   .arg(q(QDir::toNativeSeparators(m_file)), what));
    }
    void checkXml() {
        if (m_r.hasError())
            fail(QStringLiteral("файл испорчен или не является XML (строка %1, позиция %2: %3)")
                     .arg(m_r.lineNumber())
                     .arg(m_r.columnNumber())
                     .arg(m_r.errorString()));
    }
    // The next start element anywhere (for the root).
    bool nextElement() {
        while (!m_r.atEnd()) {
            m_r.readNext();
            if (m_r.isStartElement()) return true;
        }
        checkXml();
        return false;
    }
    // The next child element of the current element; false at its end.
    bool nextChild() {
        const bool ok = m_r.readNextStartElement();
        checkXml();
        return ok;
    }
    [[noreturn]] void misplaced(const QString& where) const {
        const QString n = m_r.name().toString();
        static const QStringList objects = {QStringLiteral("Memo"), QStringLiteral("Line"), QStringLiteral("Rect"),
                                            QStringLiteral("Picture"), QStringLiteral("Barcode")};
        if (n == QLatin1String("Band") || n == QLatin1String("Page") || objects.contains(n))
            fail(QStringLiteral("элемент <%1> стоит не на своем месте (внутри %2, строка %3)")
                     .arg(n, where)
                     .arg(m_r.lineNumber()));
        fail(QStringLiteral("неизвестный элемент <%1> внутри %2 (строка %3)").arg(n, where).arg(m_r.lineNumber()));
    }

    double number(const QString& owner, const char* attr, double def, double lo, double hi) {
        const QString text = m_r.attributes().value(QLatin1String(attr)).toString();
        if (text.isEmpty()) return def;
        bool ok = false;
        const double v = text.trimmed().toDouble(&ok);
        if (!ok || !std::isfinite(v))
            fail(QStringLiteral("атрибут %1 у %2: не число %3").arg(QLatin1String(attr), owner, q(text)));
        if (v < lo || v > hi)
            fail(QStringLiteral("атрибут %1 у %2: недопустимое значение %3 (допустимо от %4 до %5)")
                     .arg(QLatin1String(attr), owner, text)
                     .arg(lo)
                     .arg(hi));
        return v;
    }
    bool flag(const char* attr, bool def) {
        const QString text = m_r.attributes().value(QLatin1String(attr)).toString();
        if (text.isEmpty()) return def;
        return text == QLatin1String("1") || text.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    QString str(const char* attr) { return m_r.attributes().value(QLatin1String(attr)).toString(); }

    TfrPage readPage() {
        TfrPage p;
        const QString owner = QStringLiteral("страницы %1").arg(m_pageNo++ + 1);
        p.width = number(owner, "width", 210, frlimits::kMinPaper, frlimits::kMaxPaper);
        p.height = number(owner, "height", 297, frlimits::kMinPaper, frlimits::kMaxPaper);
        p.marginLeft = number(owner, "left", 10, 0, p.width / 2);
        p.marginRight = number(owner, "right", 10, 0, p.width / 2);
        p.marginTop = number(owner, "top", 10, 0, p.height / 2);
        p.marginBottom = number(owner, "bottom", 10, 0, p.height / 2);
        if (p.contentWidth() < 5) fail(QStringLiteral("у %1 поля не оставляют места для печати").arg(owner));
        while (nextChild()) {
            if (m_r.name() != QLatin1String("Band")) misplaced(owner);
            if (int(p.bands.size()) >= frlimits::kMaxBands)
                fail(QStringLiteral("слишком много полос на %1 (больше %2)").arg(owner).arg(frlimits::kMaxBands));
            p.bands.push_back(readBand(p));
        }
        return p;
    }

    TfrBand readBand(const TfrPage& page) {
        TfrBand b;
        b.name = str("name");
        const QString owner = QStringLiteral("полосы %1").arg(q(b.name));
        if (b.name.isEmpty()) fail(QStringLiteral("у полосы (строка %1) нет имени").arg(m_r.lineNumber()));
        const QString type = str("type");
        if (!frBandTypeFromName(type, b.type)) fail(QStringLiteral("неизвестный вид полосы %1 у %2").arg(q(type), owner));
        b.height = number(owner, "height", 10, 0, page.height - page.marginTop - page.marginBottom);
        b.dataSet = str("dataset");
        b.repeatHeader = flag("repeat", true);
        b.condition = str("condition");
        if (b.type == TfrBandType::GroupHeader && b.condition.trimmed().isEmpty())
            fail(QStringLiteral("у группы %1 нет условия (condition)").arg(q(b.name)));
        while (nextChild()) {
            if (++m_objects > frlimits::kMaxObjects)
                fail(QStringLiteral("слишком много объектов (больше %1)").arg(frlimits::kMaxObjects));
            b.objects.push_back(readObject(owner));
        }
        return b;
    }

    TfrObject readObject(const QString& bandOwner) {
        TfrObject o;
        const QString tag = m_r.name().toString();
        if (tag == QLatin1String("Memo")) o.kind = TfrObjectKind::Memo;
        else if (tag == QLatin1String("Line")) o.kind = TfrObjectKind::Line;
        else if (tag == QLatin1String("Rect")) o.kind = TfrObjectKind::Rect;
        else if (tag == QLatin1String("Picture")) o.kind = TfrObjectKind::Picture;
        else if (tag == QLatin1String("Barcode")) o.kind = TfrObjectKind::Barcode;
        else if (tag == QLatin1String("Band") || tag == QLatin1String("Page")) misplaced(bandOwner);
        else fail(QStringLiteral("неизвестный объект <%1> на %2 (строка %3)").arg(tag, bandOwner).arg(m_r.lineNumber()));
        o.name = str("name");
        const QString owner = QStringLiteral("объекта %1").arg(q(o.name.isEmpty() ? tag : o.name));
        const double m = frlimits::kMaxCoord;
        o.x = number(owner, "x", 0, o.kind == TfrObjectKind::Line ? -m : 0, m);
        o.y = number(owner, "y", 0, o.kind == TfrObjectKind::Line ? -m : 0, m);
        const double lo = o.kind == TfrObjectKind::Line ? -m : 0;
        o.width = number(owner, "width", 0, lo, m);
        o.height = number(owner, "height", 0, lo, m);
        o.font.family = str("font").isEmpty() ? o.font.family : str("font");
        o.font.size = number(owner, "size", 10, 1, frlimits::kMaxFont);
        o.font.bold = flag("bold", false);
        o.font.italic = flag("italic", false);
        o.font.underline = flag("underline", false);
        const QString align = str("align");
        if (align == QLatin1String("center")) o.align = TfrHAlign::Center;
        else if (align == QLatin1String("right")) o.align = TfrHAlign::Right;
        else if (!align.isEmpty() && align != QLatin1String("left"))
            fail(QStringLiteral("атрибут align у %1: неизвестное значение %2").arg(owner, q(align)));
        const QString valign = str("valign");
        if (valign == QLatin1String("center")) o.valign = TfrVAlign::Center;
        else if (valign == QLatin1String("bottom")) o.valign = TfrVAlign::Bottom;
        o.wordWrap = flag("wrap", true);
        o.stretch = flag("stretch", false);
        const QString frame = str("frame");
        o.frame.left = frame.contains(QLatin1Char('l'));
        o.frame.top = frame.contains(QLatin1Char('t'));
        o.frame.right = frame.contains(QLatin1Char('r'));
        o.frame.bottom = frame.contains(QLatin1Char('b'));
        o.frame.width = number(owner, "frameWidth", 0.2, 0, 10);
        o.lineWidth = number(owner, "lineWidth", 0.2, 0, 10);
        const QString fill = str("fill");
        if (!fill.isEmpty()) {
            o.fill = QColor(fill);
            if (!o.fill.isValid()) fail(QStringLiteral("атрибут fill у %1: неизвестный цвет %2").arg(owner, q(fill)));
        }
        if (o.kind == TfrObjectKind::Barcode) {
            const QString type = str("type");
            if (!frBarcodeTypeFromName(type, o.barcode))
                fail(QStringLiteral("неизвестный вид штрихкода %1 у %2").arg(q(type), owner));
        }
        QString text;
        while (!m_r.atEnd()) {
            m_r.readNext();
            if (m_r.isCharacters()) text += m_r.text();
            else if (m_r.isEndElement()) break;
            else if (m_r.isStartElement())
                fail(QStringLiteral("внутри %1 не может быть элемента <%2>").arg(owner, m_r.name()));
        }
        checkXml();
        if (o.kind == TfrObjectKind::Picture) {
            if (!text.trimmed().isEmpty()) {
                const QByteArray png = QByteArray::fromBase64(text.trimmed().toLatin1());
                if (!o.picture.loadFromData(png)) fail(QStringLiteral("рисунок %1 испорчен").arg(owner));
            }
        } else {
            o.text = text;
        }
        return o;
    }

    QByteArray m_xml;
    QString m_file;
    QXmlStreamReader m_r;
    int m_pageNo = 0;
    int m_objects = 0;
};

QString num(double v) { return QString::number(v, 'g', 10); }

}  // namespace

QString frBandTypeName(TfrBandType type) { return QString::fromLatin1(kBandNames[int(type)]); }

bool frBandTypeFromName(const QString& name, TfrBandType& type) {
    for (int i = 0; i < int(std::size(kBandNames)); ++i)
        if (name == QLatin1String(kBandNames[i])) {
            type = TfrBandType(i);
            return true;
        }
    return false;
}

QString frBarcodeTypeName(TfrBarcodeType type) {
    switch (type) {
    case TfrBarcodeType::EAN13: return QStringLiteral("EAN13");
    case TfrBarcodeType::Code128: return QStringLiteral("CODE128");
    case TfrBarcodeType::QR: return QStringLiteral("QR");
    }
    return {};
}

bool frBarcodeTypeFromName(const QString& name, TfrBarcodeType& type) {
    for (auto t : {TfrBarcodeType::EAN13, TfrBarcodeType::Code128, TfrBarcodeType::QR})
        if (name.compare(frBarcodeTypeName(t), Qt::CaseInsensitive) == 0) {
            type = t;
            return true;
        }
    return false;
}

TfrTemplate frParseTemplate(const QByteArray& xml, const QString& fileName) { return Reader(xml, fileName).read(); }

TfrTemplate frReadTemplateFile(const QString& fileName) {
    QFile f(fileName);
    if (!QFileInfo(fileName).isFile() || !f.open(QIODevice::ReadOnly))
        throw EfrFileError(QStringLiteral("Не удается открыть файл печатной формы «%1».")
                               .arg(QDir::toNativeSeparators(fileName)));
    if (f.size() > frlimits::kMaxFileBytes)
        throw EfrTemplateError(QStringLiteral("Печатная форма «%1» не может быть загружена: файл слишком велик (%2 байт).")
                                   .arg(QDir::toNativeSeparators(fileName))
                                   .arg(f.size()));
    return frParseTemplate(f.readAll(), fileName);
}

QByteArray frTemplateToXml(const TfrTemplate& t) {
    QByteArray out;
    QXmlStreamWriter w(&out);
    w.setAutoFormatting(true);
    w.setAutoFormattingIndent(1);
    w.writeStartDocument();
    w.writeStartElement(QStringLiteral("Report"));
    w.writeAttribute(QStringLiteral("version"), QStringLiteral("1"));
    for (const TfrPage& p : t.pages) {
        w.writeStartElement(QStringLiteral("Page"));
        w.writeAttribute(QStringLiteral("width"), num(p.width));
        w.writeAttribute(QStringLiteral("height"), num(p.height));
        w.writeAttribute(QStringLiteral("left"), num(p.marginLeft));
        w.writeAttribute(QStringLiteral("top"), num(p.marginTop));
        w.writeAttribute(QStringLiteral("right"), num(p.marginRight));
        w.writeAttribute(QStringLiteral("bottom"), num(p.marginBottom));
        for (const TfrBand& b : p.bands) {
            w.writeStartElement(QStringLiteral("Band"));
            w.writeAttribute(QStringLiteral("name"), b.name);
            w.writeAttribute(QStringLiteral("type"), frBandTypeName(b.type));
            w.writeAttribute(QStringLiteral("height"), num(b.height));
            if (!b.dataSet.isEmpty()) w.writeAttribute(QStringLiteral("dataset"), b.dataSet);
            if (!b.repeatHeader) w.writeAttribute(QStringLiteral("repeat"), QStringLiteral("0"));
            if (!b.condition.isEmpty()) w.writeAttribute(QStringLiteral("condition"), b.condition);
            for (const TfrObject& o : b.objects) {
                static const char* tags[] = {"Memo", "Line", "Rect", "Picture", "Barcode"};
                w.writeStartElement(QString::fromLatin1(tags[int(o.kind)]));
                if (!o.name.isEmpty()) w.writeAttribute(QStringLiteral("name"), o.name);
                if (o.kind == TfrObjectKind::Barcode) w.writeAttribute(QStringLiteral("type"), frBarcodeTypeName(o.barcode));
                w.writeAttribute(QStringLiteral("x"), num(o.x));
                w.writeAttribute(QStringLiteral("y"), num(o.y));
                w.writeAttribute(QStringLiteral("width"), num(o.width));
                w.writeAttribute(QStringLiteral("height"), num(o.height));
                if (o.kind == TfrObjectKind::Memo) {
                    const TfrFont def;
                    if (o.font.family != def.family) w.writeAttribute(QStringLiteral("font"), o.font.family);
                    if (o.font.size != def.size) w.writeAttribute(QStringLiteral("size"), num(o.font.size));
                    if (o.font.bold) w.writeAttribute(QStringLiteral("bold"), QStringLiteral("1"));
                    if (o.font.italic) w.writeAttribute(QStringLiteral("italic"), QStringLiteral("1"));
                    if (o.font.underline) w.writeAttribute(QStringLiteral("underline"), QStringLiteral("1"));
                    if (o.align == TfrHAlign::Center) w.writeAttribute(QStringLiteral("align"), QStringLiteral("center"));
                    if (o.align == TfrHAlign::Right) w.writeAttribute(QStringLiteral("align"), QStringLiteral("right"));
                    if (o.valign == TfrVAlign::Center) w.writeAttribute(QStringLiteral("valign"), QStringLiteral("center"));
                    if (o.valign == TfrVAlign::Bottom) w.writeAttribute(QStringLiteral("valign"), QStringLiteral("bottom"));
                    if (!o.wordWrap) w.writeAttribute(QStringLiteral("wrap"), QStringLiteral("0"));
                    if (o.stretch) w.writeAttribute(QStringLiteral("stretch"), QStringLiteral("1"));
                }
                if (o.frame.any()) {
                    QString f;
                    if (o.frame.left) f += QLatin1Char('l');
                    if (o.frame.top) f += QLatin1Char('t');
                    if (o.frame.right) f += QLatin1Char('r');
                    if (o.frame.bottom) f += QLatin1Char('b');
                    w.writeAttribute(QStringLiteral("frame"), f);
                    if (o.frame.width != 0.2) w.writeAttribute(QStringLiteral("frameWidth"), num(o.frame.width));
                }
                if ((o.kind == TfrObjectKind::Line || o.kind == TfrObjectKind::Rect) && o.lineWidth != 0.2)
                    w.writeAttribute(QStringLiteral("lineWidth"), num(o.lineWidth));
                if (o.fill.isValid()) w.writeAttribute(QStringLiteral("fill"), o.fill.name());
                if (o.kind == TfrObjectKind::Picture && !o.picture.isNull()) {
                    QByteArray png;
                    QBuffer buf(&png);
                    buf.open(QIODevice::WriteOnly);
                    o.picture.save(&buf, "PNG");
                    w.writeCharacters(QString::fromLatin1(png.toBase64()));
                } else if (!o.text.isEmpty()) {
                    w.writeCharacters(o.text);
                }
                w.writeEndElement();
            }
            w.writeEndElement();
        }
        w.writeEndElement();
    }
    w.writeEndElement();
    w.writeEndDocument();
    return out;
}

void frWriteTemplateFile(const TfrTemplate& t, const QString& fileName) {
    QString reason;
    if (!WriteFileReplacing(fileName, frTemplateToXml(t), reason))
        throw EfrFileError(QStringLiteral("Не удается записать файл печатной формы «%1»: %2.")
                               .arg(QDir::toNativeSeparators(fileName), reason));
}
