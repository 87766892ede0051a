#include "stock/core/StockDocService.h"

#include "data/ClientDataSet.h"
#include "data/SaveRetry.h"
#include "fb/Transaction.h"

void SaveStockDoc(TClientDataSet& docs, TClientDataSet& moves) {
    if (docs.isActive() && docs.isEditing()) docs.post();
    if (moves.isActive() && moves.isEditing()) moves.post();
    RunSaveTransaction(docs.attachment(), [&](fb::Transaction& tra) {
        docs.applyUpdates(tra);
        if (moves.isActive()) moves.applyUpdates(tra);
    });
}

void DeleteStockDoc(TClientDataSet& docs) {
    if (docs.isEditing()) docs.cancel();
    docs.cancelUpdates();
    docs.deleteRecord();
    RunSaveTransaction(docs.attachment(), [&](fb::Transaction& tra) { docs.applyUpdates(tra); });
}

void DiscardStockDoc(TClientDataSet& docs, TClientDataSet& moves, bool isNewDoc, int docId,
                     const std::function<void(std::exception_ptr)>& onDeleteError) {
    if (docs.isEditing()) docs.cancel();
    docs.cancelUpdates();
    if (isNewDoc) {
        if (!docs.locate(QStringLiteral("ID"), docId)) return;
        try {
            DeleteStockDoc(docs);
        } catch (...) {
            if (onDeleteError) onDeleteError(std::current_exception());
            docs.cancelUpdates();
        }
    }
    if (moves.isActive()) moves.cancelUpdates();
}
