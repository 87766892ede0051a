#pragma once
// Adding, renaming and deleting a tree book's groups, without a window. The
// window's tree adds, edits or removes the node through the group dialog;
// these routines draw the new ID, store the change with the depths of its
// branch, say what is asked before a deletion, and which group the tree
// returns to once the groups are read again.
#include "fb/Value.h"

#include <QString>
#include <optional>

class TClientDataSet;
class TStoredProc;

namespace books {

// The ID of a new group from the book's procedure (GET_TOVARGR_ID).
int DrawGroupID(TStoredProc& proc);

// What follows storing a group: the database's refusal, shown in the error
// window (none when stored), and the group selected once the groups are read again.
struct GroupStored {
    std::optional<QString> refusal;
    fb::Value returnTo;
};
// The group `id` the tree added: back to it when stored, to `selected` when
// refused (a refused group leaves no node behind).
GroupStored StoreAddedGroup(TClientDataSet& groups, const QString& groupTable, int id, const fb::Value& selected);
// The current group, edited: confirmed or refused, the tree returns to it.
GroupStored StoreEditedGroup(TClientDataSet& groups, const QString& groupTable);

// Deleting the current group `name` (with subgroups or not, with the records
// in view): the refusal shown (nothing more happens), or else the question
// asked; a Yes removes the node and stores the deletion.
struct GroupDeleteAsk {
    QString refusal;
    QString question;
    int id = 0;
};
GroupDeleteAsk AskDeleteGroup(const TClientDataSet& groups, bool hasChildren, int recordsInView, const QString& name);
// Stores the deletion of group `id` once the tree removed it; the group to
// read again and return to when the database refused it, null when deleted.
fb::Value StoreDeletedGroup(TClientDataSet& groups, int id);

// Reads the groups again (the tree rebuilds) and returns to the group `id` when not null.
void ReadGroupsAgain(TClientDataSet& groups, const fb::Value& id);

}  // namespace books
