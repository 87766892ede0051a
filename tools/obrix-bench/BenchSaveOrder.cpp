// Service orders: saving an order with 3 product lines and 10 service lines
// whose services consume 20 goods in all, the automatic write-off included.
#include "BenchCase.h"

#include "session/Global.h"
#include "data/ClientDataSet.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "orders/core/DocuCalc.h"
#include "orders/core/DocuSave.h"

#include <QDate>
#include <QElapsedTimer>
#include <QTextStream>
#include <algorithm>
#include <map>
#include <stdexcept>

namespace {

constexpr int kRuns = 30;
constexpr int kServiceLines = 10;
constexpr int kGoods = 20;
constexpr int kProductLines = 3;

struct Setting {
    int periodId = 0;
    QDate date;
    int zakazchId = 0;
    std::vector<int> products;
    std::vector<int> services;  // kServiceLines services consuming kGoods goods in all
};

fb::Value one(fb::Transaction& tra, const QString& sql, const std::vector<fb::Value>& params = {}) {
    const fb::Value v = fb::scalar(tra, sql, params);
    if (v.isNull()) throw std::runtime_error("В базе нет данных для замера: " + sql.toStdString());
    return v;
}

// Services picked (repeats allowed) so that their goods lists add up to kGoods.
std::vector<int> pickServices(fb::Transaction& tra) {
    std::map<int, int> serviceOfCount;  // goods per service -> one such service
    fb::Statement st(tra, QStringLiteral("SELECT USLUGA_ID, COUNT(*) FROM USLTOV GROUP BY USLUGA_ID"));
    st.execute();
    while (st.fetch()) serviceOfCount.emplace(int(st.value(1).toInt()), int(st.value(0).toInt()));
    serviceOfCount.emplace(0, int(one(tra, QStringLiteral("SELECT MIN(ID) FROM USLUGA")).toInt()));
    // reach[k][g]: a count that ends a choice of k services with g goods
    std::vector<std::vector<int>> reach(kServiceLines + 1, std::vector<int>(kGoods + 1, -1));
    reach[0][0] = 0;
    for (int k = 1; k <= kServiceLines; ++k)
        for (int g = 0; g <= kGoods; ++g)
            for (const auto& [c, id] : serviceOfCount)
                if (c <= g && reach[k - 1][g - c] >= 0) { reach[k][g] = c; break; }
    if (reach[kServiceLines][kGoods] < 0) throw std::runtime_error("Нет услуг с нужным числом сопутствующих товаров");
    std::vector<int> out;
    for (int k = kServiceLines, g = kGoods; k > 0; --k) {
        const int c = reach[k][g];
        out.push_back(serviceOfCount.at(c));
        g -= c;
    }
    return out;
}

Setting prepare(fb::Attachment& att) {
    Setting s;
    fb::Transaction tra(att);
    s.periodId = int(one(tra, QStringLiteral("SELECT MAX(ID) FROM RPERIOD")).toInt());
    s.date = one(tra, QStringLiteral("SELECT DATE_1 FROM RPERIOD WHERE ID = ?"), {s.periodId}).toDate();
    s.zakazchId = int(one(tra, QStringLiteral("SELECT MAX(ID) FROM ZAKAZCH")).toInt());
    fb::Statement st(tra, QStringLiteral("SELECT FIRST 3 ID FROM PRODUCT ORDER BY ID"));
    st.execute();
    while (st.fetch()) s.products.push_back(int(st.value(0).toInt()));
    if (s.products.size() < kProductLines) throw std::runtime_error("В базе меньше трёх изделий");
    s.services = pickServices(tra);
    tra.commit();
    return s;
}

int drawn(fb::Attachment& att, const QString& sql) {
    fb::Transaction tra(att);
    const int v = int(one(tra, sql).toInt());
    tra.commit();
    return v;
}

std::unique_ptr<TClientDataSet> lineList(fb::Attachment& att, const QString& table, int docId) {
    auto ds = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cds") + table);
    ds->setAttachment(&att);
    ds->setCommandText(QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE DOC_ID=:CURDOC_ID ORDER BY NPP"));
    ds->query().setParam(QStringLiteral("CURDOC_ID"), docId);
    ds->open();
    return ds;
}

// A new order as the main window stores it, filled as the editor fills it;
// returns the nanoseconds SaveDocu takes.
qint64 saveOneOrder(fb::Attachment& att, TClientDataSet& docu, const Setting& s, int number) {
    const int docId = drawn(att, QStringLiteral("SELECT ID FROM GET_DOCU_ID"));
    docu.append();
    const std::vector<std::pair<const char*, fb::Value>> header = {
        {"ID", docId},         {"KINDDOC_ID", 1}, {"RPERIOD_ID", s.periodId},   {"SERIES", QStringLiteral("АА")},
        {"NUMBER", number},    {"DATEP", s.date}, {"ZAKAZCH_ID", s.zakazchId}, {"PRIEMSCHIK_ID", 1},
        {"TOTAL", 0},          {"OTKLTYPE", 0},   {"RECEIVED", 0},              {"DEBT", 0}};
    for (const auto& [name, value] : header) docu.fieldByName(QString::fromLatin1(name)).setValue(value);
    docu.post();
    if (docu.applyUpdates() != 0) throw std::runtime_error(docu.lastApplyError().toStdString());

    auto pmoves = lineList(att, QStringLiteral("PMOVES"), docId);
    auto umoves = lineList(att, QStringLiteral("UMOVES"), docId);
    int num = 0;
    for (int product : s.products) {
        pmoves->append();
        pmoves->fieldByName(QStringLiteral("ID")).setAsInteger(drawn(att, QStringLiteral("SELECT ID FROM GET_PMOVES_ID")));
        pmoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(docId);
        pmoves->fieldByName(QStringLiteral("NUM")).setAsInteger(++num);
        pmoves->fieldByName(QStringLiteral("PRODUCT_ID")).setAsInteger(product);
        pmoves->fieldByName(QStringLiteral("PROCIZN")).setAsInteger(50);
        pmoves->fieldByName(QStringLiteral("NPP")).setAsInteger(drawn(att, QStringLiteral("SELECT NPP FROM GET_PMOVES_NPP")));
        pmoves->post();
    }
    num = 0;
    for (int service : s.services) {
        umoves->append();
        umoves->fieldByName(QStringLiteral("ID")).setAsInteger(drawn(att, QStringLiteral("SELECT ID FROM GET_UMOVES_ID")));
        umoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(docId);
        umoves->fieldByName(QStringLiteral("NUM")).setAsInteger(++num);
        umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(service);
        umoves->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(fb::Decimal::fromString(QStringLiteral("250.50")));
        umoves->fieldByName(QStringLiteral("NPP")).setAsInteger(drawn(att, QStringLiteral("SELECT NPP FROM GET_UMOVES_NPP")));
        umoves->post();
    }
    CalcTotal(docu, *umoves);
    docu.edit();
    docu.fieldByName(QStringLiteral("RECEIVED")).setAsDecimal(fb::Decimal(1000));

    QElapsedTimer t;
    t.start();
    TDocuSaveInput input;
    input.periodId = GL.RPeriodID;
    input.periodOpen = GL.RPeriodOpen;
    input.autoSklad = UchetOptions.AutoSklad;
    SaveDocu(docu, *pmoves, *umoves, input);
    return t.nsecsElapsed();
}

qint64 saveOrder(fb::Attachment& att) {
    const Setting s = prepare(att);
    GL.RPeriodID = s.periodId;
    GL.RPeriodOpen = true;
    UchetOptions.AutoSklad = true;

    TClientDataSet docu(nullptr, QStringLiteral("cdsDocu"));
    docu.setAttachment(&att);
    docu.setCommandText(QStringLiteral("SELECT * FROM DOCU WHERE RPERIOD_ID=:RPERIOD_ID ORDER BY DATEP, NUMBER"));
    docu.query().setParam(QStringLiteral("RPERIOD_ID"), s.periodId);
    docu.open();
    AttachDocuRules(docu);

    const int firstNumber = drawn(att, QStringLiteral("SELECT MAXNUM FROM GET_MAX_DOCU_NUMBER"));
    int number = firstNumber;
    std::vector<qint64> ns;
    for (int i = 0; i < kRuns; ++i) ns.push_back(saveOneOrder(att, docu, s, ++number));

    // Every run must have written its 20 goods off.
    fb::Transaction tra(att);
    const qint64 lines = fb::scalar(tra, QStringLiteral("SELECT COUNT(*) FROM MOVES M JOIN DOCS D ON D.ID = M.DOC_ID "
                                                         "JOIN DOCU O ON O.ID = D.DOCU_ID "
                                                         "WHERE D.KINDDOC_ID = 102 AND O.RPERIOD_ID = ? AND O.NUMBER > ?"),
                                    {s.periodId, firstNumber})
                             .toInt();
    tra.commit();
    if (lines != qint64(kRuns) * kGoods) throw std::runtime_error("Списание записало не то число строк");

    std::sort(ns.begin(), ns.end());
    const double median = (ns[kRuns / 2 - 1] + ns[kRuns / 2]) / 2.0 / 1e6;
    QTextStream out(stdout);
    out << "save_order: median " << QString::number(median, 'f', 2) << " ms over " << kRuns
        << " saves (min " << QString::number(ns.front() / 1e6, 'f', 2) << ", max "
        << QString::number(ns.back() / 1e6, 'f', 2) << "; target < 30 ms)\n";
    out.flush();
    return qint64(median + 0.5);
}

}  // namespace

std::vector<BenchCase> orderBenchCases() {
    return {{QStringLiteral("save_order"),
             QStringLiteral("медиана сохранения заказа: 3 изделия, 10 услуг, списание 20 товаров"), saveOrder, 30, true}};
}
