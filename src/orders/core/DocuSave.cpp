#include "orders/core/DocuSave.h"

#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/SaveRetry.h"
#include "fb/Transaction.h"

namespace {

void postPending(TClientDataSet& ds) {
    if (ds.isActive() && ds.isEditing()) ds.post();
}

}  // namespace

QString TDocuSaveResult::note() const {
    if (writeOff == TWriteOffResult::Frozen)
        return QStringLiteral("Документ сохранен, но списание сопутствующих товаров не изменено: "
                              "оно относится к закрытому рабочему периоду.");
    return {};
}

TDocuSaveResult SaveDocu(TClientDataSet& docu, TClientDataSet& pmoves, TClientDataSet& umoves,
                         const TDocuSaveInput& input) {
    postPending(docu);
    postPending(pmoves);
    postPending(umoves);
    const bool linesChanged = pmoves.updatesPending() || umoves.updatesPending();
    if (!input.periodOpen && !input.headerOnly && linesChanged)
        throw EDatabaseError(QStringLiteral("Рабочий период закрыт. Изменения в нем невозможны."));

    TDocuSaveResult result;
    // Rolls back on leaving by an exception; the datasets keep their logs then.
    // A conflict with another workstation's save is run again from the start.
    RunSaveTransaction(docu.attachment(), [&](fb::Transaction& tra) {
        docu.applyUpdates(tra);
        pmoves.applyUpdates(tra);
        umoves.applyUpdates(tra);
        // Closed line lists tell nothing about the services: the write-off stays.
        result.writeOff = TWriteOffResult::None;
        if (!input.headerOnly && input.autoSklad && umoves.isActive())
            result.writeOff = SaveSoputTovar(tra, docu, umoves, input.periodId);
    });
    return result;
}

QString DiscardDocuChanges(TClientDataSet& docu, int docId, bool deleteNewRow) {
    if (docu.isEditing()) docu.cancel();
    docu.cancelUpdates();
    if (!deleteNewRow) return QString();
    docu.locate(QStringLiteral("ID"), docId);
    docu.deleteRecord();
    return docu.applyUpdates() != 0 ? docu.lastApplyError() : QString();
}
