#pragma once
// The service reports without their windows: the orders' sum by day of
// acceptance, the services rendered by kind and a customer's card; their
// statements, parameters (the dates travel as dates) and the variables
// handed to the print form.
#include <QDate>
#include <QList>
#include <QPair>
#include <QString>

class TClientDataSet;
class TfrReport;
class TfrDBDataSet;

enum class TServiceReport { SummaKvit, UslugaKind, KartaZak };

struct TServiceReportInfo {
    QString title;     // "Сумма заказов по дням"
    QString formName;  // "Reports/Rep_SummaKvit"
    QString helpPage;  // "_rep_kvit.htm"
    // The customer card: a period and a customer are asked instead of two
    // dates; nothing is reported without a customer, and the window stays
    // open after a report for a further one (the others close).
    bool perCustomer = false;
};
const TServiceReportInfo& ServiceReportInfo(TServiceReport report);

// The statement of a report: DATE_1/DATE_2 (sum by day, services by kind) or
// DATE1/DATE2 and ZAKAZCH_ID (customer card).
QString ServiceReportSQL(TServiceReport report);

// The first and the last day of the month of `today`.
QPair<QDate, QDate> MonthOf(const QDate& today);

// The variables of the print form in the order they are set: NameOrg, Dened,
// Date_1, Date_2 (short date texts) and, for the customer card, ZakazchName.
using TServiceReportVars = QList<QPair<QString, QString>>;
QString ServiceReportDateText(const QDate& date);
TServiceReportVars ServiceReportVars(TServiceReport report, const QString& nameOrg, const QString& denEd,
                                     const QDate& date1, const QDate& date2, const QString& zakazchName = QString());

// Sets the statement and its parameters into the dataset's query and opens
// it; the database's errors pass on.
void OpenServiceReport(TClientDataSet& ds, TServiceReport report, const QDate& date1, const QDate& date2,
                       int zakazchId = -1);

// Loads the form (the path without ".frf"), removes any value callback, makes
// `frds` the main dataset reading `ds` and sets the variables; a report
// without rows ends with a line that says so.
void BindServiceReport(TfrReport& rep, TfrDBDataSet& frds, const TClientDataSet& ds, const QString& formPath,
                       const TServiceReportVars& vars);
