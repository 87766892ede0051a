#pragma once
// A tree of groups bound to a dataset of a self-referencing table (ID,
// PARENT_ID, NAME, LEVELI). The selected node and the dataset's current row
// follow each other: selecting a node moves the dataset, a change or a cursor
// move in the dataset rebuilds the tree with the current row's node selected.
// Groups are inserted and edited through a modal form the owner supplies.
// Which fields may bind it and the tree of groups: data/GroupTree.h.
#include <QPointer>

#include "data/ClientDataSet.h"
#include <QTreeWidget>
#include <functional>

class QDialog;
class TClientDataSet;

class TDBTreeView : public QTreeWidget {
    Q_OBJECT
public:
    explicit TDBTreeView(QWidget* parent = nullptr);
    ~TDBTreeView() override;

    void setDataSource(TClientDataSet* ds);
    TClientDataSet* dataSource() const { return m_ds; }
    // Parent ID of the top-level nodes.
    void setRootID(int id);
    int rootID() const { return m_rootId; }
    // The names are refused with a warning when they name a field of a
    // non-integer type, or when both ID fields would be the same field.
    void setIDField(const QString& name);
    void setParentIDField(const QString& name);
    void setDisplayField(const QString& name);
    QString idField() const { return m_idField; }
    QString parentIDField() const { return m_parentField; }
    QString displayField() const { return m_displayField; }

    // The dialog that inserts and edits a group (edits the dataset's current row).
    QPointer<QDialog> EditForm;
    // Before a node is inserted: may give the caption or forbid it.
    std::function<void(QString& newCaption, bool& allow)> OnInsertingNode;
    // Before a node is deleted: may forbid it.
    std::function<void(bool& allow)> OnDeletingNode;

    void RebuildTree(bool keepPosition);
    void SelectCurrentNode();
    // Inserts a row through EditForm under the parent node; the new node or null.
    QTreeWidgetItem* InsertNode(QTreeWidgetItem* parent, int newId);
    // Edits the current row through EditForm; true when confirmed.
    bool EditCurrentNode();
    // Deletes the node's row and the rows of its whole branch.
    void DeleteNode(QTreeWidgetItem* node);
    bool CheckBinding();

    static int nodeId(const QTreeWidgetItem* node);
    QTreeWidgetItem* nodeOfId(int id) const;
    bool isBusy() const { return m_busy; }
    int rebuildCount() const { return m_rebuilds; }

signals:
    // The selected node changed by the user (not by the view's own work).
    void OnChange(QTreeWidgetItem* node);
    void OnRebuildTree();

private:
    void Change(QTreeWidgetItem* node);
    void Edit(QTreeWidgetItem* item, int column);
    void onActiveChanged();
    void onDataChanged();
    void warn(const QString& text) const;
    bool linkActive() const;
    void deleteBranch(QTreeWidgetItem* node, bool& failed);

    QPointer<TClientDataSet> m_ds;
    QList<QMetaObject::Connection> m_connections;
    int m_rootId = 0;
    QString m_idField, m_parentField, m_displayField;
    bool m_busy = false;
    bool m_wasActive = false;
    int m_rebuilds = 0;
};
