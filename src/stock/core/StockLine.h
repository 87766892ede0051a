#pragma once
// The stock line dialog's rules without a window: a new line's values, the
// goods chosen and the prices it brings into the line, the stock on hand shown
// beside it, and the fields a line needs before OK takes it.
#include <QString>
#include <QStringList>
#include <optional>

class TClientDataSet;
class TDM;

// Appends a line to the document `docId`: an ID and the next NPP drawn from
// GET_MOVES, SUMMA 0. The line stays in insert state for the dialog.
void AppendStockLine(TClientDataSet& moves, TDM& dm, int docId);

// The dialog's caption: "Добавить товар" for a new line, "Редактировать товар" otherwise.
QString StockLineDialogTitle(bool newLine);

// The goods the boxes name goes into the line: its TOVAR_ID and prices
// (PutGoodsPrices); none clears TOVAR_ID and leaves the prices.
void PutLineGoods(TClientDataSet& moves, const TClientDataSet& tovar, std::optional<int> tovarId);

// A chosen goods brings its prices into the line being edited: CENA from the
// goods' CENA, CENA_REALIZ from its CENA_PROD, as found in the goods list
// `tovar` (ID, CENA, CENA_PROD; the data module's goods lookup). A price the
// goods lacks, or a goods not in the list, gives 0. The line value rule
// recomputes the sums.
void PutGoodsPrices(TClientDataSet& moves, const TClientDataSet& tovar, int tovarId);

// The fields of the current line left empty among TOVAR_ID, KOLVO and CENA,
// in that order, by their labels (the field's name when it has none).
QStringList MissingLineFields(const TClientDataSet& moves);
// The warning OK shows for them: "Заполните поля:" and one field a line.
QString MissingLineFieldsText(const QStringList& missing);

// OK: a line with every required field is posted and an empty text returned;
// otherwise nothing changes and the warning is returned.
QString TakeStockLine(TClientDataSet& moves);

// The stock of one work period per goods (P_NALICHALL: TOVAR_ID, KOLVO, SUMMA),
// read only, by TOVAR_ID. Declared once, before it opens.
void DefineStockOnHand(TClientDataSet& nalich);
// Reads the stock of the period `periodId` anew.
void OpenStockOnHand(TClientDataSet& nalich, int periodId);
// The quantity on hand of a goods as shown; empty when it has none in the
// list or the list is closed.
QString StockOnHandText(const TClientDataSet& nalich, int tovarId);
