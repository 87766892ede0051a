// Report engine: a report of 5,000 rows read from the database's orders,
// laid out into 100 pages and written to PDF.
#include "BenchCase.h"

#include "data/ClientDataSet.h"
#include "fb/Attachment.h"
#include "reports/ReportEngine.h"
#include "reports/ReportRender.h"

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

}  // namespace

std::vector<BenchCase> reportBenchCases() {
    return {{QStringLiteral("report-pdf"), QStringLiteral("отчет на 100 страниц (5000 строк) построен и записан в PDF"),
             reportToPdf, 2000}};
}
