#pragma once
// What the order's line dialogs decide without a window: their captions, the
// choice lists of the order's kind, and the fields a line must have before
// the dialog takes it.
#include "orders/core/DocuLines.h"

#include <QString>
#include <QStringList>
#include <optional>

class TClientDataSet;

// "Добавить изделие" / "Редактировать изделие", "Добавить услугу" / "Редактировать услугу".
QString DocuLineDialogTitle(TDocuLineKind kind, bool appending);

// The filter that keeps the products or services of the order's kind: "KINDDOC_ID=<kind>".
QString DocuKindFilter(int kindDocId);

// A field counts as empty when it is null or its text is blank; no list at all is empty too.
bool IsEmptyField(const TClientDataSet* ds, const QString& fieldName);

// The names of the required fields the current line leaves empty, in the
// dialog's order: a product line needs "Изделие" (PRODUCT_ID); a service line
// "Услуга" (USLUGA_ID) and "Стоимость" (SUMMA).
QStringList MissingDocuLineFields(TDocuLineKind kind, const TClientDataSet* lines);

// "Заполните поля:\r\r" + the missing names, each followed by "\r".
QString MissingFieldsMessage(const QStringList& missing);

// A choice from a list for the line (the product dialog's free-text boxes):
// the item's ID, or null when the typed text names no item. The line is put
// into editing first.
void SetDocuLineChoice(TClientDataSet& lines, const QString& field, std::optional<int> id);
