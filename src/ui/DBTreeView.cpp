#include "ui/DBTreeView.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "data/ClientDataSet.h"
#include "data/GroupTree.h"

#include <QDialog>

namespace {

// Sets a flag for the length of a scope, also when it ends by an exception.
struct BusyScope {
    bool& flag;
    explicit BusyScope(bool& f) : flag(f) { flag = true; }
    ~BusyScope() { flag = false; }
};

}  // namespace

TDBTreeView::TDBTreeView(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setColumnCount(1);
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* cur) { Change(cur); });
    connect(this, &QTreeWidget::itemChanged, this, &TDBTreeView::Edit);
}

TDBTreeView::~TDBTreeView() {
    for (const auto& c : std::as_const(m_connections)) disconnect(c);
}

bool TDBTreeView::linkActive() const { return m_ds && m_ds->isActive(); }

void TDBTreeView::setDataSource(TClientDataSet* ds) {
    for (const auto& c : std::as_const(m_connections)) disconnect(c);
    m_connections.clear();
    m_ds = ds;
    m_wasActive = linkActive();
    if (!ds) return;
    m_connections << connect(ds, &TClientDataSet::stateChanged, this, &TDBTreeView::onActiveChanged);
    m_connections << connect(ds, &TClientDataSet::dataChanged, this, &TDBTreeView::onDataChanged);
    m_connections << connect(ds, &TClientDataSet::currentChanged, this, &TDBTreeView::onDataChanged);
    m_connections << connect(ds, &TClientDataSet::rowChanged, this, &TDBTreeView::onDataChanged);
    m_connections << connect(ds, &QObject::destroyed, this, [this] { m_ds = nullptr; });
}

void TDBTreeView::onActiveChanged() {
    const bool active = linkActive();
    if (active == m_wasActive) return;
    m_wasActive = active;
    if (active) {
        RebuildTree(false);
    } else {
        const QSignalBlocker block(this);
        clear();
    }
}

void TDBTreeView::onDataChanged() {
    if (m_busy || !linkActive() || m_ds->controlsDisabled()) return;
    if (!m_wasActive) return;  // the activation rebuilds
    RebuildTree(true);
}

void TDBTreeView::warn(const QString& text) const {
    ModalSeam::message({QStringLiteral("Предупреждение"), objectName() + text, mbWarningOk});
}

void TDBTreeView::setRootID(int id) {
    m_rootId = id;
    RebuildTree(false);
}

void TDBTreeView::setIDField(const QString& name) {
    if (const QString refusal = GroupTreeIdFieldRefusal(m_ds, name, m_parentField); !refusal.isEmpty()) {
        warn(refusal);
        return;
    }
    m_idField = name;
    if (linkActive()) RebuildTree(false);
}

void TDBTreeView::setParentIDField(const QString& name) {
    if (const QString refusal = GroupTreeIdFieldRefusal(m_ds, name, m_idField); !refusal.isEmpty()) {
        warn(refusal);
        return;
    }
    m_parentField = name;
    if (linkActive()) RebuildTree(false);
}

void TDBTreeView::setDisplayField(const QString& name) {
    m_displayField = name;
    if (linkActive()) RebuildTree(true);
}

bool TDBTreeView::CheckBinding() {
    if (!linkActive()) return false;
    const QString refusal = GroupTreeBindingRefusal(*m_ds, m_idField, m_parentField, m_displayField);
    if (!refusal.isEmpty()) warn(refusal);
    return refusal.isEmpty();
}

int TDBTreeView::nodeId(const QTreeWidgetItem* node) { return node ? node->data(0, Qt::UserRole).toInt() : 0; }

QTreeWidgetItem* TDBTreeView::nodeOfId(int id) const {
    QTreeWidgetItemIterator it(const_cast<TDBTreeView*>(this));
    for (; *it; ++it)
        if (nodeId(*it) == id) return *it;
    return nullptr;
}

void TDBTreeView::RebuildTree(bool keepPosition) {
    if (!CheckBinding()) return;
    if (m_ds->isEmpty()) return;
    BusyScope busy(m_busy);
    m_ds->disableControls();
    struct Enable {
        TClientDataSet* ds;
        ~Enable() { ds->enableControls(); }
    } enable{m_ds};

    qint64 position = 0;
    if (keepPosition) position = topLevelItemCount() > 0 ? m_ds->fieldByName(m_idField).asLargeInt() : m_rootId;

    setUpdatesEnabled(false);
    const QSignalBlocker block(this);
    clear();
    std::function<void(QTreeWidgetItem*, const QList<TGroupNode>&)> show = [&](QTreeWidgetItem* parent,
                                                                                const QList<TGroupNode>& nodes) {
        for (const TGroupNode& node : nodes) {
            auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(this);
            item->setText(0, node.text);
            item->setData(0, Qt::UserRole, int(node.id));
            show(item, node.children);
        }
    };
    show(nullptr, BuildGroupTree(ReadGroupRows(*m_ds, m_idField, m_parentField, m_displayField), m_rootId));
    if (topLevelItemCount() > 0) topLevelItem(0)->setExpanded(true);
    if (keepPosition) {
        if (m_ds->locate(m_idField, fb::Value(position))) SelectCurrentNode();
        else if (topLevelItemCount() > 0) setCurrentItem(topLevelItem(0));
    } else if (topLevelItemCount() > 0) {
        setCurrentItem(topLevelItem(0));
    }
    setUpdatesEnabled(true);
    if (currentItem()) m_ds->locate(m_idField, fb::Value(position));
    ++m_rebuilds;
    // enableControls runs at the end of the scope while Busy is still set.
}

void TDBTreeView::SelectCurrentNode() {
    if (!linkActive() || m_ds->isEmpty()) return;
    TField* f = m_ds->findField(m_idField);
    if (!f) return;
    if (QTreeWidgetItem* node = nodeOfId(int(f->asLargeInt()))) {
        const QSignalBlocker block(this);
        setCurrentItem(node);
        scrollToItem(node);
    }
}

void TDBTreeView::Change(QTreeWidgetItem* node) {
    if (m_busy) return;
    {
        BusyScope busy(m_busy);
        if (linkActive() && node) {
            if (!m_ds->locate(m_idField, fb::Value(nodeId(node)))) m_ds->first();
        }
    }
    emit OnChange(node);
}

QTreeWidgetItem* TDBTreeView::InsertNode(QTreeWidgetItem* parent, int newId) {
    QString caption;
    bool allow = true;
    if (OnInsertingNode) OnInsertingNode(caption, allow);
    if (!allow || !m_ds) return nullptr;
    BusyScope busy(m_busy);
    const fb::Value level = m_ds->fieldByName(QStringLiteral("LEVELI")).value();
    const fb::Value before = m_ds->isEmpty() ? fb::Value() : m_ds->fieldByName(m_idField).value();
    // A cancelled insert leaves the dataset on the row it stood on.
    const auto back = [&] {
        m_ds->cancel();
        if (!before.isNull()) m_ds->locate(m_idField, before);
    };
    m_ds->append();
    try {
        FillNewGroupRow(*m_ds, m_idField, m_parentField, m_displayField, parent ? nodeId(parent) : m_rootId, newId,
                        caption, level);
    } catch (...) {
        back();
        throw;
    }
    if (!EditForm) {
        back();
        return nullptr;
    }
    EditForm->setWindowTitle(QStringLiteral("Новая группа"));
    if (execModal(EditForm) != QDialog::Accepted) {
        back();
        return nullptr;
    }
    const int parentId = int(m_ds->fieldByName(m_parentField).asLargeInt());
    const QString text = m_ds->fieldByName(m_displayField).displayText();
    m_ds->post();
    QTreeWidgetItem* under = nodeOfId(parentId);
    auto* item = under ? new QTreeWidgetItem(under) : new QTreeWidgetItem(this);
    item->setText(0, text);
    item->setData(0, Qt::UserRole, newId);
    {
        const QSignalBlocker block(this);
        setCurrentItem(item);
    }
    return item;
}

bool TDBTreeView::EditCurrentNode() {
    if (!m_ds || !EditForm) return false;
    EditForm->setWindowTitle(QStringLiteral("Редактирование группы"));
    BusyScope busy(m_busy);
    m_ds->edit();
    if (execModal(EditForm) == QDialog::Accepted) {
        m_ds->post();
        return true;
    }
    m_ds->cancel();
    return false;
}

void TDBTreeView::deleteBranch(QTreeWidgetItem* node, bool& failed) {
    const QList<QTreeWidgetItem*> kids = [node] {
        QList<QTreeWidgetItem*> l;
        for (int i = 0; i < node->childCount(); ++i) l << node->child(i);
        return l;
    }();
    bool childFailed = false;
    for (QTreeWidgetItem* c : kids) deleteBranch(c, childFailed);
    if (childFailed) {
        failed = true;  // the node and its ancestors stay
        return;
    }
    const int id = nodeId(node);
    if (!m_ds->locate(m_idField, fb::Value(id))) {
        delete node;
        return;
    }
    m_ds->deleteRecord();
    if (!m_ds->isEmpty() && m_ds->fieldByName(m_idField).asLargeInt() == id) {
        failed = true;
        return;
    }
    delete node;
}

void TDBTreeView::DeleteNode(QTreeWidgetItem* node) {
    if (!node || !m_ds) return;
    bool allow = true;
    if (OnDeletingNode) OnDeletingNode(allow);
    if (!allow) return;
    bool failed = false;
    {
        BusyScope busy(m_busy);
        const QSignalBlocker block(this);
        deleteBranch(node, failed);
        SelectCurrentNode();
    }
    if (failed) RebuildTree(true);
}

void TDBTreeView::Edit(QTreeWidgetItem* item, int column) {
    Q_UNUSED(column);
    if (m_busy || !linkActive() || !item) return;
    BusyScope busy(m_busy);
    if (!m_ds->locate(m_idField, fb::Value(nodeId(item)))) return;
    if (!m_ds->isEditing()) m_ds->edit();
    m_ds->fieldByName(m_displayField).setValue(item->text(0));
    m_ds->post();
}
