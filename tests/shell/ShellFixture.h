#pragma once
#include "TestDatabase.h"
// The shell dialog tests: the program's windows come from the registry (the
// data module among them), every test gets its own copy of a fresh working
// database and its own settings file.
#include "session/Global.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "session/Settings.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace shelltest {

inline QString templateDatabase() { return testdb::templatePath(); }

class ShellTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ResetGlobalState();
        iniPath = m_dir.filePath(QStringLiteral("obrix.ini"));
        settings::setFilePath(iniPath);
        dbPath = testdb::copyDatabase(templateDatabase(), m_dir);
        AppOptions.ConnectKind = 1;
        AppOptions.LocalDBName = dbPath;
    }
    void TearDown() override {
        DM().disconnectDatabase();
        settings::setFilePath(QString());
        ResetGlobalState();
    }

    // Runs statements on the test's database before the program connects.
    void prepare(const QStringList& statements) {
        fb::Attachment att(dbPath);
        for (const QString& sql : statements) att.executeImmediate(sql);
        att.close();
    }
    // One value read through the program's connection.
    fb::Value scalar(const QString& sql) {
        fb::Transaction tra(DM().connection());
        fb::Value v = fb::scalar(tra, sql, {});
        tra.commit();
        return v;
    }
    QString iniText() const {
        QFile f(iniPath);
        if (!f.open(QIODevice::ReadOnly)) return QString();
        return QString::fromUtf8(f.readAll());
    }
    void writeIni(const QString& text) {
        QFile f(iniPath);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(text.toUtf8());
    }

    QString iniPath;
    QString dbPath;

private:
    QTemporaryDir m_dir;
};

template <class T>
T* child(QObject* parent, const char* name) {
    T* w = parent->findChild<T*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

}  // namespace shelltest
