#include "stock/core/StockDocEditRules.h"

#include "data/ClientDataSet.h"

namespace {
const QString kModifiedMark = QStringLiteral(" *");
}  // namespace

TStockDocHeader ReadStockDocHeader(const TClientDataSet& docs, const TClientDataSet& kindDoc) {
    TStockDocHeader h;
    h.docId = docs.fieldByName(QStringLiteral("ID")).asInteger();
    h.kindDocId = docs.fieldByName(QStringLiteral("KINDDOC_ID")).asInteger();
    const TField* kindName = docs.findField(QStringLiteral("KINDDOC_NAME"));
    h.kindName = kindName ? kindName->asString()
                          : kindDoc.lookup(QStringLiteral("ID"), h.kindDocId, QStringLiteral("NAME")).toString();
    return h;
}

QString StockDocEditorTitle(bool isNewDoc, bool editAllowed) {
    if (isNewDoc) return QStringLiteral("Новый документ");
    return editAllowed ? QStringLiteral("Редактирование документа") : QStringLiteral("Просмотр");
}

QString StockDocMarkedTitle(const QString& caption, bool modified) {
    if (modified && !caption.endsWith(kModifiedMark)) return caption + kModifiedMark;
    if (!modified && caption.endsWith(kModifiedMark)) return caption.left(caption.size() - kModifiedMark.size());
    return caption;
}

QString StockDocHeading(const QString& kindName) {
    return kindName + QStringLiteral(" ") + QString(144, QLatin1Char('.'));
}

TStockDocCloseAction StockDocCloseAction(bool accepted, bool editAllowed, bool modified, TStockDocCloseAnswer answer) {
    if (!editAllowed) return TStockDocCloseAction::Discard;
    if (accepted) return TStockDocCloseAction::Save;
    if (!modified) return TStockDocCloseAction::Discard;
    switch (answer) {
    case TStockDocCloseAnswer::NotAsked: return TStockDocCloseAction::Ask;
    case TStockDocCloseAnswer::Yes: return TStockDocCloseAction::Save;
    case TStockDocCloseAnswer::No: break;
    }
    return TStockDocCloseAction::Discard;
}
