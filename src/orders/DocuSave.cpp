#include "orders/DocuSave.h"

#include "app/Global.h"
#include "data/ClientDataSet.h"
#include "data/SaveRetry.h"
#include "fb/Transaction.h"
#include "orders/WriteOff.h"

namespace {

void postPending(TClientDataSet& ds) {
    if (ds.isActive() && ds.isEditing()) ds.post();
}

}  // namespace

void SaveDocu(TClientDataSet& docu, TClientDataSet& pmoves, TClientDataSet& umoves, bool headerOnly) {
    postPending(docu);
    postPending(pmoves);
    postPending(umoves);

    // Rolls back on leaving by an exception; the datasets keep their logs then.
    // A conflict with another workstation's save is run again from the start.
    RunSaveTransaction(docu.attachment(), [&](fb::Transaction& tra) {
        docu.applyUpdates(tra);
        pmoves.applyUpdates(tra);
        umoves.applyUpdates(tra);
        // Closed line lists tell nothing about the services: the write-off stays.
        if (!headerOnly && UchetOptions.AutoSklad && umoves.isActive()) SaveSoputTovar(tra, docu, umoves);
    });
}
