#pragma once
// The stock reports without their windows: the nomenclature filter (all goods,
// one goods item, a group with or without its subgroups, names containing a
// word), the statements of the receipts, write-offs, sales and stock-on-hand
// reports, their parameters and the variables handed to the print form.
// Nothing the user typed becomes SQL text: the word travels as a parameter.
#include "fb/Value.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QString>
#include <vector>

class TClientDataSet;
class TfrReport;
class TfrDBDataSet;
struct TfrTemplate;

enum class TNomenkChoice { All = 0, Name = 1, Group = 2, Word = 3 };

struct TNomenkFilter {
    TNomenkChoice choice = TNomenkChoice::All;
    int tovarId = -1;   // the goods chosen for TNomenkChoice::Name (-1: none)
    int groupId = -1;   // the group chosen for TNomenkChoice::Group (-1: none)
    bool includeSub = false;
    QString word;
    bool caseSens = false;
};

// A piece of a statement and the named parameters it uses.
struct TSqlCondition {
    QString sql;
    std::vector<QPair<QString, fb::Value>> params;
};

// The parameter that carries the word pattern.
inline constexpr const char* kNomenkWordParam = "NOMENK_WORD";

// Why the filter cannot be applied ("Выберите товар" when no goods is chosen,
// "Выберите группу товаров" likewise); empty when it can.
QString NomenkFilterRefusal(const TNomenkFilter& filter);

// The condition to append after a statement's WHERE: a single blank for all
// goods, otherwise "AND ... " over the aliases T (goods) and TG (goods group).
// The word becomes the LIKE pattern parameter NOMENK_WORD ("%", "_" and "\"
// searched literally; folded to upper case, Cyrillic too, unless case counts).
// Throws std::invalid_argument when NomenkFilterRefusal has something to say.
TSqlCondition NomenkFilterSQL(const TNomenkFilter& filter);

// The LIKE pattern of a word: "%" + the word with "\", "%" and "_" escaped + "%".
QString NomenkWordPattern(const QString& word, bool caseSens);

// A description of the filter for the report: "Вся номенклатура",
// "Наименование " + goods name, "Группа " + group name [+ " (включая
// подгруппы)"], or Наименования содержащие "word".
QString NomenkFilterText(const TNomenkFilter& filter, const QString& goodsName, const QString& groupName);

enum class TStockReport { Prihod, Rashod, Realiz, Nalich };

struct TStockReportInfo {
    QString title;     // "Приход на склад"
    QString formName;  // "Reports/RepPrihod"
    QString helpPage;  // "_rep_prihod.htm"
    int kindDocId;     // 101, 102, 103; 0 for stock on hand
    bool onDate;       // stock on hand: one date ("На дату"), not a period
};
const TStockReportInfo& StockReportInfo(TStockReport report);

// The whole statement of a report with the filter's condition in its place.
QString StockReportSQL(TStockReport report, const QString& filterSql);

// The variables of the print form, in the order they are set.
using TReportVars = QList<QPair<QString, QString>>;
// Dates as the workstation writes them in short form.
QString ReportDateText(const QDate& date);
TReportVars StockReportVars(TStockReport report, const QString& nomenkText, const QString& nameOrg,
                            const QString& denEd, const QDate& date1, const QDate& date2);

// Sets the report's statement and parameters into the dataset's query and
// opens it: DATE1/DATE2 for the movement reports, DATENAL = date1 for stock
// on hand, the filter's own parameters. Throws as NomenkFilterSQL does and
// passes the database's errors on.
void OpenStockReport(TClientDataSet& ds, TStockReport report, const TNomenkFilter& filter, const QDate& date1,
                     const QDate& date2 = QDate());

// BindQueryReport for the stock reports.
void BindStockReport(TfrReport& rep, TfrDBDataSet& frds, const TClientDataSet& ds, const QString& formPath,
                     const TReportVars& vars);
