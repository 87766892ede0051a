#pragma once
// What the order editor decides from plain values: whether the order may be
// changed, its caption, what the order's kind shows, and what closing the
// editor does. The editor reads the period, the operator's rights and the
// clerk's answer, hands them in and carries the decision out.
#include "base/DocumentEditorCaption.h"

#include <QString>

// The kinds of service orders (KINDDOC_ID).
constexpr int kDocuKindShoeRepair = 1;  // "Ремонт обуви": half-pair, colour and material of each product
constexpr int kDocuKindKeys = 2;        // "Изготовление ключей": services only
constexpr int kDocuKindEngraving = 3;   // "Гравировка": products without half-pair, colour, material

// May the editor change the order? The period must be open; a new order
// needs the create right (ZakInsert), an existing one the edit right
// (ZakEdit). Otherwise the editor shows the order: only the hand-over date
// can change and a save stores the header only.
bool DocuEditAllowed(bool periodOpen, bool isNewDoc, bool zakInsert, bool zakEdit);

// The editor's caption and its changed mark are every document editor's.
inline QString DocuEditorTitle(bool isNewDoc, bool editAllowed) { return DocumentEditorTitle(isNewDoc, editAllowed); }
inline QString DocuCaptionMarked(const QString& caption, bool modified) {
    return DocumentCaptionMarked(caption, modified);
}

// What an order's kind shows in the editor.
struct TDocuKindLayout {
    bool productsTab = true;         // the product lines' tab; without it the editor opens on the services
    bool setsShoeColumns = false;    // the kind decides the columns below; other kinds leave them as they are
    bool shoeColumns = false;        // PPARA_NAME, COLOR_NAME, MATERIAL_NAME shown
    int productNameWidth = 0;        // PRODUCT_NAME's display width, when setsShoeColumns
};
TDocuKindLayout DocuKindLayout(int kindDocId);

// How the editor is being closed: its Save button, or any other way
// (Cancel, Escape, the window's close box).
enum class TDocuCloseButton { Save, Close };
// The clerk's answer to DocumentSaveChangesQuestion().
enum class TDocuCloseAnswer { NotAsked, Yes, No };

enum class TDocuCloseAction {
    Ask,           // ask the question first, then decide again with the answer
    Save,          // check the customer and the dates and save; a refusal keeps the editor open
    DeleteNewRow,  // a new order: the row the main window stored for it is deleted (applied at once)
    UndoChanges,   // an existing order: its cached changes are undone
};

// What closing does. Save saves; otherwise a modified order asks, and "Yes"
// saves; an untouched order or "No" throws the changes away: a new order's
// row is deleted, an existing order's changes are undone.
TDocuCloseAction DocuCloseAction(TDocuCloseButton button, bool modified, TDocuCloseAnswer answer, bool isNewDoc);
