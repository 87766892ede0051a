#pragma once
// The tree of groups of a self-referencing table (ID, PARENT_ID, NAME,
// LEVELI) as a structure without widgets: which fields may bind it, the
// groups under a root in the dataset's order, and the values a new group
// row gets. The tree control shows it.
#include "data/ClientDataSet.h"

#include <QList>
#include <QString>

// The refusals end a text that begins with the control's name.
// Why a field cannot be the tree's ID or parent ID field: not of an integer
// type, or the same as the other of the two ("" when it can). The type is
// judged only while the dataset is open; a field it does not have is taken
// here, and the binding check refuses it later.
QString GroupTreeIdFieldRefusal(const TClientDataSet* ds, const QString& name, const QString& otherIdField);
// Why the fields cannot bind the tree ("" when they can): an ID field
// missing or not an integer, the same for the parent, no display field, both
// ID fields the same field.
QString GroupTreeBindingRefusal(const TClientDataSet& ds, const QString& idField, const QString& parentField,
                                const QString& displayField);

// One row of the table as the tree reads it.
struct TGroupRow {
    qint64 id = 0;
    qint64 parentId = 0;
    QString text;
};
// Every row of the dataset, in its order.
QList<TGroupRow> ReadGroupRows(const TClientDataSet& ds, const QString& idField, const QString& parentField,
                               const QString& displayField);

// A group with the groups under it, in the rows' order.
struct TGroupNode {
    qint64 id = 0;
    QString text;
    QList<TGroupNode> children;
};
// The groups under `rootId` and, below each, its own; a row that names
// itself as its parent, and rows no path from the root reaches, are left out.
QList<TGroupNode> BuildGroupTree(const QList<TGroupRow>& rows, qint64 rootId);

// A new group row appended to the dataset: caption (null when empty), parent,
// the level one below the row it was appended from, and its ID. The row the
// dataset stood on gives the level, so the caller reads it first.
void FillNewGroupRow(TClientDataSet& ds, const QString& idField, const QString& parentField,
                     const QString& displayField, qint64 parentId, qint64 newId, const QString& caption,
                     const fb::Value& levelBefore);
