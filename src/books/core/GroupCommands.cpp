#include "books/core/GroupCommands.h"

#include "books/core/BookCommands.h"
#include "data/ClientDataSet.h"
#include "data/StoredProc.h"

namespace books {

namespace {
const QString kId = QStringLiteral("ID");

std::optional<QString> storeCurrent(TClientDataSet& groups, const QString& groupTable) {
    return SaveGroups(groups, groupTable, int(groups.fieldByName(kId).value().toInt()));
}
}  // namespace

int DrawGroupID(TStoredProc& proc) {
    proc.execute();
    return int(proc.paramByName(kId).toInt());
}

GroupStored StoreAddedGroup(TClientDataSet& groups, const QString& groupTable, int id, const fb::Value& selected) {
    GroupStored s{storeCurrent(groups, groupTable), {}};
    s.returnTo = s.refusal ? selected : fb::Value(id);
    return s;
}

GroupStored StoreEditedGroup(TClientDataSet& groups, const QString& groupTable) {
    const fb::Value id = groups.fieldByName(kId).value();
    return {storeCurrent(groups, groupTable), id};
}

GroupDeleteAsk AskDeleteGroup(const TClientDataSet& groups, bool hasChildren, int recordsInView, const QString& name) {
    GroupDeleteAsk ask;
    ask.id = int(groups.fieldByName(kId).asInteger());
    ask.refusal = GroupDeleteRefusal(CanDeleteGroup(ask.id, hasChildren, recordsInView), name);
    if (ask.refusal.isEmpty()) ask.question = GroupDeleteQuestion(name);
    return ask;
}

fb::Value StoreDeletedGroup(TClientDataSet& groups, int id) {
    return groups.applyUpdates() != 0 ? fb::Value(id) : fb::Value();
}

void ReadGroupsAgain(TClientDataSet& groups, const fb::Value& id) {
    groups.close();
    groups.open();
    if (!id.isNull()) groups.locate(kId, id);
}

}  // namespace books
