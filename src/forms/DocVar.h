#pragma once
// The texts a receipt-contract prints besides its line lists: the
// organisation's details and the order's header, as they stand in the editor
// (saved or not). Each print fills its own value with MakeDOCVAR and hands the
// report a callback that reads that value (frReportDocGetValue).
#include "forms/OrgDetails.h"
#include "reports/engine/ReportEngine.h"

#include <QString>
#include <QStringList>

class TClientDataSet;

// The receipt's variables: the organisation's details, then the order's.
struct TDocuVars : TOrgDetails {
    QString Series, Number, DateP, DateV, DateVyd, VremVyd;
    QString Zakazch_Name, Zakazch_Adres, Zakazch_Phone, Priemschik_Fio;
    QString Received, Debt, TOTAL, OTKL, TOTAL_WOTKL, Comment;
    QString g_1, g_2, g_3, GarantName, SumPolProp;

    // The text of the variable with exactly this name (letter case counts); false when there is none.
    bool find(const QString& name, QString& value) const;
    // The 34 names in the order of the record.
    static QStringList names();
};

// The variables of the organisation row (current row of `uchInfo`) and the
// order's current row (`docu`, the editor's pending values included).
TDocuVars MakeDOCVAR(const TClientDataSet& docu, const TClientDataSet& uchInfo);

// The report engine's get-value callback over `vars`: the variable's text, or
// `value` left alone for any other name. It reads `vars` itself, so `vars`
// must outlive the report's use of it (the print workflow removes the
// callback when the print ends).
TfrReport::GetValue frReportDocGetValue(const TDocuVars& vars);
TfrReport::GetValue frReportDocGetValue(const TDocuVars&&) = delete;
