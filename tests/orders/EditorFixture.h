#pragma once
#include "TestDatabase.h"
// The editor's tests: a demo workshop database (a copy per test), the data
// module connected to it, and a stand-in main window whose journal holds the
// orders of the open work period, as the program's main window does.
#include "session/Global.h"
#include "ui/JournalHost.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "db/DbCreate.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "orders/ui/Docu.h"
#include "orders/core/DocuCalc.h"
#include "orders/ui/OrderWindows.h"
#include "ui/ErrorDB.h"

#include <QFile>
#include <QTemporaryDir>
#include <QWidget>
#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace editortest {

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

// The demo workshop, with one service of shoe repair that no order uses yet
// (ID 90001, 123.45), so that another workstation can delete it.
inline const QString& demoDatabase() {
    static QTemporaryDir dir;
    static const QString path = [] {
        const QString p = testdb::copyDatabase(testdb::templatePath(testdb::Template::Demo, QDate(2026, 3, 15)), dir,
                                               QStringLiteral("demo.fdb"));
        auto att = std::make_unique<fb::Attachment>(p);
        fb::Transaction tra(*att);
        const qint64 gr = fb::scalar(tra, QStringLiteral("SELECT MIN(ID) FROM USLUGAGR WHERE KINDDOC_ID=1")).toInt();
        fb::exec(tra, QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (90001, ?, 'Проверочная услуга', 123.45)"),
                 {fb::Value(gr)});
        tra.commit();
        att->close();
        return p;
    }();
    return path;
}

// The main window as far as the editor sees it: the journal of service orders.
class TTestMain : public QWidget, public IJournalHost {
public:
    TTestMain() {
        cdsDocu = new TClientDataSet(this, QStringLiteral("cdsDocu"));
        cdsDocu->setCommandText(QStringLiteral("SELECT * FROM DOCU WHERE RPERIOD_ID=:RPERIOD_ID ORDER BY DATEP, NUMBER"));
        cdsDocu->setTableName(QStringLiteral("DOCU"));
        cdsDocu->setKeepServerOrder(true);
    }
    TClientDataSet* journalDocu() override { return cdsDocu; }
    TClientDataSet* journalDocs() override { return nullptr; }
    void UpdateStatusBar() override {}
    void ReopenJournals() override {}
    TClientDataSet* cdsDocu;
};

class EditorTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::copyDatabase(demoDatabase(), m_dir);
        ResetGlobalState();
        auto& reg = WindowRegistry::instance();
        reg.clearFactories();
        reg.registerFactory(QStringLiteral("frmMain"), [] { return new TTestMain; });
        reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
        reg.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
        reg.registerFactory(QStringLiteral("frmErrorMes"), [] { return new TfrmErrorMes; });
        RegisterOrderWindows();
        reg.createAll();
        DM().connectDatabase(path);
        DM().openLookups();
        GL.Connected = true;
        GL.RPeriodID = int(scalar(QStringLiteral("SELECT MAX(ID) FROM RPERIOD")).toInt());
        GL.RPeriodOpen = true;
        GL.ZakView = GL.ZakInsert = GL.ZakEdit = GL.ZakDelete = true;
        GL.OperatorID = 1;
        host = Window<TTestMain>(QStringLiteral("frmMain"));
        editor = Window<TfrmDocu>(QStringLiteral("frmDocu"));
        ASSERT_TRUE(host && editor);
        journal().query().setParam(QStringLiteral("RPERIOD_ID"), GL.RPeriodID);
        journal().open();
        AttachDocuRules(journal());
    }
    void TearDown() override {
        WindowRegistry::instance().destroyAll();
        WindowRegistry::instance().clearFactories();
        ResetGlobalState();
    }

    TClientDataSet& journal() { return *host->cdsDocu; }

    // Reads through a separate attachment (what another workstation sees).
    fb::Value scalar(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Attachment other(path);
        fb::Transaction tra(other);
        fb::Value v = fb::scalar(tra, sql, params);
        tra.commit();
        other.close();
        return v;
    }
    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Attachment other(path);
        {
            fb::Transaction tra(other);
            fb::exec(tra, sql, params);
            tra.commit();
        }
        other.close();
    }
    qint64 count(const QString& table, const QString& where) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE ") + where).toInt();
    }

    // An order of the open period of the kind with at least `lines` service lines; the journal stands on it.
    int existingOrder(int kind, int lines = 2) {
        const fb::Value id = scalar(
            QStringLiteral("SELECT MIN(D.ID) FROM DOCU D WHERE D.RPERIOD_ID=? AND D.KINDDOC_ID=? AND "
                           "(SELECT COUNT(*) FROM UMOVES U WHERE U.DOC_ID=D.ID)>=?"),
            {GL.RPeriodID, kind, lines});
        EXPECT_FALSE(id.isNull());
        EXPECT_TRUE(journal().locate(QStringLiteral("ID"), id));
        return int(id.toInt());
    }

    // A new order stored the way the main window stores it before opening the editor.
    int newOrder(int kind) {
        const int id = int(scalar(QStringLiteral("SELECT MAX(ID)+1 FROM DOCU")).toInt());
        TClientDataSet& d = journal();
        d.append();
        d.fieldByName(QStringLiteral("ID")).setAsInteger(id);
        d.fieldByName(QStringLiteral("KINDDOC_ID")).setAsInteger(kind);
        d.fieldByName(QStringLiteral("RPERIOD_ID")).setAsInteger(GL.RPeriodID);
        d.fieldByName(QStringLiteral("SERIES")).setAsString(QStringLiteral("АА"));
        d.fieldByName(QStringLiteral("NUMBER")).setAsInteger(900000 + id % 1000);
        d.fieldByName(QStringLiteral("DATEP")).setAsDate(QDate(2026, 3, 15));
        d.fieldByName(QStringLiteral("ZAKAZCH_ID")).setAsInteger(1);
        d.fieldByName(QStringLiteral("PRIEMSCHIK_ID")).setAsInteger(1);
        d.fieldByName(QStringLiteral("TOTAL")).setAsDecimal(fb::Decimal());
        d.fieldByName(QStringLiteral("OTKLTYPE")).setAsInteger(0);
        d.fieldByName(QStringLiteral("RECEIVED")).setAsDecimal(fb::Decimal());
        d.fieldByName(QStringLiteral("DEBT")).setAsDecimal(fb::Decimal());
        d.post();
        EXPECT_EQ(d.applyUpdates(), 0) << d.lastApplyError().toStdString();
        EXPECT_TRUE(d.locate(QStringLiteral("ID"), id));
        return id;
    }

    // Opens the editor as the main window does; the script answers it.
    int openEditor(bool isNew) {
        editor->setIsNewDoc(isNew);
        return execModal(editor);
    }

    // Values of a column of a line list, in its order.
    static QStringList column(TClientDataSet& ds, const QString& field) {
        QStringList out;
        const int idx = ds.fieldByName(field).index();
        for (int r = 0; r < ds.recordCount(); ++r) out << ds.valueAt(r, idx).toString();
        return out;
    }

    QString path;
    TTestMain* host = nullptr;
    TfrmDocu* editor = nullptr;

private:
    QTemporaryDir m_dir;
};

}  // namespace editortest
