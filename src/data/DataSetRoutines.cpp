#include "data/DataSetRoutines.h"

#include "data/ClientDataSet.h"
#include "data/Query.h"

namespace {

const QString kId = QStringLiteral("ID");

fb::Value currentId(TClientDataSet& ds) {
    if (!ds.isActive() || ds.isEmpty()) return {};
    TField* id = ds.findField(kId);
    return id ? id->value() : fb::Value();
}

void reopenAt(TClientDataSet& ds, const fb::Value& id) {
    ds.open();
    if (!id.isNull()) ds.locate(kId, id);  // not found: the first row stays current
}

}  // namespace

void RefreshAndLocate(TClientDataSet& dataSet) {
    const fb::Value id = currentId(dataSet);
    dataSet.close();
    reopenAt(dataSet, id);
}

void RefreshGroupAndLocate(TClientDataSet& dataSet, TQuery& query, TClientDataSet& groupDataSet, bool byGroup) {
    const fb::Value id = currentId(dataSet);
    dataSet.close();
    fb::Value group(-1);
    if (byGroup) group = groupDataSet.fieldByName(kId).value();
    query.setParam(QStringLiteral("PAR_GR"), group);
    reopenAt(dataSet, id);
}

void Reopen(TClientDataSet& dataSet) {
    dataSet.close();
    dataSet.open();
}

bool SwapNppWithNeighbour(TClientDataSet& lines, int step) {
    const QString npp = QStringLiteral("NPP");
    const int row = lines.recNo();
    const int other = row + step;
    if (row < 0 || other < 0 || other >= lines.recordCount()) return false;
    const fb::Value myId = lines.fieldByName(kId).value();
    const fb::Value myNpp = lines.fieldByName(npp).value();
    lines.setRecNo(other);
    const fb::Value otherNpp = lines.fieldByName(npp).value();
    lines.edit();
    lines.fieldByName(npp).setValue(myNpp);
    lines.post();
    lines.locate(kId, myId);
    lines.edit();
    lines.fieldByName(npp).setValue(otherNpp);
    lines.post();
    return true;
}
