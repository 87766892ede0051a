// The service reports on a real database: orders of the three kinds in two
// work periods, their service lines, three customers. Each report's rows, the
// variables handed to the form and the dialogs with their preview answered
// through the modal seam.
#include "TestDatabase.h"

#include "ui/DataRoutines.h"
#include "session/Global.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "orders/ui/RpKartaZak.h"
#include "orders/ui/RpSummaKvit.h"
#include "orders/ui/RpUslugaKind.h"
#include "orders/core/ServiceReports.h"
#include "reports/engine/QueryReport.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportShared.h"
#include "ui/ErrorDB.h"
#include "ui/FramePeriod.h"
#include "stock/core/StockReports.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QDate d(const char* iso) { return QDate::fromString(QString::fromLatin1(iso), Qt::ISODate); }

class ServiceReportsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        ResetGlobalState();
        GL.HelpFile = m_dir.filePath(QStringLiteral("missing.chm"));
        DM().connectDatabase(testdb::freshCopy(m_dir));
        const char* seed[] = {
            "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT, SUM_OST) VALUES (1, '2009-01-01', '2009-01-31', '*', 0, 0, 0)",
            "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT, DOCU_CNT, DOCS_CNT) VALUES (2, '2009-02-01', '2009-02-28', '*', 0, 0)",
            "INSERT INTO ZAKAZCH (ID, NAME) VALUES (2, 'Иванов')",
            "INSERT INTO ZAKAZCH (ID, NAME) VALUES (3, 'Петров')",
            "INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Ремонт', 1, 1)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, NUMPR, SUMMA) VALUES (1, 1, 'Набойки', 3, 100)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, NUMPR, SUMMA) VALUES (2, 1, 'Чистка', 1, 200)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, NUMPR, SUMMA) VALUES (3, 1, 'Молния', 2, 50)",
            "INSERT INTO USLUGA (ID, GR_ID, NAME, NUMPR, SUMMA) VALUES (4, 1, 'Покраска', 4, 70)",
        };
        for (const char* s : seed) DM().execSQL(QString::fromUtf8(s));
        // id, kind, period, date, series, number, customer, total, with deviation, lines (service, sum)
        order(1, 1, 1, "2009-01-31", "АА", 1, 2, "300", "270", {{1, "100"}, {2, "200"}});
        order(2, 2, 2, "2009-02-01", "АА", 2, 2, "150", "150", {{1, "150"}});
        order(3, 3, 2, "2009-02-01", "АА", 3, 3, "50", "60", {{3, "50"}});
        order(4, 1, 2, "2009-02-03", "АБ", 1, 2, "10", "10", {});
        order(5, 1, 2, "2009-02-01", "АА", 1, 2, "20", "20", {});
        order(6, 1, 2, "2009-03-01", "АА", 4, 2, "40", "40", {{4, "70"}});
        DM().openLookups();
        UchetOptions.NameOrg = QStringLiteral("Мастерская");
        UchetOptions.DenEd = QStringLiteral("руб.");
    }
    void TearDown() override {
        DM().disconnectDatabase();
        QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    }

    struct Line { int usluga; const char* summa; };
    void order(int id, int kind, int period, const char* date, const char* series, int number, int customer,
               const char* total, const char* wotkl, std::vector<Line> lines) {
        const fb::Decimal t = testdb::dec(total), w = testdb::dec(wotkl);
        DM().execSQL(QStringLiteral("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, "
                                    "PRIEMSCHIK_ID, TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT) "
                                    "VALUES (?, ?, ?, ?, ?, ?, ?, 1, ?, 0, 0, ?, ?, ?, 0)"),
                     {id, kind, period, QString::fromUtf8(series), number, d(date), customer, t, w - t, w, w});
        int npp = 0;
        for (const Line& l : lines) {
            ++npp;
            DM().execSQL(QStringLiteral("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (?, ?, ?, ?, ?, ?)"),
                         {id * 10 + npp, id, npp, l.usluga, testdb::dec(l.summa), npp});
        }
    }

    // The rows of a report, each as its fields' plain texts joined by "|".
    QStringList rows(TServiceReport r, const char* d1, const char* d2, const QStringList& fields, int customer = -1) {
        TClientDataSet& q = *DM().xqReportCom;
        OpenServiceReport(q, r, d(d1), d(d2), customer);
        QStringList out;
        for (q.first(); !q.eof(); q.next()) {
            QStringList row;
            for (const QString& f : fields) row << q.fieldByName(f).value().toString();
            out << row.join(u'|');
        }
        q.close();
        return out;
    }

    // Shows the dialog, lets `setup` fill it, presses Ok; the preview's text.
    QString run(TfrmRpService* dlg, const std::function<void(TfrmRpService*)>& setup, ModalScript& script) {
        QString text;
        script.onDialog(QStringLiteral("frmPreview"), [&](QDialog* p) {
            for (const auto& page : static_cast<TfrmPreview*>(p)->report().pages)
                for (const auto& prim : page.prims) text += prim.lines.join(u' ') + u'\n';
            return int(QDialog::Rejected);
        });
        dlg->setResult(0);
        dlg->show();
        setup(dlg);
        dlg->btnOk->click();
        return text;
    }

    QTemporaryDir m_dir;
};

TEST_F(ServiceReportsTest, SumByDayCountsEveryKindAndPeriodWithinBothEndDays) {
    const QStringList f{"DATEP", "KOLVO", "SUMMA_WOTKL"};
    EXPECT_EQ(rows(TServiceReport::SummaKvit, "2009-01-31", "2009-02-28", f),
              (QStringList{"31.01.2009|1|270", "01.02.2009|3|230", "03.02.2009|1|10"}));
    EXPECT_EQ(rows(TServiceReport::SummaKvit, "2009-02-02", "2009-02-02", f), QStringList{});
}

TEST_F(ServiceReportsTest, ServicesByKindIgnoreDeviationsAndFollowThePriceList) {
    const QStringList f{"USLUGA_NAME", "USLUGA_NUMPR", "KOLVO", "SUMMA"};
    EXPECT_EQ(rows(TServiceReport::UslugaKind, "2009-01-01", "2009-02-28", f),
              (QStringList{"Чистка|1|1|200", "Молния|2|1|50", "Набойки|3|2|250"}));
    EXPECT_EQ(rows(TServiceReport::UslugaKind, "2009-02-01", "2009-02-28", f),
              (QStringList{"Молния|2|1|50", "Набойки|3|1|150"}));
}

TEST_F(ServiceReportsTest, CustomerCardListsOneCustomersOrdersByDateSeriesNumber) {
    const QStringList f{"DATEP", "SERIES", "NUMBER", "KINDDOC_NAME", "TOTAL_WOTKL"};
    EXPECT_EQ(rows(TServiceReport::KartaZak, "2009-01-01", "2009-02-28", f, 2),
              (QStringList{"31.01.2009|АА|1|Ремонт обуви|270", "01.02.2009|АА|1|Ремонт обуви|20",
                           "01.02.2009|АА|2|Изготовление ключей|150", "03.02.2009|АБ|1|Ремонт обуви|10"}));
    EXPECT_EQ(rows(TServiceReport::KartaZak, "2009-01-01", "2009-02-28", f, 3).size(), 1);
}

TEST_F(ServiceReportsTest, VariablesAndTheMonthProposed) {
    EXPECT_EQ(MonthOf(d("2008-02-10")), qMakePair(d("2008-02-01"), d("2008-02-29")));
    EXPECT_EQ(MonthOf(d("2009-12-31")), qMakePair(d("2009-12-01"), d("2009-12-31")));
    const auto vars = ServiceReportVars(TServiceReport::KartaZak, "Мастерская", "руб.", d("2009-02-01"),
                                        d("2009-02-28"), "Иванов");
    EXPECT_EQ(vars, (TServiceReportVars{{"NameOrg", "Мастерская"}, {"Dened", "руб."}, {"Date_1", "01.02.2009"},
                                        {"Date_2", "28.02.2009"}, {"ZakazchName", "Иванов"}}));
    EXPECT_EQ(ServiceReportVars(TServiceReport::SummaKvit, "", "", {}, {}).size(), 4);
}

TEST_F(ServiceReportsTest, SumByDayDialogProposesTheMonthShowsTheReportAndCloses) {
    auto* dlg = Window<TfrmRpService>(QStringLiteral("frmRpSummaKvit"));
    ASSERT_NE(dlg, nullptr);
    dlg->setToday(d("2009-02-15"));
    ModalScript script;
    const QString text = run(dlg, [](TfrmRpService* w) {
        EXPECT_EQ(w->dtpDate1->date(), d("2009-02-01"));
        EXPECT_EQ(w->dtpDate2->date(), d("2009-02-28"));
        EXPECT_EQ(w->stRepName->text(), "Сумма заказов по дням");
    }, script);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(", ").toStdString();
    EXPECT_TRUE(text.contains("230,00")) << text.toStdString();
    EXPECT_FALSE(text.contains("270,00"));
    EXPECT_EQ(frReport().variable("Date_1"), "01.02.2009");
    EXPECT_EQ(frReport().variable("NameOrg"), "Мастерская");
    EXPECT_EQ(dlg->result(), QDialog::Accepted);
    EXPECT_FALSE(dlg->isVisible());
    EXPECT_FALSE(DM().xqReportCom->isActive());
}

TEST_F(ServiceReportsTest, DatesReachTheDatabaseAsDatesUnderAnotherLocale) {
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    auto* dlg = Window<TfrmRpService>(QStringLiteral("frmRpUslugaKind"));
    dlg->setToday(d("2009-02-15"));
    ModalScript script;
    const QString text = run(dlg, [](TfrmRpService*) {}, script);
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_TRUE(text.contains("Набойки"));
    EXPECT_FALSE(text.contains("Чистка"));
    EXPECT_EQ(frReport().variable("Date_2"), QLocale().toString(d("2009-02-28"), QLocale::ShortFormat));
}

TEST_F(ServiceReportsTest, CustomerCardDialogStaysOpenAndNeedsACustomer) {
    auto* dlg = Window<TfrmRpService>(QStringLiteral("frmRpKartaZak"));
    dlg->setToday(d("2009-02-15"));
    ModalScript script;
    const QString text = run(dlg, [](TfrmRpService* w) {
        w->framePeriod->setChoice(TFrameChoice::Month);
        w->cbZakazch->setCurrentIndex(ComboIndexOfID(w->cbZakazch, 3));
    }, script);
    EXPECT_TRUE(text.contains("Гравировка"));
    EXPECT_FALSE(text.contains("Ремонт обуви"));
    EXPECT_EQ(frReport().variable("ZakazchName"), "Петров");
    EXPECT_EQ(frReport().variable("Date_2"), "28.02.2009");
    EXPECT_TRUE(dlg->isVisible());
    // A customer without orders in the range: the form says there is nothing.
    const QString empty = run(dlg, [](TfrmRpService* w) {
        w->cbZakazch->setCurrentIndex(ComboIndexOfID(w->cbZakazch, 1));
    }, script);
    EXPECT_TRUE(empty.contains(QString::fromUtf8(kNoDataText))) << empty.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8(kNoDataText)));
    // Without a customer nothing is reported.
    const QString none = run(dlg, [](TfrmRpService* w) { w->cbZakazch->clear(); }, script);
    EXPECT_TRUE(none.isEmpty());
    EXPECT_EQ(script.pendingDialogs(), 1);
    dlg->hide();
}

// The plan of every report statement on the demo workshop (its statistics
// refreshed after filling): no document or line table is read whole.
TEST(ReportPlans, NoReportScansADocumentOrLineTable) {
    const QString isql = QStandardPaths::findExecutable(QStringLiteral("isql-fb"));
    if (isql.isEmpty()) GTEST_SKIP() << "isql-fb is not installed";
    QTemporaryDir dir;
    const QString path = testdb::freshCopy(dir, testdb::Template::Demo);
    const auto literal = [](QString sql) {
        sql.replace(QRegularExpression(QStringLiteral(":DATE_?1\\b")), QStringLiteral("DATE '2026-01-01'"));
        sql.replace(QRegularExpression(QStringLiteral(":(DATE_?2|DATENAL)\\b")), QStringLiteral("DATE '2026-12-31'"));
        return sql.replace(QStringLiteral(":ZAKAZCH_ID"), QStringLiteral("1"));
    };
    QStringList statements;
    for (TServiceReport r : {TServiceReport::SummaKvit, TServiceReport::UslugaKind, TServiceReport::KartaZak})
        statements << literal(ServiceReportSQL(r));
    for (TStockReport r : {TStockReport::Prihod, TStockReport::Rashod, TStockReport::Realiz, TStockReport::Nalich})
        statements << literal(StockReportSQL(r, NomenkFilterSQL({TNomenkChoice::Group, -1, 0, true}).sql));
    QProcess p;
    p.start(isql, {QStringLiteral("-user"), QStringLiteral("SYSDBA"), QStringLiteral("-ch"), QStringLiteral("WIN1251"),
                   QStringLiteral("-q"), path});
    ASSERT_TRUE(p.waitForStarted());
    p.write("SET PLANONLY ON;\n");
    for (const QString& st : statements) p.write((st + QStringLiteral(";\n")).toUtf8());
    p.closeWriteChannel();
    ASSERT_TRUE(p.waitForFinished(60000));
    const QString out = QString::fromUtf8(p.readAllStandardOutput()) + QString::fromUtf8(p.readAllStandardError());
    const QStringList plans = out.split(u'\n').filter(QStringLiteral("PLAN"));
    // One plan or more a statement (a sub-select adds its own).
    ASSERT_GE(plans.size(), statements.size()) << out.toStdString();
    EXPECT_FALSE(out.contains(QStringLiteral("error"), Qt::CaseInsensitive)) << out.toStdString();
    const QRegularExpression scan(QStringLiteral("\\b(DOCU|DU|D|DOCS|UMOVES|UM|MOVES|M) NATURAL"));
    for (const QString& plan : plans) EXPECT_FALSE(scan.match(plan).hasMatch()) << plan.toStdString();
}

}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ::testing::InitGoogleTest(&argc, argv);
    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    reg.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
    reg.registerFactory(QStringLiteral("frmRpSummaKvit"), [] { return new TfrmRpSummaKvit; });
    reg.registerFactory(QStringLiteral("frmRpUslugaKind"), [] { return new TfrmRpUslugaKind; });
    reg.registerFactory(QStringLiteral("frmRpKartaZak"), [] { return new TfrmRpKartaZak; });
    reg.createAll();
    const int rc = RUN_ALL_TESTS();
    reg.destroyAll();
    return rc;
}
