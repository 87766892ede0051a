#pragma once
// What the stock document editor decides from plain values and the journal's
// row: which document it shows, its caption and heading, and what closing the
// editor does. The editor reads the period, the operator's rights and the
// clerk's answer, hands them in and carries the decision out.
#include "base/DocumentEditorCaption.h"
#include "base/EditorCommand.h"

#include <QString>
#include <vector>

class TClientDataSet;

// The document the journal's current row holds: its ID, its kind and the
// kind's name (KINDDOC_NAME of the row; without that field, NAME of the kind
// in `kindDoc`, the data module's list of kinds).
struct TStockDocHeader {
    int docId = 0;
    int kindDocId = 0;
    QString kindName;
};
TStockDocHeader ReadStockDocHeader(const TClientDataSet& docs, const TClientDataSet& kindDoc);

// The editor's caption and its changed mark are every document editor's.
inline QString StockDocEditorTitle(bool isNewDoc, bool editAllowed) {
    return DocumentEditorTitle(isNewDoc, editAllowed);
}
inline QString StockDocMarkedTitle(const QString& caption, bool modified) {
    return DocumentCaptionMarked(caption, modified);
}
// The heading over the lines: the kind's name and a row of dots the label cuts at its width.
QString StockDocHeading(const QString& kindName);

// The clerk's answer to DocumentSaveChangesQuestion().
enum class TStockDocCloseAnswer { NotAsked, Yes, No };
enum class TStockDocCloseAction {
    Ask,      // ask the question first, then decide again with the answer
    Save,     // save header and lines; a refusal keeps the editor open
    Discard,  // throw the changes away: a new document's row is deleted, an existing one's changes undone
};
// What closing does. Only an editable document is saved or asked about: Save
// (accepted) saves; any other way out of a modified document asks, and "Yes"
// saves; everything else discards.
TStockDocCloseAction StockDocCloseAction(bool accepted, bool editAllowed, bool modified, TStockDocCloseAnswer answer);

// The editor's commands: the five line commands (with their buttons under the
// grid; a gap parts the moves from the rest) and printing, which any mode allows.
enum class TStockDocCommand { Append, Edit, Delete, Up, Down, Print };
// The table, in the order of TStockDocCommand.
const std::vector<TEditorCommand>& StockDocCommands();
