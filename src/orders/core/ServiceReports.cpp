#include "orders/core/ServiceReports.h"

#include "data/ClientDataSet.h"
#include "reports/engine/ReportEngine.h"
#include "reports/engine/QueryReport.h"

#include <QLocale>

const TServiceReportInfo& ServiceReportInfo(TServiceReport report) {
    static const TServiceReportInfo infos[] = {
        {QStringLiteral("Сумма заказов по дням"), QStringLiteral("Reports/Rep_SummaKvit"),
         QStringLiteral("_rep_kvit.htm")},
        {QStringLiteral("Предоставленные услуги по видам"), QStringLiteral("Reports/Rep_UslugaKind"),
         QStringLiteral("_rep_kvit.htm")},
        {QStringLiteral("Карточка заказчика"), QStringLiteral("Reports/RepKartaZak"),
         QStringLiteral("_rep_prihod.htm"), true},
    };
    return infos[int(report)];
}

QString ServiceReportSQL(TServiceReport report) {
    switch (report) {
    case TServiceReport::SummaKvit:
        return QStringLiteral("SELECT DATEP, COUNT(*) AS KOLVO, SUM(TOTAL_WOTKL) AS SUMMA_WOTKL FROM DOCU "
                              "WHERE DATEP>=:DATE_1 AND DATEP<=:DATE_2 GROUP BY DATEP ORDER BY DATEP");
    case TServiceReport::UslugaKind:
        return QStringLiteral("SELECT UM.USLUGA_ID, U.NAME AS USLUGA_NAME, U.NUMPR AS USLUGA_NUMPR, "
                              "COUNT(UM.ID) AS KOLVO, SUM(UM.SUMMA) AS SUMMA FROM UMOVES UM "
                              "JOIN DOCU D ON D.ID=UM.DOC_ID JOIN USLUGA U ON U.ID=UM.USLUGA_ID "
                              "WHERE D.DATEP>=:DATE_1 AND D.DATEP<=:DATE_2 "
                              "GROUP BY USLUGA_ID, USLUGA_NAME, USLUGA_NUMPR ORDER BY USLUGA_NUMPR");
    case TServiceReport::KartaZak:
        return QStringLiteral("SELECT DU.DATEP, DU.DATEV, DU.SERIES, DU.NUMBER, DU.KINDDOC_ID, K.NAME AS KINDDOC_NAME, "
                              "DU.TOTAL, DU.TOTAL_WOTKL, DU.RECEIVED, DU.DEBT, DU.COMMENT FROM DOCU DU "
                              "JOIN KINDDOC K ON DU.KINDDOC_ID=K.ID WHERE DU.KINDDOC_ID IN (1,2,3) "
                              "AND DU.DATEP>=:DATE1 AND DU.DATEP<=:DATE2 AND DU.ZAKAZCH_ID=:ZAKAZCH_ID "
                              "ORDER BY DATEP, SERIES, NUMBER");
    }
    return QString();
}

QPair<QDate, QDate> MonthOf(const QDate& today) {
    const QDate first(today.year(), today.month(), 1);
    return {first, first.addMonths(1).addDays(-1)};
}

QString ServiceReportDateText(const QDate& date) {
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

TServiceReportVars ServiceReportVars(TServiceReport report, const QString& nameOrg, const QString& denEd,
                                     const QDate& date1, const QDate& date2, const QString& zakazchName) {
    TServiceReportVars vars = {{QStringLiteral("NameOrg"), nameOrg},
                               {QStringLiteral("Dened"), denEd},
                               {QStringLiteral("Date_1"), ServiceReportDateText(date1)},
                               {QStringLiteral("Date_2"), ServiceReportDateText(date2)}};
    if (report == TServiceReport::KartaZak) vars.append({QStringLiteral("ZakazchName"), zakazchName});
    return vars;
}

void OpenServiceReport(TClientDataSet& ds, TServiceReport report, const QDate& date1, const QDate& date2,
                       int zakazchId) {
    ds.close();
    TQuery& q = ds.query();
    q.clearParams();
    q.setSql(ServiceReportSQL(report));
    if (report == TServiceReport::KartaZak) {
        q.setParam(QStringLiteral("DATE1"), date1);
        q.setParam(QStringLiteral("DATE2"), date2);
        q.setParam(QStringLiteral("ZAKAZCH_ID"), zakazchId);
    } else {
        q.setParam(QStringLiteral("DATE_1"), date1);
        q.setParam(QStringLiteral("DATE_2"), date2);
    }
    ds.open();
}

void BindServiceReport(TfrReport& rep, TfrDBDataSet& frds, const TClientDataSet& ds, const QString& formPath,
                       const TServiceReportVars& vars) {
    BindQueryReport(rep, frds, ds, formPath, vars);
}
