#pragma once
// The caption of a document editor, for orders and stock documents alike, and
// the question put when a changed document is closed.
#include <QString>

// "Новый документ", "Редактирование документа" or "Просмотр".
QString DocumentEditorTitle(bool isNewDoc, bool editAllowed);
// The caption with the mark " *" of a document changed since it was opened or
// saved, or without it; a caption keeps one mark at most.
QString DocumentCaptionMarked(const QString& caption, bool modified);
// Asked when a changed document is closed without saving.
QString DocumentSaveChangesQuestion();
