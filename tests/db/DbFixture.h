#pragma once
// Every test works on its own copy of one freshly created database.
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

namespace dbtest {

using Row = std::vector<fb::Value>;
using Rows = std::vector<Row>;

inline QString templateDatabase() { return testdb::templatePath(); }

class DbTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        m_path = testdb::freshCopy(m_dir);
        att = std::make_unique<fb::Attachment>(m_path);
    }
    void TearDown() override {
        if (att) att->close();
    }

    // One statement in its own committed transaction.
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
    Rows rows(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(*att);
        fb::Statement s(tra, sql);
        for (size_t i = 0; i < params.size(); ++i) s.set(int(i), params[i]);
        s.execute();
        Rows out;
        while (s.fetch()) {
            Row r;
            for (int c = 0; c < s.columnCount(); ++c) r.push_back(s.value(c));
            out.push_back(std::move(r));
        }
        tra.commit();
        return out;
    }
    qint64 count(const QString& table, const QString& where = QString(),
                 const std::vector<fb::Value>& params = {}) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table +
                          (where.isEmpty() ? QString() : QStringLiteral(" WHERE ") + where),
                      params)
            .toInt();
    }
    // The constraint named by the refusal of `sql`, or "<no error>".
    QString refusal(const QString& sql, const std::vector<fb::Value>& params = {}) {
        try {
            exec(sql, params);
        } catch (const fb::DbError& e) {
            return e.constraintName().isEmpty() ? e.serverText() : e.constraintName();
        }
        return QStringLiteral("<no error>");
    }

    std::unique_ptr<fb::Attachment> att;

private:
    QTemporaryDir m_dir;
    QString m_path;
};

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

}  // namespace dbtest
