#include "stock/core/StockDocEditRules.h"

#include "data/ClientDataSet.h"

TStockDocHeader ReadStockDocHeader(const TClientDataSet& docs, const TClientDataSet& kindDoc) {
    TStockDocHeader h;
    h.docId = docs.fieldByName(QStringLiteral("ID")).asInteger();
    h.kindDocId = docs.fieldByName(QStringLiteral("KINDDOC_ID")).asInteger();
    const TField* kindName = docs.findField(QStringLiteral("KINDDOC_NAME"));
    h.kindName = kindName ? kindName->asString()
                          : kindDoc.lookup(QStringLiteral("ID"), h.kindDocId, QStringLiteral("NAME")).toString();
    return h;
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

const std::vector<TEditorCommand>& StockDocCommands() {
    static const std::vector<TEditorCommand> table = {
        {"acMovesAppend", "Добавить изделие", "+", (Qt::SHIFT | Qt::Key_Insert).toCombined()},
        {"acMovesEdit", "Редактировать изделие (F2)", "Изм."},
        {"acMovesDelete", "Убрать изделие (Ctrl-Del)", "-"},
        {"acMovesUp", "Переместить изделие вверх", "↑"},
        {"acMovesDown", "Переместить изделие вниз", "↓"},
        {"acPrint", "Печать", nullptr, 0, false},
    };
    return table;
}
