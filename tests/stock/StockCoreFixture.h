#pragma once
#include "TestDatabase.h"
// Every test works on its own copy of one freshly created working database,
// connected through the data module as the program is. No windows, no global records.
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

namespace stocktest {

inline QString templateDatabase() { return testdb::templatePath(); }

inline QDate d(const char* iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

class StockCoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::copyDatabase(templateDatabase(), m_dir);
        beforeConnect();
        DM().connectDatabase(path);
    }
    // What a fixture sets up between copying the database and connecting to it.
    virtual void beforeConnect() {}
    QString inTestDir(const QString& name) const { return m_dir.filePath(name); }
    void TearDown() override { DM().disconnectDatabase(); }

    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) { DM().execSQL(sql, params); }
    fb::Value scalar(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(DM().connection());
        fb::Value v = fb::scalar(tra, sql, params);
        tra.commit();
        return v;
    }
    qint64 periodCount() { return scalar(QStringLiteral("SELECT COUNT(*) FROM RPERIOD")).toInt(); }
    qint64 generator() { return scalar(QStringLiteral("SELECT GEN_ID(GEN_RPERIOD_ID, 0) FROM RDB$DATABASE")).toInt(); }
    QString act(int id) { return scalar(QStringLiteral("SELECT ACT FROM RPERIOD WHERE ID = ?"), {id}).toString(); }
    // "DATE_1-DATE_2" of a period, ISO dates.
    QString datesOf(int id) {
        fb::Transaction tra(DM().connection());
        fb::Statement s(tra, QStringLiteral("SELECT DATE_1, DATE_2 FROM RPERIOD WHERE ID = ?"));
        s.set(0, id);
        s.execute();
        QString out = QStringLiteral("<none>");
        if (s.fetch()) out = s.value(0).toDate().toString(Qt::ISODate) + "-" + s.value(1).toDate().toString(Qt::ISODate);
        tra.commit();
        return out;
    }
    int lastId() { return int(scalar(QStringLiteral("SELECT MAX(ID) FROM RPERIOD")).toInt()); }
    // A period written straight into the database.
    int period(const char* d1, const char* d2, const char* act = "*", fb::Value sumOst = fb::Value()) {
        const int id = int(scalar(QStringLiteral("SELECT ID FROM GET_RPERIOD_ID")).toInt());
        exec(QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) "
                            "VALUES (?, ?, ?, ?, 0, 0, ?)"),
             {id, d(d1), d(d2), QString::fromLatin1(act), sumOst});
        return id;
    }
    // Makes the database refuse every insert (or delete) of a period.
    void refusePeriods(const char* what) {
        DM().connection().executeImmediate(QStringLiteral("CREATE EXCEPTION E_NO_PERIODS 'Периоды запрещены'"));
        DM().connection().executeImmediate(
            QStringLiteral("CREATE TRIGGER T_NO_PERIODS FOR RPERIOD ACTIVE BEFORE %1 POSITION 5 AS "
                           "BEGIN EXCEPTION E_NO_PERIODS; END")
                .arg(QString::fromLatin1(what)));
    }

    QString path;

private:
    QTemporaryDir m_dir;
};

}  // namespace stocktest
