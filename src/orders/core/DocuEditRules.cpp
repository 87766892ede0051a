#include "orders/core/DocuEditRules.h"

bool DocuEditAllowed(bool periodOpen, bool isNewDoc, bool zakInsert, bool zakEdit) {
    return periodOpen && (isNewDoc ? zakInsert : zakEdit);
}

QString DocuEditorTitle(bool isNewDoc, bool editAllowed) {
    if (isNewDoc) return QStringLiteral("Новый документ");
    return editAllowed ? QStringLiteral("Редактирование документа") : QStringLiteral("Просмотр");
}

QString DocuCaptionMarked(const QString& caption, bool modified) {
    static const QString mark = QStringLiteral(" *");
    if (modified && !caption.endsWith(mark)) return caption + mark;
    if (!modified && caption.endsWith(mark)) return caption.left(caption.size() - mark.size());
    return caption;
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

QString DocuSaveChangesQuestion() {
    return QStringLiteral("Документ был изменен.\rСохранить внесенные в документ изменения?\r\r");
}

TDocuCloseAction DocuCloseAction(TDocuCloseButton button, bool modified, TDocuCloseAnswer answer, bool isNewDoc) {
    if (button == TDocuCloseButton::Save) return TDocuCloseAction::Save;
    if (modified) {
        if (answer == TDocuCloseAnswer::NotAsked) return TDocuCloseAction::Ask;
        if (answer == TDocuCloseAnswer::Yes) return TDocuCloseAction::Save;
    }
    return isNewDoc ? TDocuCloseAction::DeleteNewRow : TDocuCloseAction::UndoChanges;
}
