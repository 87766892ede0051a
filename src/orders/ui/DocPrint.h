#pragma once
// Printing a repair order's receipt-contract: the form chosen by the order's
// kind, full width or narrow, filled with the order's two line lists and the
// variables of TDocuVars, shown in the preview from which the operator prints
// or exports it. Works on the values as they stand in the editor.
#include "orders/core/ReceiptForms.h"

#include <QString>

class QWidget;
class TClientDataSet;

// Prints the form at `formPath` (without ".frf") for an order of kind
// `kindDocID` through the print workflow: fills the order's variables, loads
// the form into the shared report, binds frdsReportP to the product lines and
// frdsReportU to the service lines, sets band MasterData1 (when the receipt
// lists the products, ReceiptListsProducts) and MasterData2, and shows the preview.
// Text still being typed into the order's bound fields is written into them first.
// A missing form file throws its file error on to the application's handler;
// a broken form, or one without the bands, is refused with a message box.
void PrintDoc(const QString& formPath, int kindDocID, TClientDataSet& cdsDocu,
              const TClientDataSet& cdsPMoves, const TClientDataSet& cdsUMoves, const TClientDataSet& cdsUchInfo,
              QWidget* parent = nullptr);

// The two print commands: the receipt of the order's kind (narrow or not)
// from the program's folder; nothing for a kind without a receipt.
void PrintReceipt(int kindDocID, bool narrow, TClientDataSet& cdsDocu, const TClientDataSet& cdsPMoves,
                  const TClientDataSet& cdsUMoves, const TClientDataSet& cdsUchInfo, QWidget* parent = nullptr);
