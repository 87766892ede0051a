#pragma once
// The order's two line lists without a window: the fields of the product
// lines (PMOVES) and of the service lines (UMOVES) with their lookups, the
// rule that a chosen service brings its price, and a new line's values. The
// editor hands in the lists to look up in and the values drawn for a new
// line; a test does the same.
#include <QString>

class TClientDataSet;

// The lists the line fields look up in (the data module's cdsPparaLU,
// cdsProductLU, cdsColorLU, cdsMaterialLU, cdsUslugaLU). Each has ID and
// NAME; `usluga` also EAN13, NUMPR and SUMMA. They outlive the line lists.
struct TDocuLineLists {
    TClientDataSet* ppara = nullptr;
    TClientDataSet* product = nullptr;
    TClientDataSet* color = nullptr;
    TClientDataSet* material = nullptr;
    TClientDataSet* usluga = nullptr;
};

// Declared once per dataset, before it opens, in grid order.
// Product lines: ID, DOC_ID (hidden, required), NUM "№", PPARA_NAME
// "Полупара", PRODUCT_ID (hidden, required), PRODUCT_NAME "Изделие",
// COLOR_ID (hidden), COLOR_NAME "Цвет", MATERIAL_ID (hidden), MATERIAL_NAME
// "Материал", PROCIZN "% износа", NPP (hidden, required), PPARA (hidden).
void DefinePMovesFields(TClientDataSet& pmoves, const TDocuLineLists& lists);
// Service lines: ID, DOC_ID (hidden, required), NUM "№", USLUGA_ID (hidden,
// required), USLUGA_NAME "Услуга", USLUGA_EAN13 "Штрих-код", USLUGA_NUMPR
// "№ по прейск.", SUMMA "Сумма" (money, required), NPP (hidden, required).
// Choosing a service (a change of USLUGA_ID) sets SUMMA to the service's
// SUMMA in `lists.usluga`; an amount typed afterwards stays.
void DefineUMovesFields(TClientDataSet& umoves, const TDocuLineLists& lists);

enum class TDocuLineKind { Product, Service };

// The statement of a line list: the lines of the order :CURDOC_ID in NPP
// order, applied to PMOVES or UMOVES, kept sorted by NPP.
void DeclareDocuLineList(TClientDataSet& lines, TDocuLineKind kind);
// Opens a line list (closed first) on the lines of order `docId`.
void OpenDocuLines(TClientDataSet& lines, int docId);

// The stem of the procedures that draw a new line's ID and NPP
// (stem + "_ID", stem + "_NPP"): "GET_PMOVES" or "GET_UMOVES".
QString DocuLineStem(TDocuLineKind kind);

// What a new line gets from outside: its ID and NPP (drawn from the stem's
// procedures) and the order's ID.
struct TNewDocuLine {
    int id = 0;
    int docId = 0;
    int npp = 0;
};

// The number a line appended now gets: the last line's NUM + 1, 1 for the
// first line. The cursor moves to the last line.
int NextDocuLineNum(TClientDataSet& lines);

// Appends a line to `lines` and fills it: ID, DOC_ID, NPP as given, PROCIZN
// 50 (product) or SUMMA 0 (service), NUM by NextDocuLineNum. The line is
// left being appended: the line dialog posts or cancels it.
void AppendDocuLine(TClientDataSet& lines, TDocuLineKind kind, const TNewDocuLine& line);

// After a line dialog closed: an accepted line brings TOTAL up to date
// (CalcTotal of DocuCalc.h); a line still being edited or appended (a
// cancelled dialog) is cancelled. True when the order changed: the dialog was accepted.
bool FinishDocuLine(TClientDataSet& docu, TClientDataSet& lines, TClientDataSet& umoves, bool accepted);

// Removes the current line; TOTAL follows the service lines (CalcTotal of
// DocuCalc.h). False, and nothing changes, when the list is empty.
bool DeleteDocuLine(TClientDataSet& docu, TClientDataSet& lines, TClientDataSet& umoves);

// Moves the current line one place down (step +1) or up (-1) by
// SwapNppWithNeighbour. True when the list has more than one line: the order
// counts as changed then, even when the line had no neighbour that way.
bool MoveDocuLine(TClientDataSet& lines, int step);
