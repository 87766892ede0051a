#pragma once
// Saving a stock document: its header (the journal's current row) and its
// lines in one transaction. Either both are stored or nothing is: on a
// refusal (a closed period, goods deleted meanwhile on another workstation,
// a value the database does not take) the transaction is rolled back, the
// error is rethrown and both change logs stay as they were, so the editor
// keeps every change and the user can correct and save again. A conflict
// with another workstation's save of other rows is run again from the start.
#include <exception>
#include <functional>

class TClientDataSet;

// Posts a pending edit of either dataset first.
void SaveStockDoc(TClientDataSet& docs, TClientDataSet& moves);

// Deletes the journal's current row (a new document left empty) and applies
// the deletion at once; its lines go with it in the database. Throws on a refusal,
// with the row back in the journal.
void DeleteStockDoc(TClientDataSet& docs);

// Closing the editor without saving: the header's and the lines' changes are
// undone; a new document (`isNewDoc`) is deleted from the journal once its
// row `docId` is found again. A refused delete is handed to `onDeleteError`
// (the editor shows it) and the journal's changes are undone once more.
void DiscardStockDoc(TClientDataSet& docs, TClientDataSet& moves, bool isNewDoc, int docId,
                     const std::function<void(std::exception_ptr)>& onDeleteError);
