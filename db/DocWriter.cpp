#include "db/DocWriter.h"

#include "fb/Statement.h"
#include "fb/Transaction.h"

namespace obrixdb {

using fb::Decimal;
using fb::Value;

OrderTotals orderTotals(const Order& o) {
    OrderTotals t;
    for (const auto& s : o.services) t.total += s.summa;
    const int sign = o.otklType == 1 ? -1 : o.otklType == 2 ? 1 : 0;
    t.otklSum = sign == 0 ? Decimal() : t.total.percent(Decimal(o.otklProc), 2);
    t.totalWotkl = sign < 0 ? t.total - t.otklSum : t.total + (sign > 0 ? t.otklSum : Decimal());
    t.received = o.paidInFull ? t.totalWotkl : o.received;
    t.debt = t.totalWotkl - t.received;
    return t;
}

namespace {
Value textOrNull(const QString& s) { return s.isEmpty() ? Value() : Value(s); }
}  // namespace

DocWriter::DocWriter(fb::Transaction& tra) : m_tra(tra) {
    m_docu = std::make_unique<fb::Statement>(tra,
        "INSERT INTO DOCU (KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, DATEV, ZAKAZCH_ID, "
        "PRIEMSCHIK_ID, COMMENT, TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT, "
        "GARANT, DATEVYD, VREMVYD) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?) "
        "RETURNING ID");
    m_pmoves = std::make_unique<fb::Statement>(tra,
        "INSERT INTO PMOVES (DOC_ID, NUM, PRODUCT_ID, COLOR_ID, MATERIAL_ID, PPARA, PROCIZN) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)");
    m_umoves = std::make_unique<fb::Statement>(tra,
        "INSERT INTO UMOVES (DOC_ID, NUM, USLUGA_ID, SUMMA) VALUES (?, ?, ?, ?)");
    m_docs = std::make_unique<fb::Statement>(tra,
        "INSERT INTO DOCS (KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, SUMMA_REALIZ, COMMENT, DOCU_ID) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?) RETURNING ID");
    m_moves = std::make_unique<fb::Statement>(tra,
        "INSERT INTO MOVES (DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, CENA_REALIZ, SUMMA_REALIZ) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)");
}

DocWriter::~DocWriter() = default;

int DocWriter::addOrder(const Order& o) {
    const OrderTotals t = orderTotals(o);
    auto& s = *m_docu;
    s.set(0, o.kind);
    s.set(1, o.periodId);
    s.set(2, o.series);
    s.set(3, o.number);
    s.set(4, o.dateP);
    s.set(5, o.dateV);
    s.set(6, o.zakazchId);
    s.set(7, o.priemschikId);
    s.set(8, textOrNull(o.comment));
    s.set(9, t.total);
    s.set(10, o.otklType);
    s.set(11, o.otklType == 0 ? 0 : o.otklProc);
    s.set(12, t.otklSum);
    s.set(13, t.totalWotkl);
    s.set(14, t.received);
    s.set(15, t.debt);
    s.set(16, o.garant);
    s.set(17, o.dateVyd);
    s.set(18, textOrNull(o.vremVyd));
    s.execute();
    const int id = int(s.value(0).toInt());
    int num = 0;
    for (const auto& p : o.products) {
        auto& m = *m_pmoves;
        m.set(0, id);
        m.set(1, ++num);
        m.set(2, p.productId);
        m.set(3, p.colorId);
        m.set(4, p.materialId);
        m.set(5, p.ppara);
        m.set(6, p.procizn);
        m.execute();
    }
    num = 0;
    for (const auto& u : o.services) {
        auto& m = *m_umoves;
        m.set(0, id);
        m.set(1, ++num);
        m.set(2, u.uslugaId);
        m.set(3, u.summa);
        m.execute();
    }
    return id;
}

int DocWriter::addStockDoc(const StockDoc& d) {
    Decimal summa, summaRealiz;
    for (const auto& l : d.lines) {
        summa += (l.kolvo * l.cena).kopecks();
        if (l.cenaRealiz) summaRealiz += (l.kolvo * *l.cenaRealiz).kopecks();
    }
    auto& s = *m_docs;
    s.set(0, d.kind);
    s.set(1, d.periodId);
    s.set(2, d.date);
    s.set(3, d.number);
    s.set(4, summa);
    s.set(5, d.kind == 103 ? Value(summaRealiz) : Value());
    s.set(6, d.docuId ? Value(QString()) : textOrNull(d.comment));
    s.set(7, d.docuId ? Value(*d.docuId) : Value());
    s.execute();
    const int id = int(s.value(0).toInt());
    for (const auto& l : d.lines) {
        auto& m = *m_moves;
        m.set(0, id);
        m.set(1, l.tovarId);
        m.set(2, l.kolvo);
        m.set(3, l.cena);
        m.set(4, (l.kolvo * l.cena).kopecks());
        m.set(5, l.cenaRealiz ? Value(*l.cenaRealiz) : Value());
        m.set(6, l.cenaRealiz ? Value((l.kolvo * *l.cenaRealiz).kopecks()) : Value());
        m.execute();
    }
    return id;
}

int addPeriod(fb::Transaction& tra, const QDate& date1, const QDate& date2, bool first) {
    const int id = int(fb::scalar(tra, "SELECT ID FROM GET_RPERIOD_ID").toInt());
    fb::exec(tra,
             "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST, SUM_OST1) "
             "VALUES (?, ?, ?, '*', 0, 0, ?, NULL)",
             {id, date1, date2, first ? Value(Decimal()) : Value()});
    return id;
}

QDate closeDateFor(const QDate& date2) {
    const QDate next = date2.addDays(1);
    return QDate(next.year(), next.month(), next.daysInMonth());
}

int closePeriod(fb::Transaction& tra, int periodId) {
    const QDate d2 = fb::scalar(tra, "SELECT DATE_2 FROM RPERIOD WHERE ID = ?", {periodId}).toDate();
    fb::exec(tra, "EXECUTE PROCEDURE P_PERIOD_CLOSE(?, ?)", {periodId, closeDateFor(d2)});
    return int(fb::scalar(tra, "SELECT MAX(ID) FROM RPERIOD").toInt());
}

}  // namespace obrixdb
