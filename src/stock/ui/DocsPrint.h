#pragma once
// Printing a stock document on the form of its kind through the print
// workflow, filled with its lines and the variables of TDocsVars, shown in
// the preview. Works on the values as they stand in the editor, unsaved
// changes included.
class QWidget;
class TClientDataSet;

// Does nothing for a kind without a print form. A missing form file throws
// its file error on to the application's handler; a broken form, or one
// without the band MasterData1, is refused with a message box.
void PrintStockDoc(int kindDocId, TClientDataSet& docs, const TClientDataSet& moves, const TClientDataSet& uchInfo,
                   QWidget* parent = nullptr);
