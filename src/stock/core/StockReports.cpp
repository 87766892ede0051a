#include "stock/core/StockReports.h"
#include "reports/engine/QueryReport.h"

#include "data/ClientDataSet.h"
#include "reports/engine/ReportEngine.h"

#include <QLocale>
#include <stdexcept>

QString NomenkFilterRefusal(const TNomenkFilter& filter) {
    switch (filter.choice) {
    case TNomenkChoice::Name:
        return filter.tovarId < 0 ? QStringLiteral("Выберите товар") : QString();
    case TNomenkChoice::Group:
        return filter.groupId < 0 ? QStringLiteral("Выберите группу товаров") : QString();
    default:
        return QString();
    }
}

QString NomenkWordPattern(const QString& word, bool caseSens) {
    QString escaped;
    escaped.reserve(word.size() + 4);
    for (const QChar c : word) {
        if (c == u'\\' || c == u'%' || c == u'_') escaped += u'\\';
        escaped += c;
    }
    if (!caseSens) escaped = escaped.toUpper();
    return QStringLiteral("%") + escaped + QStringLiteral("%");
}

TSqlCondition NomenkFilterSQL(const TNomenkFilter& filter) {
    const QString refusal = NomenkFilterRefusal(filter);
    if (!refusal.isEmpty()) throw std::invalid_argument(refusal.toStdString());
    TSqlCondition out;
    switch (filter.choice) {
    case TNomenkChoice::All:
        break;
    case TNomenkChoice::Name:
        out.sql = QStringLiteral("AND (T.ID=%1) ").arg(filter.tovarId);
        break;
    case TNomenkChoice::Group:
        if (filter.includeSub)
            out.sql = QStringLiteral("AND (TG.ID=%1 OR (SELECT RES FROM ISCHILDGR(%1,T.GR_ID))=1) ").arg(filter.groupId);
        else
            out.sql = QStringLiteral("AND TG.ID=%1 ").arg(filter.groupId);
        break;
    case TNomenkChoice::Word:
        out.sql = filter.caseSens ? QStringLiteral("AND T.NAME LIKE :%1 ESCAPE '\\'").arg(QLatin1String(kNomenkWordParam))
                                  : QStringLiteral("AND UPPER(T.NAME) LIKE :%1 ESCAPE '\\'")
                                        .arg(QLatin1String(kNomenkWordParam));
        out.params.push_back({QString::fromLatin1(kNomenkWordParam), NomenkWordPattern(filter.word, filter.caseSens)});
        break;
    }
    out.sql += u' ';
    return out;
}

QString NomenkFilterText(const TNomenkFilter& filter, const QString& goodsName, const QString& groupName) {
    switch (filter.choice) {
    case TNomenkChoice::All:
        return QStringLiteral("Вся номенклатура");
    case TNomenkChoice::Name:
        return QStringLiteral("Наименование ") + goodsName;
    case TNomenkChoice::Group:
        return QStringLiteral("Группа ") + groupName +
               (filter.includeSub ? QStringLiteral(" (включая подгруппы)") : QString());
    case TNomenkChoice::Word:
        return QStringLiteral("Наименования содержащие \"") + filter.word + u'"';
    }
    return QString();
}

const TStockReportInfo& StockReportInfo(TStockReport report) {
    static const TStockReportInfo infos[] = {
        {QStringLiteral("Приход на склад"), QStringLiteral("Reports/RepPrihod"), QStringLiteral("_rep_prihod.htm"), 101,
         false},
        {QStringLiteral("Расход со склада"), QStringLiteral("Reports/RepRashod"), QStringLiteral("_rep_rashod.htm"), 102,
         false},
        {QStringLiteral("Реализация со склада"), QStringLiteral("Reports/RepRealiz"), QStringLiteral("_rep_realiz.htm"),
         103, false},
        {QStringLiteral("Наличие на складе"), QStringLiteral("Reports/RepNalich"), QStringLiteral("_rep_nalich.htm"), 0,
         true},
    };
    return infos[int(report)];
}

QString StockReportSQL(TStockReport report, const QString& filterSql) {
    if (StockReportInfo(report).onDate) {
        return QStringLiteral(
                   "SELECT N.TOVARGR_ID, TG.NAME AS TOVARGR_NAME, (SELECT FP FROM P_FULLPATH(N.TOVARGR_ID)) AS FULLPATH, "
                   "N.TOVAR_ARTIKUL, N.TOVAR_NAME, N.TOVAR_EDIZM, SUM(N.KOLVO) AS KOLVO, SUM(N.SUMMA) AS SUMMA "
                   "FROM P_NALICHD(:DATENAL) N JOIN TOVARGR TG ON N.TOVARGR_ID=TG.ID JOIN TOVAR T ON N.TOVAR_ID=T.ID "
                   "WHERE N.TOVAR_ID=N.TOVAR_ID ") +
               filterSql +
               QStringLiteral("GROUP BY N.TOVARGR_ID, TG.NAME, N.TOVAR_ARTIKUL, N.TOVAR_NAME, N.TOVAR_EDIZM "
                              "ORDER BY FULLPATH, TOVAR_NAME");
    }
    // Receipts carry OPER +1, write-offs and sales -1: every report shows positive figures.
    const QString sign = report == TStockReport::Prihod ? QString() : QStringLiteral("*-1");
    return QStringLiteral("SELECT T.GR_ID, TG.NAME AS TOVARGR_NAME, (SELECT FP FROM P_FULLPATH(T.GR_ID)) AS FULLPATH, "
                          "T.ARTIKUL AS TOVAR_ARTIKUL, T.NAME AS TOVAR_NAME, T.EDIZM AS TOVAR_EDIZM, "
                          "SUM(M.KOLVO*K.OPER%1) AS KOLVO, SUM(M.SUMMA*K.OPER%1) AS SUMMA "
                          "FROM MOVES M JOIN DOCS D ON M.DOC_ID=D.ID JOIN TOVAR T ON M.TOVAR_ID=T.ID "
                          "JOIN TOVARGR TG ON T.GR_ID=TG.ID JOIN KINDDOC K ON D.KINDDOC_ID=K.ID "
                          "WHERE D.KINDDOC_ID IN (%2) AND D.DATEDOC>=:DATE1 AND D.DATEDOC<=:DATE2 ")
               .arg(sign)
               .arg(StockReportInfo(report).kindDocId) +
           filterSql +
           QStringLiteral("GROUP BY T.GR_ID, TG.NAME, T.ARTIKUL, T.NAME, T.EDIZM ORDER BY TOVARGR_NAME, TOVAR_NAME");
}

QString ReportDateText(const QDate& date) {
    return date.isValid() ? QLocale().toString(date, QLocale::ShortFormat) : QString();
}

TReportVars StockReportVars(TStockReport report, const QString& nomenkText, const QString& nameOrg,
                            const QString& denEd, const QDate& date1, const QDate& date2) {
    TReportVars vars = {{QStringLiteral("NOMENK_TEXT"), nomenkText},
                        {QStringLiteral("NameOrg"), nameOrg},
                        {QStringLiteral("Dened"), denEd},
                        {QStringLiteral("Date_1"), ReportDateText(date1)}};
    if (!StockReportInfo(report).onDate) vars.append({QStringLiteral("Date_2"), ReportDateText(date2)});
    return vars;
}

void OpenStockReport(TClientDataSet& ds, TStockReport report, const TNomenkFilter& filter, const QDate& date1,
                     const QDate& date2) {
    const TSqlCondition cond = NomenkFilterSQL(filter);
    ds.close();
    TQuery& q = ds.query();
    q.clearParams();
    q.setSql(StockReportSQL(report, cond.sql));
    if (StockReportInfo(report).onDate) {
        q.setParam(QStringLiteral("DATENAL"), date1);
    } else {
        q.setParam(QStringLiteral("DATE1"), date1);
        q.setParam(QStringLiteral("DATE2"), date2);
    }
    for (const auto& p : cond.params) q.setParam(p.first, p.second);
    ds.open();
}

void BindStockReport(TfrReport& rep, TfrDBDataSet& frds, const TClientDataSet& ds, const QString& formPath,
                     const TReportVars& vars) {
    BindQueryReport(rep, frds, ds, formPath, vars);
}

