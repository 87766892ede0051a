#include "reports/engine/DesignProperties.h"

#include <QPageSize>
#include <cmath>
#include <iterator>
#include <utility>

namespace {

using Change = std::function<void(TfrDesignDocument&, const QVariant&)>;
using Kind = TfrPropertyKind;

struct Paper {
    const char* caption;
    QPageSize::PageSizeId id;
};
const Paper kPapers[] = {{"A4", QPageSize::A4}, {"A5", QPageSize::A5}, {"A3", QPageSize::A3},
                         {"A6", QPageSize::A6}, {"B5", QPageSize::B5}, {"Letter", QPageSize::Letter}};

QSizeF paperSize(QPageSize::PageSizeId id) { return QPageSize(id).size(QPageSize::Millimeter); }

// The paper in the list that has this size in either orientation; -1 for another size.
int paperIndex(double w, double h) {
    for (int i = 0; i < int(std::size(kPapers)); ++i) {
        const QSizeF s = paperSize(kPapers[i].id);
        auto near = [](double a, double b) { return std::abs(a - b) < 0.6; };
        if ((near(s.width(), w) && near(s.height(), h)) || (near(s.width(), h) && near(s.height(), w))) return i;
    }
    return -1;
}

const char* const kKinds[] = {"Текст", "Линия", "Прямоугольник", "Рисунок", "Штрихкод"};
const TfrBarcodeType kBarcodeTypes[] = {TfrBarcodeType::EAN13, TfrBarcodeType::Code128, TfrBarcodeType::QR};

// Appends rows to one section.
class Rows {
public:
    explicit Rows(TfrPropertySection& s) : m_s(s) {}
    void number(const QString& caption, double value, double min, double max, Change change) {
        TfrPropertyRow& r = add(Kind::Number, caption, value, std::move(change));
        r.min = min;
        r.max = max;
    }
    void text(const QString& caption, const QString& value, Change change) {
        add(Kind::Text, caption, value, std::move(change));
    }
    void multiline(const QString& caption, const QString& value, Change change) {
        add(Kind::Multiline, caption, value, std::move(change));
    }
    void check(const QString& caption, bool value, Change change) { add(Kind::Check, caption, value, std::move(change)); }
    void choice(const QString& caption, const QStringList& items, int index, Change change) {
        add(Kind::Choice, caption, index, std::move(change)).items = items;
    }
    void editable(const QString& caption, const QStringList& items, const QString& value, Change change) {
        add(Kind::EditableChoice, caption, value, std::move(change)).items = items;
    }
    void font(const QString& caption, const QString& family, Change change) {
        add(Kind::FontFamily, caption, family, std::move(change));
    }

private:
    TfrPropertyRow& add(Kind kind, const QString& caption, QVariant value, Change change) {
        TfrPropertyRow r;
        r.caption = caption;
        r.kind = kind;
        r.value = std::move(value);
        r.change = std::move(change);
        m_s.rows.push_back(std::move(r));
        return m_s.rows.back();
    }
    TfrPropertySection& m_s;
};

// A change that edits a fresh copy of the object at `ref` and puts it back.
template <class Edit>
Change objectChange(TfrObjRef ref, Edit edit) {
    return [ref, edit](TfrDesignDocument& doc, const QVariant& value) {
        if (!frValidRef(doc.templ(), ref)) return;
        TfrObject o = frObjectAt(doc.templ(), ref);
        edit(o, value);
        doc.changeObject(ref, o);
    };
}

template <class Edit>
Change bandChange(int page, int band, Edit edit) {
    return [page, band, edit](TfrDesignDocument& doc, const QVariant& value) {
        const TfrTemplate& t = doc.templ();
        if (page < 0 || page >= int(t.pages.size()) || band < 0 || band >= int(t.pages[size_t(page)].bands.size())) return;
        TfrBand b = t.pages[size_t(page)].bands[size_t(band)];
        edit(b, value);
        doc.changeBand(page, band, b);
    };
}

template <class Edit>
Change pageChange(int page, Edit edit) {
    return [page, edit](TfrDesignDocument& doc, const QVariant& value) {
        if (page < 0 || page >= int(doc.templ().pages.size())) return;
        TfrPage p = doc.templ().pages[size_t(page)];
        edit(p, value);
        doc.changePage(page, p);
    };
}

// A coordinate or size typed in mm, kept to a hundredth.
auto mm(double TfrObject::*field) {
    return [field](TfrObject& o, const QVariant& v) { o.*field = frRoundMm(v.toDouble()); };
}
template <class Owner, class T>
auto plain(T Owner::*field) {
    return [field](Owner& o, const QVariant& v) { o.*field = v.value<T>(); };
}
auto fontFlag(bool TfrFont::*field) {
    return [field](TfrObject& o, const QVariant& v) { o.font.*field = v.toBool(); };
}
auto frameFlag(bool TfrFrame::*field) {
    return [field](TfrObject& o, const QVariant& v) { o.frame.*field = v.toBool(); };
}

TfrPropertySection objectSection(const TfrTemplate& t, const TfrObjRef& ref) {
    const TfrObject& o = frObjectAt(t, ref);
    TfrPropertySection s{QStringLiteral("Объект: %1").arg(QString::fromUtf8(kKinds[int(o.kind)])), {}};
    Rows rows(s);
    auto obj = [ref](auto edit) { return objectChange(ref, edit); };
    const bool line = o.kind == TfrObjectKind::Line;
    const double lo = line ? -frlimits::kMaxCoord : 0, m = frlimits::kMaxCoord;
    rows.text(QStringLiteral("Имя"), o.name, obj([](TfrObject& v, const QVariant& s) { v.name = s.toString().trimmed(); }));
    rows.number(QStringLiteral("Слева, мм"), o.x, lo, m, obj(mm(&TfrObject::x)));
    rows.number(QStringLiteral("Сверху, мм"), o.y, lo, m, obj(mm(&TfrObject::y)));
    rows.number(QStringLiteral("Ширина, мм"), o.width, lo, m, obj(mm(&TfrObject::width)));
    rows.number(QStringLiteral("Высота, мм"), o.height, lo, m, obj(mm(&TfrObject::height)));
    if (o.kind == TfrObjectKind::Memo || o.kind == TfrObjectKind::Barcode)
        rows.multiline(o.kind == TfrObjectKind::Memo ? QStringLiteral("Текст") : QStringLiteral("Данные (выражение)"),
                       o.text, obj(plain(&TfrObject::text)));
    if (o.kind == TfrObjectKind::Memo) {
        rows.font(QStringLiteral("Шрифт"), o.font.family,
                  obj([](TfrObject& v, const QVariant& s) { v.font.family = s.toString(); }));
        rows.number(QStringLiteral("Размер шрифта, пт"), o.font.size, 1, frlimits::kMaxFont,
                    obj([](TfrObject& v, const QVariant& d) { v.font.size = d.toDouble(); }));
        rows.check(QStringLiteral("Жирный"), o.font.bold, obj(fontFlag(&TfrFont::bold)));
        rows.check(QStringLiteral("Курсив"), o.font.italic, obj(fontFlag(&TfrFont::italic)));
        rows.check(QStringLiteral("Подчеркнутый"), o.font.underline, obj(fontFlag(&TfrFont::underline)));
        rows.choice(QStringLiteral("Выравнивание"),
                    {QStringLiteral("Влево"), QStringLiteral("По центру"), QStringLiteral("Вправо")}, int(o.align),
                    obj([](TfrObject& v, const QVariant& i) { v.align = TfrHAlign(i.toInt()); }));
        rows.choice(QStringLiteral("По вертикали"),
                    {QStringLiteral("Сверху"), QStringLiteral("По центру"), QStringLiteral("Снизу")}, int(o.valign),
                    obj([](TfrObject& v, const QVariant& i) { v.valign = TfrVAlign(i.toInt()); }));
        rows.check(QStringLiteral("Перенос по словам"), o.wordWrap, obj(plain(&TfrObject::wordWrap)));
        rows.check(QStringLiteral("Растягивается по тексту"), o.stretch, obj(plain(&TfrObject::stretch)));
        rows.check(QStringLiteral("Рамка слева"), o.frame.left, obj(frameFlag(&TfrFrame::left)));
        rows.check(QStringLiteral("Рамка сверху"), o.frame.top, obj(frameFlag(&TfrFrame::top)));
        rows.check(QStringLiteral("Рамка справа"), o.frame.right, obj(frameFlag(&TfrFrame::right)));
        rows.check(QStringLiteral("Рамка снизу"), o.frame.bottom, obj(frameFlag(&TfrFrame::bottom)));
        rows.number(QStringLiteral("Толщина рамки, мм"), o.frame.width, 0, 10,
                    obj([](TfrObject& v, const QVariant& d) { v.frame.width = d.toDouble(); }));
    }
    if (o.kind == TfrObjectKind::Line || o.kind == TfrObjectKind::Rect)
        rows.number(QStringLiteral("Толщина линии, мм"), o.lineWidth, 0, 10, obj(plain(&TfrObject::lineWidth)));
    if (o.kind == TfrObjectKind::Barcode) {
        QStringList names;
        int current = -1;
        for (int i = 0; i < int(std::size(kBarcodeTypes)); ++i) {
            names << frBarcodeTypeName(kBarcodeTypes[i]);
            if (kBarcodeTypes[i] == o.barcode) current = i;
        }
        rows.choice(QStringLiteral("Вид штрихкода"), names, current, obj([](TfrObject& v, const QVariant& i) {
                        const int n = i.toInt();
                        v.barcode = n >= 0 && n < int(std::size(kBarcodeTypes)) ? kBarcodeTypes[n] : TfrBarcodeType{};
                    }));
    }
    return s;
}

TfrPropertySection bandSection(const TfrDesignDocument& doc) {
    const int page = doc.currentPage(), bandIndex = doc.currentBand();
    const TfrBand& b = *doc.band();
    TfrPropertySection s{QStringLiteral("Полоса"), {}};
    Rows rows(s);
    auto band = [page, bandIndex](auto edit) { return bandChange(page, bandIndex, edit); };
    rows.text(QStringLiteral("Имя полосы"), b.name, band(plain(&TfrBand::name)));
    QStringList types;
    for (int i = 0; i <= int(TfrBandType::GroupFooter); ++i) types << frBandTypeCaption(TfrBandType(i));
    rows.choice(QStringLiteral("Вид полосы"), types, int(b.type),
                band([](TfrBand& v, const QVariant& i) { v.type = TfrBandType(i.toInt()); }));
    rows.number(QStringLiteral("Высота полосы, мм"), b.height, 0, frlimits::kMaxPaper,
                band([](TfrBand& v, const QVariant& d) { v.height = frRoundMm(d.toDouble()); }));
    if (b.type == TfrBandType::MasterData || b.type == TfrBandType::MasterHeader || b.type == TfrBandType::MasterFooter ||
        !b.dataSet.isEmpty())
        rows.editable(QStringLiteral("Набор данных"),
                      {QString(), QStringLiteral("frdsReport"), QStringLiteral("frdsReportP"), QStringLiteral("frdsReportU")},
                      b.dataSet, band(plain(&TfrBand::dataSet)));
    // shown for every band, so that the condition can be written before the band becomes a group
    rows.text(QStringLiteral("Условие группы"), b.condition, band(plain(&TfrBand::condition)));
    if (b.type == TfrBandType::MasterHeader)
        rows.check(QStringLiteral("Повторять на каждой странице"), b.repeatHeader, band(plain(&TfrBand::repeatHeader)));
    return s;
}

TfrPropertySection pageSection(const TfrDesignDocument& doc) {
    const TfrPage& p = *doc.page();
    TfrPropertySection s{QStringLiteral("Страница"), {}};
    Rows rows(s);
    auto page = [index = doc.currentPage()](auto edit) { return pageChange(index, edit); };
    QStringList papers;
    for (const Paper& pp : kPapers) papers << QString::fromLatin1(pp.caption);
    papers << QStringLiteral("Другой размер");
    const int paper = paperIndex(p.width, p.height);
    // "another size" is only shown: the size is typed into the width and height
    Change paperChange = page([](TfrPage& v, const QVariant& i) {
        const QSizeF s = paperSize(kPapers[i.toInt()].id);
        const bool landscape = v.width > v.height;
        v.width = frRoundMm(landscape ? s.height() : s.width());
        v.height = frRoundMm(landscape ? s.width() : s.height());
    });
    rows.choice(QStringLiteral("Формат бумаги"), papers, paper < 0 ? int(papers.size()) - 1 : paper,
                [paperChange](TfrDesignDocument& d, const QVariant& i) {
                    if (i.toInt() >= 0 && i.toInt() < int(std::size(kPapers))) paperChange(d, i);
                });
    rows.choice(QStringLiteral("Ориентация"), {QStringLiteral("Книжная"), QStringLiteral("Альбомная")},
                p.width > p.height ? 1 : 0, page([](TfrPage& v, const QVariant& i) {
                    if ((v.width > v.height) != (i.toInt() == 1)) std::swap(v.width, v.height);
                }));
    rows.number(QStringLiteral("Ширина листа, мм"), p.width, frlimits::kMinPaper, frlimits::kMaxPaper,
                page([](TfrPage& v, const QVariant& d) { v.width = frRoundMm(d.toDouble()); }));
    rows.number(QStringLiteral("Высота листа, мм"), p.height, frlimits::kMinPaper, frlimits::kMaxPaper,
                page([](TfrPage& v, const QVariant& d) { v.height = frRoundMm(d.toDouble()); }));
    auto margin = [](double TfrPage::*field) {
        return [field](TfrPage& v, const QVariant& d) { v.*field = frRoundMm(d.toDouble()); };
    };
    rows.number(QStringLiteral("Поле слева, мм"), p.marginLeft, 0, frlimits::kMaxPaper / 2, page(margin(&TfrPage::marginLeft)));
    rows.number(QStringLiteral("Поле сверху, мм"), p.marginTop, 0, frlimits::kMaxPaper / 2, page(margin(&TfrPage::marginTop)));
    rows.number(QStringLiteral("Поле справа, мм"), p.marginRight, 0, frlimits::kMaxPaper / 2,
                page(margin(&TfrPage::marginRight)));
    rows.number(QStringLiteral("Поле снизу, мм"), p.marginBottom, 0, frlimits::kMaxPaper / 2,
                page(margin(&TfrPage::marginBottom)));
    return s;
}

}  // namespace

std::vector<TfrPropertySection> frPropertySections(const TfrDesignDocument& doc) {
    const TfrObjRefs& sel = doc.selection();
    if (sel.size() == 1) return {objectSection(doc.templ(), sel.front())};
    if (sel.size() > 1) return {TfrPropertySection{QStringLiteral("Выбрано объектов: %1").arg(sel.size()), {}}};
    std::vector<TfrPropertySection> sections;
    if (doc.band()) sections.push_back(bandSection(doc));
    if (doc.page()) sections.push_back(pageSection(doc));
    return sections;
}

std::optional<QString> frApplyProperty(TfrDesignDocument& doc, const TfrPropertyRow& row, const QVariant& value) {
    if (!row.change) return std::nullopt;
    try {
        row.change(doc, value);
    } catch (const EfrTemplateError& e) {
        return e.message();
    }
    return std::nullopt;
}

QString frBandTypeCaption(TfrBandType type) {
    switch (type) {
    case TfrBandType::ReportTitle: return QStringLiteral("Заголовок отчета");
    case TfrBandType::PageHeader: return QStringLiteral("Заголовок страницы");
    case TfrBandType::ColumnHeader: return QStringLiteral("Заголовок колонок");
    case TfrBandType::MasterHeader: return QStringLiteral("Заголовок данных");
    case TfrBandType::MasterData: return QStringLiteral("Данные");
    case TfrBandType::MasterFooter: return QStringLiteral("Подвал данных");
    case TfrBandType::ReportSummary: return QStringLiteral("Итоги отчета");
    case TfrBandType::PageFooter: return QStringLiteral("Подвал страницы");
    case TfrBandType::GroupHeader: return QStringLiteral("Заголовок группы");
    case TfrBandType::GroupFooter: return QStringLiteral("Подвал группы");
    }
    return {};
}

std::optional<QVariant> frEditedValue(const TfrPropertyRow& row, const QVariant& last, const QVariant& typed) {
    switch (row.kind) {
    case TfrPropertyKind::Number:
        if (std::abs(typed.toDouble() - last.toDouble()) <= 1e-9) return std::nullopt;
        return typed.toDouble();
    case TfrPropertyKind::Check: return typed;
    case TfrPropertyKind::Choice:
        if (typed.toInt() == last.toInt()) return std::nullopt;
        return typed.toInt();
    case TfrPropertyKind::EditableChoice: {
        const QString text = typed.toString().trimmed();
        if (text == last.toString()) return std::nullopt;
        return text;
    }
    case TfrPropertyKind::Text:
    case TfrPropertyKind::Multiline:
    case TfrPropertyKind::FontFamily:
        if (typed.toString() == last.toString()) return std::nullopt;
        return typed.toString();
    }
    return std::nullopt;
}
