#pragma once
// What the stock document editor decides from plain values and the journal's
// row: which document it shows, its caption and heading, and what closing the
// editor does. The editor reads the period, the operator's rights and the
// clerk's answer, hands them in and carries the decision out.
#include <QString>

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

// The editor's caption: "Новый документ", "Редактирование документа" or "Просмотр".
QString StockDocEditorTitle(bool isNewDoc, bool editAllowed);
// The caption with the changed mark " *" put on (modified) or taken off.
QString StockDocMarkedTitle(const QString& caption, bool modified);
// The heading over the lines: the kind's name and a row of dots the label cuts at its width.
QString StockDocHeading(const QString& kindName);

// Asked when a changed document is closed without saving.
inline const QString kStockDocCloseQuestion =
    QStringLiteral("Документ был изменен.\rСохранить внесенные в документ изменения?\r\r");

// The clerk's answer to kStockDocCloseQuestion.
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
