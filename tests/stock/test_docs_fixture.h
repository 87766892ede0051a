#pragma once
#include "TestDatabase.h"
#include "stock/core/DocsJournal.h"
#include "orders/core/DocuJournal.h"
#include "data/Journal.h"
// The stock document editor's tests: a fresh working database per test with
// one open work period and a few goods of known values, the data module
// connected to it, and a stand-in main window whose stock journal lists the
// period's documents as the program's main window does.
#include "session/Global.h"
#include "ui/JournalHost.h"
#include "ui/MessageBoxes.h"
#include "ui/DataRoutines.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "fb/Attachment.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "ui/ErrorDB.h"
#include "shell/JournalDocs.h"
#include "stock/ui/Docs.h"
#include "stock/ui/StockWindows.h"
#include "stock/ui/Tovar.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QApplication>
#include <QKeyEvent>
#include <QTest>
#include <QWidget>
#include <gtest/gtest.h>

#include <vector>

namespace docstest {

inline fb::Decimal dec(const char* s) { return fb::Decimal::fromString(QString::fromLatin1(s)); }

class TDocsHost : public QWidget, public IJournalHost {
public:
    TDocsHost() {
        cdsDocu = new TClientDataSet(this, QStringLiteral("cdsDocu"));
        cdsDocs = new TClientDataSet(this, QStringLiteral("cdsDocs"));
        DefineDocuJournal(*cdsDocu, GL.RPeriodID);
        DefineDocsJournal(*cdsDocs, GL.RPeriodID);
    }
    TClientDataSet* journalDocu() override { return cdsDocu; }
    TClientDataSet* journalDocs() override { return cdsDocs; }
    void UpdateStatusBar() override {}
    void ReopenJournals() override {}
    TClientDataSet* cdsDocu;
    TClientDataSet* cdsDocs;
};

// Goods of the tests: ID, article, bar code, name, unit, price, sale price.
struct Goods {
    int id;
    const char* artikul;
    const char* ean13;
    const char* name;
    const char* cena;
    const char* cenaProd;
};
inline const std::vector<Goods>& goods() {
    static const std::vector<Goods> g = {
        {1, "A-1", "4600000000017", "ABC", "10.00", "15.00"},
        {2, nullptr, nullptr, "Гвозди", "0.99", "1.50"},
        {3, nullptr, "4600000000024", "Клей", "120.00", "180.00"},
        {4, "N-5", nullptr, "Набойки", "35.50", nullptr},
    };
    return g;
}

class DocsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::copyDatabase(testdb::templatePath(), m_dir);
        ResetGlobalState();
        {
            fb::Attachment att(path);
            fb::Transaction tra(att);
            fb::exec(tra, QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT) "
                                         "VALUES (1, '2026-03-01', '2026-03-31', '*', 0, 0)"));
            for (const Goods& g : goods())
                fb::exec(tra,
                         QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, EAN13, NAME, EDIZM, CENA, CENA_PROD) "
                                        "VALUES (?, 0, ?, ?, ?, 'шт', ?, ?)"),
                         {g.id, text(g.artikul), text(g.ean13), text(g.name), money(g.cena), money(g.cenaProd)});
            tra.commit();
            att.close();
        }
        auto& reg = WindowRegistry::instance();
        reg.clearFactories();
        reg.registerFactory(QStringLiteral("frmMain"), [] { return new TDocsHost; });
        reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
        reg.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
        reg.registerFactory(QStringLiteral("frmErrorMes"), [] { return new TfrmErrorMes; });
        RegisterStockWindows();
        reg.createAll();
        DM().connectDatabase(path);
        DM().openLookups();
        GL.Connected = true;
        GL.RPeriodID = 1;
        GL.RPeriodDate1 = QDate(2026, 3, 1);
        GL.RPeriodDate2 = QDate(2026, 3, 31);
        GL.RPeriodOpen = true;
        GL.SklView = GL.SklInsert = GL.SklEdit = GL.SklDelete = true;
        GL.OperatorID = 1;
        host = Window<TDocsHost>(QStringLiteral("frmMain"));
        editor = Window<TfrmDocs>(QStringLiteral("frmDocs"));
        tovarDialog = Window<TfrmTovar>(QStringLiteral("frmTovar"));
        ASSERT_TRUE(host && editor && tovarDialog);
        BindJournalLookups(*host->cdsDocu, *host->cdsDocs, DM());
        OpenJournalOnPeriod(journal(), 1);
    }
    void TearDown() override {
        WindowRegistry::instance().destroyAll();
        WindowRegistry::instance().clearFactories();
        ResetGlobalState();
    }

    static fb::Value text(const char* s) { return s ? fb::Value(QString::fromUtf8(s)) : fb::Value(); }
    static fb::Value money(const char* s) { return s ? fb::Value(dec(s)) : fb::Value(); }

    TClientDataSet& journal() { return *host->cdsDocs; }

    // What another workstation sees.
    fb::Value scalar(const QString& sql, const std::vector<fb::Value>& params = {}) {
        fb::Transaction tra(DM().connection());
        fb::Value v = fb::scalar(tra, sql, params);
        tra.commit();
        return v;
    }
    void exec(const QString& sql, const std::vector<fb::Value>& params = {}) { DM().execSQL(sql, params); }

    // A new document stored as the main window stores it; the journal stands on it.
    int newDoc(int kind) {
        AppendNewDocsRow(journal(), kind, QDate(2026, 3, 15));
        EXPECT_EQ(ApplyJournal(journal()), QString());
        return journal().fieldByName(QStringLiteral("ID")).asInteger();
    }
    // A stored document with lines (goods, quantity, price), the journal standing on it.
    int storedDoc(int kind, const std::vector<std::tuple<int, const char*, const char*>>& lines,
                  const char* comment = "старый") {
        const int id = int(scalar(QStringLiteral("SELECT ID FROM GET_DOCS_ID")).toInt());
        exec(QStringLiteral("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA, COMMENT) "
                            "VALUES (?, ?, 1, '2026-03-10', ?, 0, ?)"),
             {id, kind, QString::number(id), QString::fromUtf8(comment)});
        int npp = 0;
        for (const auto& [tovar, kolvo, cena] : lines) {
            const fb::Decimal k = dec(kolvo), c = dec(cena);
            exec(QStringLiteral("INSERT INTO MOVES (ID, DOC_ID, TOVAR_ID, KOLVO, CENA, SUMMA, NPP) "
                                "VALUES ((SELECT ID FROM GET_MOVES_ID), ?, ?, ?, ?, ?, ?)"),
                 {id, tovar, k, c, (k * c).kopecks(), ++npp * 10});
        }
        OpenJournalOnPeriod(journal(), 1);
        EXPECT_TRUE(journal().locate(QStringLiteral("ID"), id));
        return id;
    }
    qint64 count(const QString& table, const QString& where) {
        return scalar(QStringLiteral("SELECT COUNT(*) FROM ") + table + QStringLiteral(" WHERE ") + where).toInt();
    }

    // Opens the editor as the main window does; the script answers what it shows.
    int openEditor(bool isNew) {
        editor->setIsNewDoc(isNew);
        return execModal(editor);
    }

    // A line dialog action: picks goods by typing its name, sets quantity and price, presses OK.
    static std::function<void(QDialog*)> fillLine(const char* name, const char* kolvo, const char* cena = nullptr,
                                                   const char* cenaRealiz = nullptr) {
        return [=](QDialog* d) {
            auto* t = static_cast<TfrmTovar*>(d);
            typeInto(t->cbTov, QString::fromUtf8(name));
            setText(t->edKolvo, kolvo);
            if (cena) setText(t->edCena, cena);
            if (cenaRealiz) setText(t->edCenaRealiz, cenaRealiz);
            t->btnOk->click();
        };
    }
    // Key presses carrying each character (Cyrillic too), as a keyboard sends them.
    static void typeKeys(QWidget* w, const QString& s) {
        for (const QChar c : s) {
            QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &press);
            QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
            QApplication::sendEvent(w, &release);
        }
    }
    // Typed as a user types: the box is emptied first.
    static void typeInto(QComboBox* box, const QString& s) {
        box->setFocus();
        box->lineEdit()->clear();
        typeKeys(box->lineEdit(), s);
    }
    static void setText(QLineEdit* e, const char* s) {
        e->setFocus();
        e->selectAll();
        typeKeys(e, QString::fromUtf8(s));
        emit e->editingFinished();
    }

    // Values of a column of a dataset, in its order.
    static QStringList column(TClientDataSet& ds, const QString& field) {
        QStringList out;
        const int idx = ds.fieldByName(field).index();
        for (int r = 0; r < ds.recordCount(); ++r) out << ds.valueAt(r, idx).toString();
        return out;
    }

    QString path;
    TDocsHost* host = nullptr;
    TfrmDocs* editor = nullptr;
    TfrmTovar* tovarDialog = nullptr;

private:
    QTemporaryDir m_dir;
};

}  // namespace docstest
