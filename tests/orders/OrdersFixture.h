#pragma once
#include "TestDatabase.h"
// Every test works on its own copy of one freshly created working database,
// seeded with a small workshop: a closed February and an open March period,
// goods, services with accompanying goods, a product and order 1 (March).
#include "session/Global.h"
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "orders/core/DocuSave.h"
#include "orders/core/DocuCalc.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace orderstest {

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

inline const QString& templateDatabase() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = testdb::copyDatabase(testdb::templatePath(), dir, QStringLiteral("template.fdb"));
        fb::Attachment att(p);
        fb::Transaction tra(att);
        const char* seed[] = {
            "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (1, '2009-02-01', '2009-02-28', '#')",
            "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (2, '2009-03-01', '2009-03-31', '*')",
            "INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Материалы', 1)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (1, 1, 'Клей', 10)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (2, 1, 'Нитки', 3)",
            "INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (3, 1, 'Бегунок', 7.5)",
            "INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Ремонт', 1, 1)",
            // A: goods 1 (2 pcs at 10.00) and 2 (0.5 at 3.00); B: no goods; C: goods 3 (1 at 7.50)
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 150)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (2, 1, 'Чистка', 400)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (3, 1, 'Молния', 250.5)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 2, 0.5, 3)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (1, 1, 2, 10)",
            "INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (3, 3, 1, 7.5)",
            "INSERT INTO PRODUCTGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Обувь', 1, 1)",
            "INSERT INTO PRODUCT (ID, GR_ID, NAME) VALUES (1, 1, 'Сапоги')",
            "INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, PRIEMSCHIK_ID, "
            "TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT) "
            "VALUES (1, 1, 2, 'АА', 17, '2009-03-05', 1, 1, 0, 0, 0, 0, 0, 0, 0)",
            // an ordinary stock document: the next stock number is 42
            "INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (1, 101, 2, '2009-03-02', '41', 0)",
        };
        for (const char* sql : seed) fb::exec(tra, QString::fromUtf8(sql));
        tra.commit();
        att.close();
        return p;
    }();
    return path;
}

class OrdersTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::copyDatabase(templateDatabase(), m_dir);
        att = std::make_unique<fb::Attachment>(path);
        ResetGlobalState();
        GL.RPeriodID = 2;
        GL.RPeriodOpen = true;
        UchetOptions.AutoSklad = true;
    }
    void TearDown() override {
        docu.reset();
        pmoves.reset();
        umoves.reset();
        if (att) att->close();
        ResetGlobalState();
    }

    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(*att);
        fb::exec(tra, sql, params);
        tra.commit();
    }
    fb::Value scalar(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(*att);
        fb::Value v = fb::scalar(tra, sql, params);
        tra.commit();
        return v;
    }
    qint64 count(const QString& table, const QString& where = QString()) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                      (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where))
            .toInt();
    }

    // What the editor hands the order's document service: the test's period and options.
    static TDocuSaveInput saveInput(bool headerOnly) {
        TDocuSaveInput in;
        in.periodId = GL.RPeriodID;
        in.periodOpen = GL.RPeriodOpen;
        in.autoSklad = UchetOptions.AutoSklad;
        in.headerOnly = headerOnly;
        return in;
    }

    std::unique_ptr<TClientDataSet> dataSet(const QString& sql, const QString& name) {
        auto ds = std::make_unique<TClientDataSet>(nullptr, name);
        ds->setAttachment(att.get());
        ds->setCommandText(sql);
        return ds;
    }

    // The orders of the open period as the journal holds them, with the rules
    // attached, standing on order `id`; the order's two line lists.
    void openOrder(int id = 1) {
        docu = dataSet(QStringLiteral("SELECT * FROM DOCU WHERE RPERIOD_ID=:RPERIOD_ID ORDER BY DATEP, NUMBER"),
                       QStringLiteral("cdsDocu"));
        docu->addCalcField(QStringLiteral("SERNUM"), TFieldType::Text, 20);
        docu->query().setParam(QStringLiteral("RPERIOD_ID"), GL.RPeriodID);
        docu->open();
        AttachDocuRules(*docu);
        ASSERT_TRUE(docu->locate(QStringLiteral("ID"), id));
        pmoves = dataSet(QStringLiteral("SELECT * FROM PMOVES WHERE DOC_ID=:CURDOC_ID ORDER BY NPP"),
                         QStringLiteral("cdsPMoves"));
        pmoves->query().setParam(QStringLiteral("CURDOC_ID"), id);
        pmoves->open();
        umoves = dataSet(QStringLiteral("SELECT * FROM UMOVES WHERE DOC_ID=:CURDOC_ID ORDER BY NPP"),
                         QStringLiteral("cdsUMoves"));
        umoves->query().setParam(QStringLiteral("CURDOC_ID"), id);
        umoves->open();
    }

    int docuId() const { return docu->fieldByName(QStringLiteral("ID")).asInteger(); }

    // A service line as the editor appends it (not saved).
    void addService(int uslugaId, const char* summa) {
        const int id = int(scalar(QStringLiteral("SELECT ID FROM GET_UMOVES_ID")).toInt());
        const int npp = int(scalar(QStringLiteral("SELECT NPP FROM GET_UMOVES_NPP")).toInt());
        umoves->append();
        umoves->fieldByName(QStringLiteral("ID")).setAsInteger(id);
        umoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(docuId());
        umoves->fieldByName(QStringLiteral("NUM")).setAsInteger(umoves->recordCount());
        umoves->fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(uslugaId);
        umoves->fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec(summa));
        umoves->fieldByName(QStringLiteral("NPP")).setAsInteger(npp);
        umoves->post();
    }
    void addProduct(int productId = 1) {
        const int id = int(scalar(QStringLiteral("SELECT ID FROM GET_PMOVES_ID")).toInt());
        const int npp = int(scalar(QStringLiteral("SELECT NPP FROM GET_PMOVES_NPP")).toInt());
        pmoves->append();
        pmoves->fieldByName(QStringLiteral("ID")).setAsInteger(id);
        pmoves->fieldByName(QStringLiteral("DOC_ID")).setAsInteger(docuId());
        pmoves->fieldByName(QStringLiteral("NUM")).setAsInteger(pmoves->recordCount());
        pmoves->fieldByName(QStringLiteral("PRODUCT_ID")).setAsInteger(productId);
        pmoves->fieldByName(QStringLiteral("PROCIZN")).setAsInteger(50);
        pmoves->fieldByName(QStringLiteral("NPP")).setAsInteger(npp);
        pmoves->post();
    }

    fb::Decimal amount(const char* field) const { return docu->fieldByName(QString::fromLatin1(field)).asDecimal(); }
    void set(const char* field, const fb::Value& v) {
        if (!docu->isEditing()) docu->edit();
        docu->fieldByName(QString::fromLatin1(field)).setValue(v);
    }

    QString path;
    std::unique_ptr<fb::Attachment> att;
    std::unique_ptr<TClientDataSet> docu, pmoves, umoves;

private:
    QTemporaryDir m_dir;
};

}  // namespace orderstest
