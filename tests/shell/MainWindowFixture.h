#pragma once
// The real main window connected to a copy of a demo (or empty) working
// database, as the connect command leaves it: lookups open, the latest work
// period current, the organisation's parameters loaded, both journals open.
#include "TestDatabase.h"
#include "session/Global.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "shell/Main.h"

#include <QAction>
#include <QPushButton>
#include <QTabBar>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace maintest {

// Today as the demo database was filled: its last period is this month.
inline QDate demoToday() { return QDate(2026, 12, 9); }

inline QString makeTemplate(bool demo) {
    return testdb::templatePath(demo ? testdb::Template::Demo : testdb::Template::Empty, demoToday());
}

class MainWindowTest : public ::testing::Test {
protected:
    virtual bool demo() const { return true; }

    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = m_dir.filePath(QStringLiteral("test.fdb"));
        ASSERT_TRUE(QFile::copy(makeTemplate(demo()), path));
        QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner);
        main = Window<TfrmMain>(QStringLiteral("frmMain"));
        ASSERT_NE(main, nullptr);
        ResetGlobalState();
        main->findChild<QTabBar*>(QStringLiteral("TabControl"))->setCurrentIndex(0);
    }

    void TearDown() override {
        main->journalDocu()->close();
        main->journalDocs()->close();
        DM().disconnectDatabase();
        ResetGlobalState();
    }

    // Connects as the connect command does and logs in as an operator with every right.
    void connect() {
        DM().connectDatabase(path);
        DM().openLookups();
        TClientDataSet& periods = *DM().cdsRPeriod;
        GL.RPeriodID = -1;
        if (!periods.isEmpty()) {
            periods.last();
            GL.RPeriodID = periods.fieldByName(QStringLiteral("ID")).asInteger();
            GL.RPeriodDate1 = periods.fieldByName(QStringLiteral("DATE_1")).asDate();
            GL.RPeriodDate2 = periods.fieldByName(QStringLiteral("DATE_2")).asDate();
            GL.RPeriodOpen = periods.fieldByName(QStringLiteral("ACT")).asString().trimmed() == QStringLiteral("*");
        }
        UchetOptions.SerDef = QStringLiteral("АБ");
        UchetOptions.VremDef = QStringLiteral("после 17:00");
        UchetOptions.DVDelta = 4;
        GL.Connected = true;
        GL.OperatorID = 1;
        GL.RoleName = QStringLiteral("Администратор");
        GL.ZakView = GL.ZakInsert = GL.ZakEdit = GL.ZakDelete = true;
        GL.SklView = GL.SklInsert = GL.SklEdit = GL.SklDelete = true;
        GL.DostupBook = GL.DostupBookUser = true;
        main->OpenJournals();
    }

    fb::Value scalar(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(DM().connection());
        fb::Value v = fb::scalar(tra, sql, params);
        tra.commit();
        return v;
    }
    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(DM().connection());
        fb::exec(tra, sql, params);
        tra.commit();
    }
    qint64 count(const QString& sqlFromWhere) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + sqlFromWhere).toInt();
    }

    bool enabled(const char* action) const {
        main->UpdateActionsWorkingWithDB();
        return main->action(QString::fromLatin1(action))->isEnabled();
    }

    // Answers the kind choice with the first kind offered.
    static void chooseFirstKind(ModalScript& script) {
        script.onDialog(QStringLiteral("frmNewDoc"), [](QDialog* d) {
            d->findChild<QPushButton*>(QStringLiteral("Ok"))->click();
        });
    }

    QString path;
    TfrmMain* main = nullptr;

private:
    QTemporaryDir m_dir;
};

class EmptyDatabaseTest : public MainWindowTest {
protected:
    bool demo() const override { return false; }
};

}  // namespace maintest
