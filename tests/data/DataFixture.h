#pragma once
// Every test works on its own copy of one freshly created working database.
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "TestDatabase.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/DbError.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace datatest {

inline QString templateDatabase() { return testdb::templatePath(); }

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

class DataTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::freshCopy(m_dir);
        att = std::make_unique<fb::Attachment>(path);
    }
    void TearDown() override {
        if (att) att->close();
    }

    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) { exec(*att, sql, params); }
    static void exec(fb::Attachment& a, const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(a);
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

    // A dataset over `sql` on this test's database.
    std::unique_ptr<TClientDataSet> dataSet(const QString& sql, const QString& name = QStringLiteral("cdsTest")) {
        auto ds = std::make_unique<TClientDataSet>(nullptr, name);
        ds->setAttachment(att.get());
        ds->setCommandText(sql);
        return ds;
    }

    // Values of one column over the rows of the dataset, in its order (cursor restored).
    static QStringList column(TClientDataSet& ds, const QString& field) {
        QStringList out;
        const int idx = ds.fieldByName(field).index();
        for (int r = 0; r < ds.recordCount(); ++r) out << ds.valueAt(r, idx).toString();
        return out;
    }

    // A work period, three services and order 1 (kind 1, АА 17 of 05.03.2009)
    // with service lines 1, 2, 3 at NPP 10, 20, 30.
    void seedOrder() {
        exec(QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (1, '2009-03-01', '2009-03-31', '*')"));
        exec(QStringLiteral("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Ремонт', 1, 1)"));
        exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (1, 1, 'Набойки', 150)"));
        exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (2, 1, 'Подошва', 400)"));
        exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (3, 1, 'Молния', 250.5)"));
        exec(QStringLiteral("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, "
                            "PRIEMSCHIK_ID, TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT, GARANT) "
                            "VALUES (1, 1, 1, 'АА', 17, '2009-03-05', 1, 1, 800.5, 0, 0, 0, 800.5, 0, 800.5, 3)"));
        exec(QStringLiteral("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (1, 1, 1, 1, 150, 10)"));
        exec(QStringLiteral("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (2, 1, 2, 2, 400, 20)"));
        exec(QStringLiteral("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (3, 1, 3, 3, 250.5, 30)"));
    }

    // The service lines of order 1, ordered by NPP.
    std::unique_ptr<TClientDataSet> lines() {
        auto ds = dataSet(QStringLiteral("SELECT * FROM UMOVES WHERE DOC_ID=:DOC_ID ORDER BY NPP"),
                          QStringLiteral("cdsUMoves"));
        ds->query().setParam(QStringLiteral("DOC_ID"), 1);
        return ds;
    }

    QString path;
    std::unique_ptr<fb::Attachment> att;

private:
    QTemporaryDir m_dir;
};

}  // namespace datatest
