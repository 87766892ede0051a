#include "base/DocumentEditorCaption.h"

QString DocumentEditorTitle(bool isNewDoc, bool editAllowed) {
    if (isNewDoc) return QStringLiteral("Новый документ");
    return editAllowed ? QStringLiteral("Редактирование документа") : QStringLiteral("Просмотр");
}

QString DocumentCaptionMarked(const QString& caption, bool modified) {
    static const QString mark = QStringLiteral(" *");
    if (modified && !caption.endsWith(mark)) return caption + mark;
    if (!modified && caption.endsWith(mark)) return caption.left(caption.size() - mark.size());
    return caption;
}

QString DocumentSaveChangesQuestion() {
    return QStringLiteral("Документ был изменен.\rСохранить внесенные в документ изменения?\r\r");
}
