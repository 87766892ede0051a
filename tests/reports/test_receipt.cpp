// Receipt printing on a real order of the demo workshop: the 34 variables as
// the editor holds the order, the form chosen by kind, the line lists bound
// (unsaved lines included), the refusals of missing or broken forms.
#include "ReportFixture.h"
#include "stock/core/DocsJournal.h"
#include "orders/core/DocuJournal.h"
#include "data/Journal.h"
#include "TestDatabase.h"

#include "session/Global.h"
#include "ui/JournalHost.h"
#include "ui/ModalScript.h"
#include "base/RoutsFormat.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "orders/ui/DocPrint.h"
#include "forms/DocVar.h"
#include "orders/ui/Docu.h"
#include "orders/core/DocuCalc.h"
#include "orders/ui/OrderWindows.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportShared.h"
#include "ui/ErrorDB.h"
#include "shell/JournalDocs.h"

#include <QCoreApplication>
#include <QLocale>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

using namespace reporttest;

namespace {

// The main window as far as printing sees it: both journals, defined and bound as the program's.
class TPrintMain : public QWidget, public IJournalHost {
public:
    TPrintMain() {
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

class ReceiptTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        path = testdb::freshCopy(m_dir, testdb::Template::Demo);
        ResetGlobalState();
        auto& reg = WindowRegistry::instance();
        reg.clearFactories();
        reg.registerFactory(QStringLiteral("frmMain"), [] { return new TPrintMain; });
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
        host = Window<TPrintMain>(QStringLiteral("frmMain"));
        editor = Window<TfrmDocu>(QStringLiteral("frmDocu"));
        ASSERT_TRUE(host && editor);
        BindJournalLookups(*host->cdsDocu, *host->cdsDocs, DM());
        frCreateReportObjects();
    }
    void TearDown() override {
        WindowRegistry::instance().destroyAll();
        WindowRegistry::instance().clearFactories();
        ResetGlobalState();
    }

    TClientDataSet& journal() { return *host->cdsDocu; }

    void openJournal() {
        journal().close();
        journal().query().setParam(QStringLiteral("RPERIOD_ID"), GL.RPeriodID);
        journal().open();
        AttachDocuRules(journal());
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

    // An order of the open period of kind `kind` with product and service lines.
    int orderOfKind(int kind) {
        const fb::Value id = scalar(QStringLiteral("SELECT MIN(D.ID) FROM DOCU D WHERE D.RPERIOD_ID=? AND D.KINDDOC_ID=? "
                                                   "AND EXISTS (SELECT * FROM UMOVES U WHERE U.DOC_ID=D.ID)"),
                                    {GL.RPeriodID, kind});
        EXPECT_FALSE(id.isNull());
        return int(id.toInt());
    }

    QString path;
    TPrintMain* host = nullptr;
    TfrmDocu* editor = nullptr;

private:
    QTemporaryDir m_dir;
};

TEST_F(ReceiptTest, VariablesOfASavedOrder) {
    const int id = orderOfKind(1);
    exec(QStringLiteral("UPDATE DOCU SET NUMBER=42, GARANT=2, RECEIVED=1500.5, DEBT=0, OTKLPROC=5, DATEV=NULL, "
                        "DATEVYD='2026-03-20', VREMVYD='после 15:00', COMMENT='Срочно' WHERE ID=?"),
         {id});
    exec(QStringLiteral("UPDATE UCHINFO SET NAMEORG='Мастерская «Каблучок»', INN='6901234567', DENED='руб.'"));
    DM().cdsUchInfo->refresh();
    openJournal();
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), id));

    const TDocuVars v = MakeDOCVAR(journal(), *DM().cdsUchInfo);
    const auto db = [&](const char* sql) { return scalar(QString::fromUtf8(sql), {id}).toString(); };
    EXPECT_EQ(v.NameOrg, QStringLiteral("Мастерская «Каблучок»"));
    EXPECT_EQ(v.INN, QStringLiteral("6901234567"));
    EXPECT_EQ(v.Dened, QStringLiteral("руб."));
    EXPECT_EQ(v.Rukovod, scalar(QStringLiteral("SELECT RUKOVOD FROM UCHINFO")).toString());
    EXPECT_EQ(v.Number, QStringLiteral("000042"));
    EXPECT_EQ(v.Series, db("SELECT SERIES FROM DOCU WHERE ID=?"));
    EXPECT_EQ(v.DateP, QLocale().toString(scalar(QStringLiteral("SELECT DATEP FROM DOCU WHERE ID=?"), {id}).toDate(),
                                          QLocale::ShortFormat));
    EXPECT_EQ(v.DateV, QString());
    EXPECT_EQ(v.DateVyd, QStringLiteral("20.03.2026"));
    EXPECT_EQ(v.VremVyd, QStringLiteral("после 15:00"));
    EXPECT_EQ(v.Zakazch_Name, db("SELECT Z.NAME FROM DOCU D JOIN ZAKAZCH Z ON Z.ID=D.ZAKAZCH_ID WHERE D.ID=?"));
    EXPECT_FALSE(v.Zakazch_Name.isEmpty());
    EXPECT_EQ(v.Zakazch_Phone, db("SELECT Z.PHONE FROM DOCU D JOIN ZAKAZCH Z ON Z.ID=D.ZAKAZCH_ID WHERE D.ID=?"));
    EXPECT_EQ(v.Priemschik_Fio, db("SELECT P.FIO FROM DOCU D JOIN PRIEMSCHIK P ON P.ID=D.PRIEMSCHIK_ID WHERE D.ID=?"));
    EXPECT_EQ(v.Received, QStringLiteral("1") + QChar(160) + QStringLiteral("500,50"));
    EXPECT_EQ(v.Debt, QStringLiteral("0,00"));
    EXPECT_EQ(v.TOTAL, FormatMoney(scalar(QStringLiteral("SELECT TOTAL FROM DOCU WHERE ID=?"), {id}).toDecimal()));
    EXPECT_EQ(v.OTKL, QStringLiteral("5"));
    EXPECT_EQ(v.Comment, QStringLiteral("Срочно"));
    EXPECT_EQ(v.g_1, QString());
    EXPECT_EQ(v.g_2, QStringLiteral("*"));
    EXPECT_EQ(v.g_3, QString());
    EXPECT_EQ(v.GarantName, QStringLiteral("7 дней"));
    // the exact amount, not its display text with separators, is written in words
    EXPECT_EQ(v.SumPolProp, QStringLiteral("Тысяча пятьсот руб. 50 коп. "));

    // the callback answers exact names only
    const TfrReport::GetValue getValue = frReportDocGetValue(v);
    QVariant value;
    getValue(QStringLiteral("SumPolProp"), value);
    EXPECT_EQ(value.toString(), v.SumPolProp);
    QVariant untouched;
    getValue(QStringLiteral("sumpolprop"), untouched);
    EXPECT_FALSE(untouched.isValid());
    EXPECT_EQ(TDocuVars::names().size(), 34);
    for (const QString& n : TDocuVars::names()) {
        QString t;
        EXPECT_TRUE(v.find(n, t)) << n.toStdString();
    }
}

TEST_F(ReceiptTest, PendingEditsAreWhatIsPrinted) {
    const int id = orderOfKind(1);
    openJournal();
    ASSERT_TRUE(journal().locate(QStringLiteral("ID"), id));
    journal().edit();
    journal().fieldByName(QStringLiteral("GARANT")).setAsInteger(5);  // none of 1, 2, 3
    journal().fieldByName(QStringLiteral("RECEIVED")).clear();
    journal().fieldByName(QStringLiteral("NUMBER")).setAsInteger(7);
    const TDocuVars v = MakeDOCVAR(journal(), *DM().cdsUchInfo);
    EXPECT_EQ(v.g_1 + v.g_2 + v.g_3, QString());
    EXPECT_EQ(v.Received, QStringLiteral("0,00"));
    EXPECT_EQ(v.SumPolProp, QString());
    EXPECT_EQ(v.Number, QStringLiteral("000007"));
    journal().cancel();
}

TEST_F(ReceiptTest, FormsByKindAndCommand) {
    EXPECT_EQ(ReceiptFormName(1, false), QStringLiteral("Reports/Rep_Kvit_obuv"));
    EXPECT_EQ(ReceiptFormName(2, false), QStringLiteral("Reports/Rep_Kvit_kluchi"));
    EXPECT_EQ(ReceiptFormName(3, false), QStringLiteral("Reports/Rep_Kvit_grav"));
    EXPECT_EQ(ReceiptFormName(1, true), QStringLiteral("Reports/Rep_Kvituz_obuv"));
    EXPECT_EQ(ReceiptFormName(2, true), QStringLiteral("Reports/Rep_Kvituz_kluchi"));
    EXPECT_EQ(ReceiptFormName(3, true), QStringLiteral("Reports/Rep_Kvituz_grav"));
    EXPECT_EQ(ReceiptFormName(101, false), QString());
    // every form lies beside the executable, as the build puts it
    for (int kind : {1, 2, 3})
        for (bool narrow : {false, true})
            EXPECT_TRUE(QFile::exists(QCoreApplication::applicationDirPath() + QLatin1Char('/') +
                                      ReceiptFormName(kind, narrow) + QStringLiteral(".frf")))
                << ReceiptFormName(kind, narrow).toStdString();
    // another kind prints nothing
    ModalScript script;
    openJournal();
    PrintReceipt(101, false, journal(), journal(), journal(), *DM().cdsUchInfo);
    EXPECT_TRUE(script.dialogsShown().isEmpty());
}

// A new order in the editor: lines added but not saved are on the receipt.
TEST_F(ReceiptTest, ANewOrderPrintsItsUnsavedLines) {
    openJournal();
    AppendNewDocuRow(journal(), 1, QDate(2026, 3, 15));
    ASSERT_EQ(ApplyJournal(journal()), QString());
    const int service = int(scalar(QStringLiteral("SELECT MIN(U.ID) FROM USLUGA U JOIN USLUGAGR G ON G.ID=U.GR_ID "
                                                  "WHERE G.KINDDOC_ID=1")).toInt());
    const QString serviceName = scalar(QStringLiteral("SELECT NAME FROM USLUGA WHERE ID=?"), {service}).toString();
    const int product = int(scalar(QStringLiteral("SELECT MIN(P.ID) FROM PRODUCT P JOIN PRODUCTGR G ON G.ID=P.GR_ID "
                                                  "WHERE G.KINDDOC_ID=1")).toInt());
    const QString productName = scalar(QStringLiteral("SELECT NAME FROM PRODUCT WHERE ID=?"), {product}).toString();

    ModalScript script;
    QString dump;
    script.onDialog(QStringLiteral("frmDocu"), [&](QDialog*) {
        TClientDataSet& u = *editor->cdsUMoves;
        u.append();
        u.fieldByName(QStringLiteral("ID")).setAsInteger(scalar(QStringLiteral("SELECT ID FROM GET_UMOVES_ID")).toInt());
        u.fieldByName(QStringLiteral("DOC_ID")).setAsInteger(editor->DocID);
        u.fieldByName(QStringLiteral("NUM")).setAsInteger(1);
        u.fieldByName(QStringLiteral("NPP")).setAsInteger(scalar(QStringLiteral("SELECT NPP FROM GET_UMOVES_NPP")).toInt());
        u.fieldByName(QStringLiteral("USLUGA_ID")).setAsInteger(service);
        u.fieldByName(QStringLiteral("SUMMA")).setAsDecimal(dec("1500.50"));
        u.post();
        TClientDataSet& p = *editor->cdsPMoves;
        p.append();
        p.fieldByName(QStringLiteral("ID")).setAsInteger(scalar(QStringLiteral("SELECT ID FROM GET_PMOVES_ID")).toInt());
        p.fieldByName(QStringLiteral("DOC_ID")).setAsInteger(editor->DocID);
        p.fieldByName(QStringLiteral("NUM")).setAsInteger(1);
        p.fieldByName(QStringLiteral("NPP")).setAsInteger(scalar(QStringLiteral("SELECT NPP FROM GET_PMOVES_NPP")).toInt());
        p.fieldByName(QStringLiteral("PRODUCT_ID")).setAsInteger(product);
        p.post();
        // typed, not yet written into the field: the print takes it all the same
        editor->edReceived->selectAll();
        QTest::keyClicks(editor->edReceived, QStringLiteral("1000"));
        PrintReceipt(1, false, journal(), p, u, *DM().cdsUchInfo, editor);
        editor->SetModified(false);
        editor->btnCancel->click();
    });
    script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* d) {
        dump = frDumpPages(static_cast<TfrmPreview*>(d)->report());
        d->reject();
    });
    editor->setIsNewDoc(true);
    execModal(editor);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(';').toStdString();
    EXPECT_TRUE(dump.contains(serviceName)) << dump.toStdString();
    EXPECT_TRUE(dump.contains(productName)) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("1") + QChar(160) + QStringLiteral("500,50")));
    EXPECT_TRUE(dump.contains(QStringLiteral("\"Тысяча руб. 00 коп. \"")));
    // printing bound the datasets for the print only
    EXPECT_FALSE(frdsReportU().isBound());
}

TEST_F(ReceiptTest, AMissingFormIsAFileErrorAndNothingIsShown) {
    openJournal();
    ModalScript script;
    QTemporaryDir dir;
    EXPECT_THROW(PrintDoc(dir.filePath(QStringLiteral("Reports/Rep_Kvit_obuv")), 1, journal(), journal(), journal(),
                          *DM().cdsUchInfo),
                 EfrFileError);
    EXPECT_TRUE(script.dialogsShown().isEmpty());
    EXPECT_TRUE(script.messages().isEmpty());
}

TEST_F(ReceiptTest, BrokenFormsAndFormsWithoutTheBandsAreRefusedWithAMessage) {
    openJournal();
    QTemporaryDir dir;
    const QString noBand = dir.filePath(QStringLiteral("NoProducts"));
    QFile::copy(formPath(QStringLiteral("Rep_Kvit_kluchi")), noBand + QStringLiteral(".frf"));
    const QString broken = dir.filePath(QStringLiteral("Broken"));
    {
        QFile f(broken + QStringLiteral(".frf"));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("<Report><Page><Band name=\"MasterData2\" type=\"MasterData\"><Chart/></Band></Page></Report>");
    }
    ModalScript script;
    script.answerOk().answerOk();
    // the key-cutting form has no product band: a shoe order cannot be printed on it
    PrintDoc(noBand, 1, journal(), journal(), journal(), *DM().cdsUchInfo);
    PrintDoc(broken, 2, journal(), journal(), journal(), *DM().cdsUchInfo);
    EXPECT_TRUE(script.dialogsShown().isEmpty());
    ASSERT_EQ(script.messages().size(), 2);
    EXPECT_TRUE(script.messages()[0].text.contains(QStringLiteral("MasterData1")));
    EXPECT_TRUE(script.messages()[0].text.contains(noBand + QStringLiteral(".frf")));
    EXPECT_EQ(script.messages()[0].flags, 16);
    EXPECT_TRUE(script.messages()[1].text.contains(QStringLiteral("<Chart>")));
    EXPECT_TRUE(script.messages()[1].text.contains(broken + QStringLiteral(".frf")));
}

}  // namespace
