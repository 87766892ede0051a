#include "orders/core/ReceiptForms.h"

#include "orders/core/DocuEditRules.h"

QString ReceiptFormName(int kindDocID, bool narrow) {
    QString kind;
    switch (kindDocID) {
    case kDocuKindShoeRepair: kind = QStringLiteral("obuv"); break;
    case kDocuKindKeys: kind = QStringLiteral("kluchi"); break;
    case kDocuKindEngraving: kind = QStringLiteral("grav"); break;
    default: return QString();
    }
    return (narrow ? QStringLiteral("Reports/Rep_Kvituz_") : QStringLiteral("Reports/Rep_Kvit_")) + kind;
}

bool ReceiptListsProducts(int kindDocID) {
    return kindDocID == kDocuKindShoeRepair || kindDocID == kDocuKindEngraving;
}
