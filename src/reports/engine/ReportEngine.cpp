#include "reports/engine/ReportEngine.h"

#include "base/RoutsFormat.h"
#include "reports/engine/ReportObjectPrim.h"

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QTime>
#include <algorithm>
#include <set>
#include <unordered_map>

namespace {

QString q(const QString& s) { return QStringLiteral("«") + s + QStringLiteral("»"); }

QString lower(const QString& s) { return s.toLower(); }

}  // namespace

// ---------------------------------------------------------------------------
// TfrReport

void TfrReport::loadFromFile(const QString& path) {
    QString p = path;
    p.replace(QLatin1Char('\\'), QLatin1Char('/'));  // "Reports\Rep_Kvit_obuv" as the forms are named
    if (QFileInfo(p).suffix().isEmpty()) p += QStringLiteral(".frf");
    m_templ = frReadTemplateFile(p);
    m_fileName = p;
}

void TfrReport::saveToFile() const { frWriteTemplateFile(m_templ, m_fileName); }

void TfrReport::saveToFile(const QString& path) {
    frWriteTemplateFile(m_templ, path);
    m_fileName = path;
}

void TfrReport::setTemplate(TfrTemplate t, const QString& fileName) {
    m_templ = std::move(t);
    m_fileName = fileName;
}

void TfrReport::addDataSet(TfrDBDataSet* ds) {
    if (std::find(m_dataSets.begin(), m_dataSets.end(), ds) == m_dataSets.end()) m_dataSets.push_back(ds);
}

TfrDBDataSet* TfrReport::findDataSet(const QString& name) const {
    for (auto* ds : m_dataSets)
        if (ds->name().compare(name, Qt::CaseInsensitive) == 0) return ds;
    if (m_mainDataSet && m_mainDataSet->name().compare(name, Qt::CaseInsensitive) == 0) return m_mainDataSet;
    return nullptr;
}

TfrObject* TfrReport::findObject(const QString& name) {
    for (auto& p : m_templ.pages)
        for (auto& b : p.bands)
            for (auto& o : b.objects)
                if (o.name.compare(name, Qt::CaseInsensitive) == 0) return &o;
    return nullptr;
}

TfrBand* TfrReport::findBand(const QString& name) {
    for (auto& p : m_templ.pages)
        for (auto& b : p.bands)
            if (b.name.compare(name, Qt::CaseInsensitive) == 0) return &b;
    return nullptr;
}

void TfrReport::setBandDataSet(const QString& bandName, const QString& dataSetName) {
    TfrBand* b = findBand(bandName);
    if (!b)
        throw EfrBindError(QStringLiteral("В печатной форме %1 нет полосы %2: форму нельзя заполнить данными. "
                                          "Исправьте или замените печатную форму.")
                               .arg(q(QDir::toNativeSeparators(m_fileName)), bandName));
    b->dataSet = dataSetName;
}

void TfrReport::setVariable(const QString& name, const QString& value) { m_vars[lower(name)] = {name, value}; }

QString TfrReport::variable(const QString& name) const {
    auto it = m_vars.find(lower(name));
    return it == m_vars.end() ? QString() : it->second.second;
}

QDate TfrReport::today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }

// ---------------------------------------------------------------------------
// Layout

namespace {

enum class TermKind { Literal, Var, Field, Agg, PageNo, TotalPages, Date, Time, LineNo };
enum class AggFunc { Sum, Count, Avg, Min, Max, RunningSum };

struct Term {
    TermKind kind = TermKind::Literal;
    QString text;                 // literal, or the variable's name
    TfrDBDataSet* ds = nullptr;   // field, aggregate
    int field = -1;               // -1 for COUNT(dataset)
    AggFunc func = AggFunc::Sum;
    QString fmt;
};

Term literalTerm(const QString& text) {
    Term t;
    t.text = text;
    return t;
}

struct Compiled {
    std::vector<Term> terms;
};

struct Acc {
    fb::Decimal sum;
    int count = 0;
    fb::Decimal min, max;
};

using AccKey = std::pair<const TfrDBDataSet*, int>;

QString plainDecimal(const fb::Decimal& d, int decimals = -1) {
    QString s = decimals < 0 ? d.toPlainString() : d.toString(decimals);
    return s.replace(QLatin1Char('.'), QLocale().decimalPoint());
}

QString valueText(const fb::Value& v, const QString& fmt) {
    if (v.isNull()) return QString();
    const QChar f = fmt.isEmpty() ? QChar() : fmt.at(0).toLower();
    if (f == QLatin1Char('m') || f == QLatin1Char('n') || f == QLatin1Char('i')) {
        std::optional<fb::Decimal> d;
        if (v.kind() == fb::Value::Kind::Int || v.kind() == fb::Value::Kind::Dec) d = v.toDecimal();
        else if (v.kind() == fb::Value::Kind::Text) d = fb::Decimal::parse(v.toString());
        if (!d) return v.toString();
        if (f == QLatin1Char('m')) return FormatMoney(*d);
        if (f == QLatin1Char('i')) return QString::number(d->rounded(0).toScaled(0));
        const int decimals = std::clamp(fmt.mid(1).toInt(), 0, 4);
        return plainDecimal(*d, decimals);
    }
    switch (v.kind()) {
    case fb::Value::Kind::Int: return QString::number(v.toInt());
    case fb::Value::Kind::Dec: return plainDecimal(v.toDecimal());
    case fb::Value::Kind::Date: return QLocale().toString(v.toDate(), QLocale::ShortFormat);
    case fb::Value::Kind::Timestamp: return QLocale().toString(v.toDateTime(), QLocale::ShortFormat);
    default: return v.toString();
    }
}

struct Measured {
    const TfrObject* o;
    QRectF box;        // relative to the band's top left
    TfrMemoText text;  // memo
    QString data;      // bar code data
};

}  // namespace

class TfrLayout {
public:
    explicit TfrLayout(TfrReport& r) : m_rep(r) {}

    TfrPreparedReport run() {
        compileAll();
        m_totalPages = 0;
        TfrPreparedReport res = pass();
        if (m_usesTotal) {
            for (int i = 0; i < 3; ++i) {
                const int n = int(res.pages.size());
                if (n == m_totalPages) break;
                m_totalPages = n;
                res = pass();
            }
        }
        return res;
    }

private:
    [[noreturn]] void fail(const TfrObject& o, const QString& what) const {
        throw EfrPrepareError(QStringLiteral("Отчет не построен: в печатной форме %1 объект %2 %3.")
                                  .arg(q(QDir::toNativeSeparators(m_rep.m_fileName)), q(o.name), what));
    }

    TfrDBDataSet* bandDataSet(const TfrBand& b) const {
        if (b.dataSet.isEmpty()) return b.type == TfrBandType::MasterData ? m_rep.m_mainDataSet : nullptr;
        return m_rep.findDataSet(b.dataSet);
    }

    // --- expressions --------------------------------------------------------
    void compileAll() {
        m_compiled.clear();
        m_pageAccKeys.clear();
        m_runKeys.clear();
        m_groupAccKeys.clear();
        m_conditions.clear();
        m_usesTotal = false;
        for (const TfrPage& p : m_rep.m_templ.pages)
            for (const TfrBand& b : p.bands) {
                if ((b.type == TfrBandType::MasterData || b.type == TfrBandType::MasterHeader ||
                     b.type == TfrBandType::MasterFooter) &&
                    !b.dataSet.isEmpty() && !m_rep.findDataSet(b.dataSet))
                    throw EfrPrepareError(QStringLiteral("Отчет не построен: полоса %1 печатной формы %2 "
                                                         "связана с неизвестным набором данных %3.")
                                              .arg(q(b.name), q(QDir::toNativeSeparators(m_rep.m_fileName)),
                                                   q(b.dataSet)));
                // Fields without a dataset belong to the band's own dataset (a header's or
                // footer's to the data band next to it).
                TfrDBDataSet* own = bandDataSet(b);
                const bool before = b.type == TfrBandType::MasterHeader || b.type == TfrBandType::GroupHeader;
                const bool after = b.type == TfrBandType::MasterFooter || b.type == TfrBandType::GroupFooter;
                if (!own && (before || after)) {
                    const auto it = std::find_if(p.bands.begin(), p.bands.end(), [&](const TfrBand& x) { return &x == &b; });
                    auto look = [&](auto from, auto to) {
                        for (auto i = from; i != to; ++i)
                            if (i->type == TfrBandType::MasterData) return bandDataSet(*i);
                        return static_cast<TfrDBDataSet*>(nullptr);
                    };
                    own = before ? look(it, p.bands.end()) : look(std::make_reverse_iterator(it), p.bands.rend());
                }
                m_inGroupFooterCompile = b.type == TfrBandType::GroupFooter;
                for (const TfrObject& o : b.objects)
                    if (o.kind == TfrObjectKind::Memo || o.kind == TfrObjectKind::Barcode)
                        m_compiled[&o] = compile(o, own, b.type == TfrBandType::PageFooter);
                m_inGroupFooterCompile = false;
                if (b.type == TfrBandType::GroupHeader) {
                    TfrObject& cond = m_conditions[&b];
                    cond.name = b.name;
                    cond.text = b.condition;
                    m_compiled[&cond] = compile(cond, own, false);
                }
            }
    }

    Compiled compile(const TfrObject& o, TfrDBDataSet* own, bool pageScope) {
        Compiled c;
        const QString& t = o.text;
        int pos = 0;
        while (pos < t.size()) {
            const int open = t.indexOf(QLatin1Char('['), pos);
            const int close = open < 0 ? -1 : t.indexOf(QLatin1Char(']'), open);
            if (open < 0 || close < 0) {
                c.terms.push_back(literalTerm(t.mid(pos)));
                break;
            }
            if (open > pos) c.terms.push_back(literalTerm(t.mid(pos, open - pos)));
            c.terms.push_back(compileExpr(o, t.mid(open + 1, close - open - 1).trimmed(), own, pageScope));
            pos = close + 1;
        }
        return c;
    }

    TfrDBDataSet* dataSetOf(const TfrObject& o, const QString& name) {
        TfrDBDataSet* ds = m_rep.findDataSet(name);
        if (!ds) fail(o, QStringLiteral("ссылается на неизвестный набор данных %1").arg(q(name)));
        return ds;
    }
    int fieldOf(const TfrObject& o, TfrDBDataSet* ds, const QString& field) {
        const int i = ds->fieldIndex(field);
        if (i < 0) fail(o, QStringLiteral("ссылается на поле %1, которого нет в наборе данных %2").arg(q(field), q(ds->name())));
        return i;
    }
    // "ds."FIELD"", "ds.FIELD" or ""FIELD"" (the band's dataset).
    bool parseField(const TfrObject& o, const QString& s, TfrDBDataSet* own, Term& term) {
        static const QRegularExpression reDs(QStringLiteral("^([A-Za-z_][A-Za-z0-9_]*)\\s*\\.\\s*\"?([^\"]+)\"?$"));
        static const QRegularExpression reOwn(QStringLiteral("^\"([^\"]+)\"$"));
        if (auto m = reDs.match(s); m.hasMatch()) {
            if (!m_rep.findDataSet(m.captured(1))) return false;
            term.ds = dataSetOf(o, m.captured(1));
            term.field = fieldOf(o, term.ds, m.captured(2).trimmed());
            return true;
        }
        if (auto m = reOwn.match(s); m.hasMatch()) {
            if (!own) fail(o, QStringLiteral("ссылается на поле %1 вне полосы данных").arg(q(m.captured(1))));
            term.ds = own;
            term.field = fieldOf(o, own, m.captured(1));
            return true;
        }
        return false;
    }

    Term compileExpr(const TfrObject& o, QString e, TfrDBDataSet* own, bool pageScope) {
        Term term;
        const int hash = e.lastIndexOf(QStringLiteral(" #"));
        if (hash >= 0) {
            term.fmt = e.mid(hash + 2).trimmed();
            e = e.left(hash).trimmed();
        }
        static const QRegularExpression reAgg(QStringLiteral("^(SUM|COUNT|AVG|MIN|MAX|RSUM)\\s*\\((.*)\\)$"),
                                              QRegularExpression::CaseInsensitiveOption);
        if (auto m = reAgg.match(e); m.hasMatch()) {
            static const QStringList funcs = {QStringLiteral("SUM"), QStringLiteral("COUNT"), QStringLiteral("AVG"),
                                              QStringLiteral("MIN"), QStringLiteral("MAX"), QStringLiteral("RSUM")};
            term.kind = TermKind::Agg;
            term.func = AggFunc(funcs.indexOf(m.captured(1).toUpper()));
            const QString arg = m.captured(2).trimmed();
            if (term.func == AggFunc::Count && (arg.isEmpty() || m_rep.findDataSet(arg))) {
                term.ds = arg.isEmpty() ? own : dataSetOf(o, arg);
                if (!term.ds) fail(o, QStringLiteral("считает строки вне полосы данных"));
                term.field = -1;
            } else if (!parseField(o, arg, own, term)) {
                fail(o, QStringLiteral("содержит непонятный итог %1").arg(q(e)));
            }
            if (term.func == AggFunc::RunningSum) m_runKeys.insert(AccKey{term.ds, term.field});
            else if (pageScope) m_pageAccKeys.insert(AccKey{term.ds, term.field});
            else if (m_inGroupFooterCompile) m_groupAccKeys.insert(AccKey{term.ds, term.field});
            return term;
        }
        if (parseField(o, e, own, term)) {
            term.kind = TermKind::Field;
            return term;
        }
        const QString up = e.toUpper();
        if (up == QLatin1String("PAGE#")) term.kind = TermKind::PageNo;
        else if (up == QLatin1String("TOTALPAGES")) { term.kind = TermKind::TotalPages; m_usesTotal = true; }
        else if (up == QLatin1String("DATE")) term.kind = TermKind::Date;
        else if (up == QLatin1String("TIME")) term.kind = TermKind::Time;
        else if (up == QLatin1String("LINE#")) { term.kind = TermKind::LineNo; term.ds = own; }
        else if (e.isEmpty()) fail(o, QStringLiteral("содержит пустое выражение []"));
        else { term.kind = TermKind::Var; term.text = e; }
        return term;
    }

    fb::Value aggregate(const Term& t) {
        Acc a;
        if (t.func == AggFunc::RunningSum) {
            auto it = m_runAcc.find(AccKey{t.ds, t.field});
            return it == m_runAcc.end() ? fb::Decimal() : it->second.sum;
        }
        if (m_inPageFooter) {
            auto it = m_pageAcc.find(AccKey{t.ds, t.field});
            if (it != m_pageAcc.end()) a = it->second;
        } else if (m_groupLevel >= 0) {
            auto& level = m_groupAcc[size_t(m_groupLevel)];
            auto it = level.find(AccKey{t.ds, t.field});
            if (it != level.end()) a = it->second;
        } else {
            auto key = AccKey{t.ds, t.field};
            auto it = m_reportAcc.find(key);
            if (it == m_reportAcc.end()) {
                for (int r = 0, n = t.ds->rowCount(); r < n; ++r) add(a, t.ds, t.field, r);
                it = m_reportAcc.emplace(key, a).first;
            }
            a = it->second;
        }
        switch (t.func) {
        case AggFunc::Sum:
        case AggFunc::RunningSum: return a.sum;
        case AggFunc::Count: return qint64(a.count);
        case AggFunc::Avg: return a.count ? a.sum / fb::Decimal(a.count) : fb::Decimal();
        case AggFunc::Min: return a.count ? fb::Value(a.min) : fb::Value();
        case AggFunc::Max: return a.count ? fb::Value(a.max) : fb::Value();
        }
        return {};
    }

    static void add(Acc& a, const TfrDBDataSet* ds, int field, int row) {
        if (field >= 0) {
            const fb::Value v = ds->value(row, field);
            if (v.isNull()) return;
            const fb::Decimal d = v.toDecimal();
            a.sum += d;
            if (a.count == 0 || d < a.min) a.min = d;
            if (a.count == 0 || d > a.max) a.max = d;
        }
        ++a.count;
    }

    QString evaluate(const TfrObject& o) {
        const Compiled& c = m_compiled.at(&o);
        QString out;
        for (const Term& t : c.terms) {
            switch (t.kind) {
            case TermKind::Literal: out += t.text; break;
            case TermKind::Field: out += valueText(t.ds->value(t.ds->currentRow(), t.field), t.fmt); break;
            case TermKind::Agg: out += valueText(aggregate(t), t.fmt); break;
            case TermKind::PageNo: out += QString::number(m_pageNo); break;
            case TermKind::TotalPages: out += QString::number(std::max(m_totalPages, m_pageNo)); break;
            case TermKind::Date: out += valueText(fb::Value(m_rep.today()), t.fmt); break;
            case TermKind::Time: out += QTime::currentTime().toString(QStringLiteral("HH:mm")); break;
            case TermKind::LineNo: out += QString::number(t.ds ? t.ds->currentRow() + 1 : 1); break;
            case TermKind::Var: {
                QVariant v;
                if (m_rep.m_getValue) m_rep.m_getValue(t.text, v);
                if (!v.isValid()) {
                    auto it = m_rep.m_vars.find(lower(t.text));
                    if (it == m_rep.m_vars.end()) fail(o, QStringLiteral("ссылается на неизвестную переменную %1").arg(q(t.text)));
                    v = it->second.second;
                }
                out += t.fmt.isEmpty() ? v.toString() : valueText(fb::Value(v.toString()), t.fmt);
                break;
            }
            }
        }
        return out;
    }

    // --- bands --------------------------------------------------------------
    // The band's objects evaluated and measured; returns the band's height.
    double measure(const TfrBand& b, std::vector<Measured>& out) {
        out.clear();
        out.reserve(b.objects.size());
        std::vector<std::pair<double, double>> growth;  // (old bottom, extra height) of stretched memos
        for (const TfrObject& o : b.objects) {
            Measured m{&o, QRectF(o.x, o.y, o.width, o.height), {}, {}};
            if (o.kind == TfrObjectKind::Memo) {
                m.text = frMemoText(o, evaluate(o));
                const double need = m.text.height();
                if (o.stretch && need > o.height) {
                    growth.emplace_back(o.y + o.height, need - o.height);
                    m.box.setHeight(need);
                }
            } else if (o.kind == TfrObjectKind::Barcode) {
                m.data = evaluate(o);
            }
            out.push_back(std::move(m));
        }
        double height = b.height;
        if (!growth.empty()) {
            for (Measured& m : out) {
                double shift = 0;
                for (auto [bottom, extra] : growth)
                    if (m.o->y >= bottom - 0.01) shift = std::max(shift, extra);
                m.box.translate(0, shift);
            }
            for (const Measured& m : out)
                if (m.o->kind != TfrObjectKind::Line) height = std::max(height, m.box.bottom());
            // Growing boxes that reach the band's bottom follow it, so the cells of a row keep one height.
            for (Measured& m : out)
                if (m.o->stretch && m.o->y + m.o->height >= b.height - 0.01) m.box.setBottom(height);
        }
        return height;
    }

    void emitBand(const TfrBand& b, const std::vector<Measured>& ms, double top) {
        ++m_bandSerial;
        for (const Measured& m : ms) {
            const TfrObject& o = *m.o;
            QString barcodeError;
            TfrPrim p = frObjectPrim(o, m.box.translated(m_tp->marginLeft, top), m.text, m.data, &barcodeError);
            if (!barcodeError.isEmpty())
                fail(o, QStringLiteral("не может нарисовать штрихкод %1 для %2: %3")
                            .arg(frBarcodeTypeName(o.barcode), q(m.data), barcodeError));
            p.bandSerial = m_bandSerial;
            p.bandType = b.type;
            m_page->prims.push_back(std::move(p));
        }
    }

    double bodyBottom() const {
        return m_tp->height - m_tp->marginBottom - (m_pageFooter ? m_pageFooter->height : 0);
    }

    // Places a band at the cursor, on a new page when it does not fit (unless the page holds no body yet).
    void place(const TfrBand& b, double extraBelow = 0) {
        std::vector<Measured> ms;
        double h = measure(b, ms);
        if (m_y + h + extraBelow > bodyBottom() + 0.001 && m_pageHasBody) {
            newPage(false);
            h = measure(b, ms);  // page numbers may have changed
        }
        emitBand(b, ms, m_y);
        m_y += h;
        m_pageHasBody = true;
    }

    void placeFixed(const TfrBand& b, double top) {
        std::vector<Measured> ms;
        measure(b, ms);
        emitBand(b, ms, top);
    }

    void finishPage() {
        if (!m_page) return;
        if (m_pageFooter) {
            m_inPageFooter = true;
            placeFixed(*m_pageFooter, m_tp->height - m_tp->marginBottom - m_pageFooter->height);
            m_inPageFooter = false;
        }
        m_pageAcc.clear();
    }

    void newPage(bool firstOfTemplate) {
        finishPage();
        m_out.pages.push_back(TfrPreparedPage{m_tp->width, m_tp->height, {}});
        m_page = &m_out.pages.back();
        ++m_pageNo;
        m_y = m_tp->marginTop;
        m_pageHasBody = false;
        if (firstOfTemplate)
            for (const TfrBand& b : m_tp->bands)
                if (b.type == TfrBandType::ReportTitle) {
                    std::vector<Measured> ms;
                    const double h = measure(b, ms);
                    emitBand(b, ms, m_y);
                    m_y += h;
                }
        for (const TfrBand* b : {m_pageHeader, m_columnHeader})
            if (b) {
                std::vector<Measured> ms;
                const double h = measure(*b, ms);
                emitBand(*b, ms, m_y);
                m_y += h;
            }
        // the master header and the headers of the groups that go on continue on the new page
        std::vector<const TfrBand*> repeated;
        if (m_repeatHeader) repeated.push_back(m_repeatHeader);
        for (const TfrBand* g : m_openGroupHeaders)
            if (g->repeatHeader) repeated.push_back(g);
        for (const TfrBand* b : repeated) {
            std::vector<Measured> ms;
            const double h = measure(*b, ms);
            emitBand(*b, ms, m_y);
            m_y += h;
        }
    }

    TfrPreparedReport pass() {
        m_out = TfrPreparedReport{};
        m_pageNo = 0;
        m_bandSerial = 0;
        m_reportAcc.clear();
        m_pageAcc.clear();
        m_runAcc.clear();
        for (const TfrPage& tp : m_rep.m_templ.pages) {
            m_tp = &tp;
            m_page = nullptr;
            m_pageHeader = m_pageFooter = m_columnHeader = m_repeatHeader = nullptr;
            for (const TfrBand& b : tp.bands) {
                if (b.type == TfrBandType::PageHeader && !m_pageHeader) m_pageHeader = &b;
                if (b.type == TfrBandType::PageFooter && !m_pageFooter) m_pageFooter = &b;
                if (b.type == TfrBandType::ColumnHeader && !m_columnHeader) m_columnHeader = &b;
            }
            newPage(true);
            for (size_t i = 0; i < tp.bands.size(); ++i) {
                const TfrBand& b = tp.bands[i];
                if (b.type != TfrBandType::MasterData) continue;
                // [MasterHeader] [GroupHeader outer .. inner] MasterData [GroupFooter inner .. outer] [MasterFooter]
                size_t h = i;
                std::vector<const TfrBand*> groupHeaders, groupFooters;
                while (h > 0 && tp.bands[h - 1].type == TfrBandType::GroupHeader) groupHeaders.insert(groupHeaders.begin(), &tp.bands[--h]);
                size_t f = i + 1;
                while (f < tp.bands.size() && tp.bands[f].type == TfrBandType::GroupFooter) groupFooters.push_back(&tp.bands[f++]);
                const TfrBand* header = h > 0 && tp.bands[h - 1].type == TfrBandType::MasterHeader ? &tp.bands[h - 1] : nullptr;
                const TfrBand* footer =
                    f < tp.bands.size() && tp.bands[f].type == TfrBandType::MasterFooter ? &tp.bands[f] : nullptr;
                dataGroup(b, header, footer, groupHeaders, groupFooters);
            }
            for (const TfrBand& b : tp.bands)
                if (b.type == TfrBandType::ReportSummary) place(b);
            finishPage();
        }
        return std::move(m_out);
    }

    // Group footers of levels `from`.. (innermost first), standing on the group's last row.
    void closeGroups(const std::vector<const TfrBand*>& footers, size_t levels, size_t from) {
        for (size_t g = levels; g-- > from;) {
            const size_t k = levels - 1 - g;  // footers are listed inner to outer
            if (k < footers.size()) {
                m_groupLevel = int(g);
                place(*footers[k]);
                m_groupLevel = -1;
            }
        }
    }

    void dataGroup(const TfrBand& data, const TfrBand* header, const TfrBand* footer,
                   const std::vector<const TfrBand*>& groupHeaders, const std::vector<const TfrBand*>& groupFooters) {
        TfrDBDataSet* ds = bandDataSet(data);
        const int n = ds ? ds->rowCount() : 1;
        if (n == 0) return;
        if (ds) ds->setCurrentRow(0);
        std::vector<Measured> ms;
        if (header) {
            // A header is not left alone at the bottom of a page: it goes with the first row.
            place(*header, measure(data, ms));
            if (header->repeatHeader) m_repeatHeader = header;
        }
        const size_t levels = std::max(groupHeaders.size(), groupFooters.size());
        m_groupAcc.assign(levels, {});
        std::vector<QString> keys(groupHeaders.size());
        for (int r = 0; r < n; ++r) {
            if (ds) ds->setCurrentRow(r);
            if (levels > 0) {
                // the outermost group whose condition changed, and every group inside it, start anew
                size_t changed = r == 0 ? 0 : levels;
                for (size_t g = 0; g < groupHeaders.size(); ++g) {
                    const QString key = evaluate(m_conditions.at(groupHeaders[g]));
                    if (r > 0 && changed == levels && key != keys[g]) changed = g;
                    keys[g] = key;
                }
                if (changed < levels) {
                    if (r > 0) {
                        ds->setCurrentRow(r - 1);
                        closeGroups(groupFooters, levels, changed);
                        ds->setCurrentRow(r);
                    }
                    for (size_t g = changed; g < levels; ++g) m_groupAcc[g].clear();
                    m_openGroupHeaders.resize(std::min(changed, m_openGroupHeaders.size()));
                    for (size_t g = changed; g < groupHeaders.size(); ++g) {
                        place(*groupHeaders[g], g + 1 == groupHeaders.size() ? measure(data, ms) : 0);
                        m_openGroupHeaders.push_back(groupHeaders[g]);
                    }
                }
            }
            // a running total counts the rows printed so far, this one included
            if (ds)
                for (const AccKey& k : m_runKeys)
                    if (k.first == ds) add(m_runAcc[k], ds, k.second, r);
            place(data);
            if (ds)
                for (const AccKey& k : m_pageAccKeys)
                    if (k.first == ds) add(m_pageAcc[k], ds, k.second, r);
            if (ds)
                for (auto& level : m_groupAcc)
                    for (const AccKey& k : m_groupAccKeys)
                        if (k.first == ds) add(level[k], ds, k.second, r);
        }
        if (ds && levels > 0) {
            ds->setCurrentRow(n - 1);
            closeGroups(groupFooters, levels, 0);
        }
        m_openGroupHeaders.clear();
        m_repeatHeader = nullptr;
        if (footer) place(*footer);
    }

    TfrReport& m_rep;
    std::unordered_map<const TfrObject*, Compiled> m_compiled;
    std::set<AccKey> m_pageAccKeys;
    std::set<AccKey> m_runKeys;
    std::set<AccKey> m_groupAccKeys;
    std::vector<std::map<AccKey, Acc>> m_groupAcc;  // per group level, outer first
    std::map<const TfrBand*, TfrObject> m_conditions;  // group headers' conditions, compiled as texts
    int m_groupLevel = -1;                           // the group footer being placed
    std::vector<const TfrBand*> m_openGroupHeaders;  // headers of the groups being printed, outer first
    bool m_inGroupFooterCompile = false;
    std::map<AccKey, Acc> m_pageAcc, m_reportAcc, m_runAcc;
    bool m_usesTotal = false;
    bool m_inPageFooter = false;
    int m_totalPages = 0;

    TfrPreparedReport m_out;
    const TfrPage* m_tp = nullptr;
    TfrPreparedPage* m_page = nullptr;
    const TfrBand *m_pageHeader = nullptr, *m_pageFooter = nullptr, *m_columnHeader = nullptr,
                  *m_repeatHeader = nullptr;
    double m_y = 0;
    bool m_pageHasBody = false;
    int m_pageNo = 0;
    int m_bandSerial = 0;
};

TfrPreparedReport TfrReport::prepare() {
    if (m_templ.pages.empty())
        throw EfrPrepareError(QStringLiteral("Отчет не построен: печатная форма не загружена."));
    return TfrLayout(*this).run();
}
