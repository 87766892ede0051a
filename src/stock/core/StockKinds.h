#pragma once
// The kinds of stock documents as the editor, the line dialog and printing
// treat them, the line value rule and the document's totals. No widgets: the
// windows show what these routines decide.
#include "fb/Decimal.h"

#include <QString>
#include <functional>

class TClientDataSet;

// How one kind of stock document is shown and printed. Kinds not listed
// (none is, today) are edited like a receipt and have no print form.
struct TStockKind {
    int id = 0;
    bool realiz = false;       // lines show the sale price and sale amount, the editor "ИТОГО реализ."
    bool showsStock = false;   // the line dialog shows the stock on hand of the current period
    QString printForm;         // "Reports/RepDoc", "Reports/RepDoc_Realiz", empty: nothing to print
};

constexpr int kKindReceipt = 101;
constexpr int kKindWriteOff = 102;
constexpr int kKindSale = 103;
constexpr int kKindReturnFromBuyer = 107;
constexpr int kKindReturnToSupplier = 108;

TStockKind StockKind(int kindDocId);

// May the editor change the document? The period must be open; a new
// document needs the create right, an existing one the edit right.
bool StockEditingAllowed(bool periodOpen, bool isNewDoc, bool sklInsert, bool sklEdit);

// The line list of a stock document (MOVES of one DOC_ID, by NPP): its fields
// with their labels and lookups into the goods list `tovar` (the data module's
// TOVAR lookup), and the line value rule: whenever KOLVO, CENA or CENA_REALIZ
// changes, SUMMA := CENA x KOLVO and, when `kindOf()` is a sale kind,
// SUMMA_REALIZ := CENA_REALIZ x KOLVO (nulls count as 0; whole kopecks,
// half away from zero). Declared once per dataset, before it opens.
void DefineMovesDataSet(TClientDataSet& moves, TClientDataSet* tovar, std::function<int()> kindOf);
// Shows CENA/SUMMA or, for a sale, CENA_REALIZ/SUMMA_REALIZ in the grid.
void ShowKindColumns(TClientDataSet& moves, int kindDocId);

// CENA x KOLVO in whole kopecks, rounded once, half away from zero.
fb::Decimal StockLineAmount(const fb::Decimal& cena, const fb::Decimal& kolvo);

struct TDocTotals {
    fb::Decimal summa;
    fb::Decimal summaRealiz;
};
// The sums of the lines' SUMMA and SUMMA_REALIZ (null counts as 0); the
// cursor comes back to the line it stood on.
TDocTotals CalcDocSumma(TClientDataSet& moves);
// Writes the totals into the document row (the journal's current row) and
// posts it; applied later with the document.
void PutDocTotals(TClientDataSet& docs, const TDocTotals& totals);

// Moving a line up or down: SwapNppWithNeighbour (data/DataSetRoutines.h).
