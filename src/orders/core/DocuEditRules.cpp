#include "orders/core/DocuEditRules.h"

bool DocuEditAllowed(bool periodOpen, bool isNewDoc, bool zakInsert, bool zakEdit) {
    return periodOpen && (isNewDoc ? zakInsert : zakEdit);
}

TDocuKindLayout DocuKindLayout(int kindDocId) {
    TDocuKindLayout layout;
    layout.productsTab = kindDocId != kDocuKindKeys;
    if (kindDocId == kDocuKindShoeRepair || kindDocId == kDocuKindEngraving) {
        layout.setsShoeColumns = true;
        layout.shoeColumns = kindDocId == kDocuKindShoeRepair;
        layout.productNameWidth = layout.shoeColumns ? 30 : 70;
    }
    return layout;
}

TDocuCloseAction DocuCloseAction(TDocuCloseButton button, bool modified, TDocuCloseAnswer answer, bool isNewDoc) {
    if (button == TDocuCloseButton::Save) return TDocuCloseAction::Save;
    if (modified) {
        if (answer == TDocuCloseAnswer::NotAsked) return TDocuCloseAction::Ask;
        if (answer == TDocuCloseAnswer::Yes) return TDocuCloseAction::Save;
    }
    return isNewDoc ? TDocuCloseAction::DeleteNewRow : TDocuCloseAction::UndoChanges;
}
