// Report engine: a report of 5,000 rows read from the database's orders,
// laid out into 100 pages and written to PDF.
#include "BenchCase.h"

#include "data/ClientDataSet.h"
#include "fb/Attachment.h"
#include "reports/engine/ReportEngine.h"
#include "reports/engine/ReportRender.h"
#include "fb/Statement.h"
#include "fb/Transaction.h"
#include "orders/core/ServiceReports.h"
#include "stock/core/StockReports.h"

#include <QCoreApplication>
#include <QDir>

#include <QElapsedTimer>
#include <QTemporaryDir>
#include <stdexcept>

namespace {

constexpr int kRows = 5000;
constexpr int kPages = 100;

// A4, a repeated column header and a page footer with "page N of M": 50 rows of 5.2 mm a page.
const char* kForm =
    "<Report><Page width=\"210\" height=\"297\" left=\"15\" top=\"10\" right=\"10\" bottom=\"10\">"
    "<Band name=\"Head\" type=\"PageHeader\" height=\"8\">"
    " <Memo x=\"0\" width=\"25\" height=\"8\" bold=\"1\" frame=\"ltrb\">Дата</Memo>"
    " <Memo x=\"25\" width=\"30\" height=\"8\" bold=\"1\" frame=\"ltrb\">Номер</Memo>"
    " <Memo x=\"55\" width=\"70\" height=\"8\" bold=\"1\" frame=\"ltrb\">Отметки</Memo>"
    " <Memo x=\"125\" width=\"30\" height=\"8\" bold=\"1\" frame=\"ltrb\" align=\"right\">Сумма</Memo>"
    " <Memo x=\"155\" width=\"30\" height=\"8\" bold=\"1\" frame=\"ltrb\" align=\"right\">Получено</Memo></Band>"
    "<Band name=\"MasterData1\" type=\"MasterData\" dataset=\"frdsReport\" height=\"5.2\">"
    " <Memo x=\"0\" width=\"25\" height=\"5.2\" size=\"8\" frame=\"ltrb\">[\"DATEP\" #d]</Memo>"
    " <Memo x=\"25\" width=\"30\" height=\"5.2\" size=\"8\" frame=\"ltrb\">[\"SERIES\"] [\"NUMBER\"]</Memo>"
    " <Memo x=\"55\" width=\"70\" height=\"5.2\" size=\"8\" frame=\"ltrb\">[\"COMMENT\"]</Memo>"
    " <Memo x=\"125\" width=\"30\" height=\"5.2\" size=\"8\" frame=\"ltrb\" align=\"right\">[\"TOTAL_WOTKL\" #m]</Memo>"
    " <Memo x=\"155\" width=\"30\" height=\"5.2\" size=\"8\" frame=\"ltrb\" align=\"right\">[\"RECEIVED\" #m]</Memo></Band>"
    "<Band name=\"Foot\" type=\"PageFooter\" height=\"6\">"
    " <Memo x=\"0\" width=\"90\" height=\"6\" size=\"8\">За страницу: [SUM(frdsReport.\"TOTAL_WOTKL\") #m]</Memo>"
    " <Memo x=\"90\" width=\"95\" height=\"6\" size=\"8\" align=\"right\">Страница [PAGE#] из [TOTALPAGES]</Memo></Band>"
    "</Page></Report>";

qint64 reportToPdf(fb::Attachment& att) {
    TClientDataSet docu(nullptr, QStringLiteral("xqReportCom"));
    docu.setAttachment(&att);
    docu.setCommandText(QStringLiteral("SELECT FIRST %1 DATEP, SERIES, NUMBER, COMMENT, TOTAL_WOTKL, RECEIVED FROM DOCU "
                                       "ORDER BY DATEP, NUMBER").arg(kRows));
    docu.open();
    if (docu.recordCount() < kRows)
        throw std::runtime_error("В базе меньше 5000 заказов: сделайте её командой obrix-db bench");
    TfrReport rep;
    TfrDBDataSet ds(QStringLiteral("frdsReport"));
    rep.addDataSet(&ds);
    ds.bind(docu);
    rep.setTemplate(frParseTemplate(QByteArray(kForm), QStringLiteral("bench.frf")));
    QTemporaryDir dir;
    QElapsedTimer t;
    t.start();
    const TfrPreparedReport out = rep.prepare();
    frExportPdf(out, dir.filePath(QStringLiteral("bench.pdf")));
    const qint64 ms = t.elapsed();
    if (int(out.pages.size()) != kPages)
        throw std::runtime_error(QStringLiteral("Отчет занял %1 страниц вместо %2").arg(out.pages.size()).arg(kPages).toStdString());
    return ms;
}

fb::Value scalarOf(fb::Attachment& att, const QString& sql) {
    fb::Transaction tra(att);
    fb::Value v = fb::scalar(tra, sql);
    tra.commit();
    return v;
}

QString formPath(const QString& name) { return QDir(QCoreApplication::applicationDirPath()).filePath(name); }

// A dialog's work from "Ok" to the pages of the preview: the statement run,
// the form loaded and bound, the report laid out.
template <class Open, class Bind>
qint64 timeReport(fb::Attachment& att, Open open, Bind bind) {
    TClientDataSet ds(nullptr, QStringLiteral("xqReportCom"));
    ds.setAttachment(&att);
    ds.setReadOnly(true);
    ds.setKeepServerOrder(true);
    TfrReport rep;
    TfrDBDataSet frds(QStringLiteral("frdsReport"));
    QElapsedTimer t;
    t.start();
    open(ds);
    bind(rep, frds, ds);
    const TfrPreparedReport out = rep.prepare();
    const qint64 ms = t.elapsed();
    if (out.pages.empty()) throw std::runtime_error("отчет без страниц");
    return ms;
}

// The stock report over the last year of documents (stock on hand at its last day), all goods.
qint64 stockReport(fb::Attachment& att, TStockReport r) {
    const QDate last = scalarOf(att, QStringLiteral("SELECT MAX(DATEDOC) FROM DOCS")).toDate();
    const QDate first = last.addYears(-1).addDays(1);
    return timeReport(
        att, [&](TClientDataSet& ds) { OpenStockReport(ds, r, TNomenkFilter{}, r == TStockReport::Nalich ? last : first, last); },
        [&](TfrReport& rep, TfrDBDataSet& frds, TClientDataSet& ds) {
            BindStockReport(rep, frds, ds, formPath(StockReportInfo(r).formName),
                            StockReportVars(r, NomenkFilterText({}, {}, {}), QStringLiteral("Мастерская"),
                                            QStringLiteral("руб."), first, last));
        });
}

// The service report over the last year of orders; the card of the busiest
// named customer over every year (the walk-in customer, ID 1, holds two orders
// in five: its card of every year is some 800 pages and is no everyday report).
qint64 serviceReport(fb::Attachment& att, TServiceReport r) {
    const QDate last = scalarOf(att, QStringLiteral("SELECT MAX(DATEP) FROM DOCU")).toDate();
    const QDate first = r == TServiceReport::KartaZak ? scalarOf(att, QStringLiteral("SELECT MIN(DATEP) FROM DOCU")).toDate()
                                                      : last.addYears(-1).addDays(1);
    const int customer = r == TServiceReport::KartaZak
                             ? int(scalarOf(att, QStringLiteral("SELECT FIRST 1 ZAKAZCH_ID FROM DOCU WHERE ZAKAZCH_ID<>1 GROUP BY ZAKAZCH_ID "
                                                                "ORDER BY COUNT(*) DESC")).toInt())
                             : -1;
    return timeReport(
        att, [&](TClientDataSet& ds) { OpenServiceReport(ds, r, first, last, customer); },
        [&](TfrReport& rep, TfrDBDataSet& frds, TClientDataSet& ds) {
            BindServiceReport(rep, frds, ds, formPath(ServiceReportInfo(r).formName),
                              ServiceReportVars(r, QStringLiteral("Мастерская"), QStringLiteral("руб."), first, last,
                                                QStringLiteral("Заказчик")));
        });
}

}  // namespace

std::vector<BenchCase> reportBenchCases() {
    return {{QStringLiteral("report-pdf"), QStringLiteral("отчет на 100 страниц (5000 строк) построен и записан в PDF"),
             reportToPdf, 2000},
            {QStringLiteral("rep-prihod"), QStringLiteral("приход на склад за год, вся номенклатура, до страниц просмотра"),
             [](fb::Attachment& a) { return stockReport(a, TStockReport::Prihod); }, 2000},
            {QStringLiteral("rep-rashod"), QStringLiteral("расход со склада за год"),
             [](fb::Attachment& a) { return stockReport(a, TStockReport::Rashod); }, 2000},
            {QStringLiteral("rep-realiz"), QStringLiteral("реализация со склада за год"),
             [](fb::Attachment& a) { return stockReport(a, TStockReport::Realiz); }, 2000},
            {QStringLiteral("rep-nalich"), QStringLiteral("наличие на складе на последний день"),
             [](fb::Attachment& a) { return stockReport(a, TStockReport::Nalich); }, 2000},
            {QStringLiteral("rep-summakvit"), QStringLiteral("сумма заказов по дням за год"),
             [](fb::Attachment& a) { return serviceReport(a, TServiceReport::SummaKvit); }, 2000},
            {QStringLiteral("rep-uslugakind"), QStringLiteral("услуги по видам за год"),
             [](fb::Attachment& a) { return serviceReport(a, TServiceReport::UslugaKind); }, 2000},
            {QStringLiteral("rep-kartazak"), QStringLiteral("карточка самого частого заказчика (не частного лица) за все годы"),
             [](fb::Attachment& a) { return serviceReport(a, TServiceReport::KartaZak); }, 2000}};
}
