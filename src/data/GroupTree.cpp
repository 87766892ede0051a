#include "data/GroupTree.h"

#include <QHash>

#include <functional>

namespace {

const QString kSameField = QStringLiteral(": IDField and ParendIDField cann't refer to the same field!");

bool integerType(TFieldType t) {
    return t == TFieldType::Integer || t == TFieldType::SmallInt || t == TFieldType::LargeInt;
}

bool integerField(const TClientDataSet& ds, const QString& name) {
    const TField* f = ds.findField(name);
    return f && integerType(f->type());
}

}  // namespace

QString GroupTreeIdFieldRefusal(const TClientDataSet* ds, const QString& name, const QString& otherIdField) {
    if (name.isEmpty()) return {};
    const TField* f = ds && ds->isActive() ? ds->findField(name) : nullptr;
    if (f && !integerType(f->type())) return QStringLiteral(": Incorrect field type");
    if (name == otherIdField) return kSameField;
    return {};
}

QString GroupTreeBindingRefusal(const TClientDataSet& ds, const QString& idField, const QString& parentField,
                                const QString& displayField) {
    if (!integerField(ds, idField)) return QStringLiteral(": IDField not defined or of incorrect type");
    if (!integerField(ds, parentField)) return QStringLiteral(": ParentIDField not defined or of incorrect type");
    if (!ds.findField(displayField)) return QStringLiteral(": DisplayField not defined");
    if (idField.compare(parentField, Qt::CaseInsensitive) == 0) return kSameField;
    return {};
}

QList<TGroupRow> ReadGroupRows(const TClientDataSet& ds, const QString& idField, const QString& parentField,
                               const QString& displayField) {
    const int id = ds.fieldByName(idField).index();
    const int parent = ds.fieldByName(parentField).index();
    const int text = ds.fieldByName(displayField).index();
    QList<TGroupRow> rows;
    for (int r = 0; r < ds.recordCount(); ++r)
        rows.append({ds.valueAt(r, id).toInt(), ds.valueAt(r, parent).toInt(), ds.displayTextAt(r, text)});
    return rows;
}

QList<TGroupNode> BuildGroupTree(const QList<TGroupRow>& rows, qint64 rootId) {
    // Children of each parent in the rows' order.
    QHash<qint64, QList<int>> children;
    for (int r = 0; r < rows.size(); ++r) children[rows[r].parentId].append(r);
    std::function<QList<TGroupNode>(qint64)> under = [&](qint64 parentId) {
        QList<TGroupNode> nodes;
        for (int r : children.value(parentId)) {
            if (rows[r].id == parentId) continue;
            nodes.append({rows[r].id, rows[r].text, {}});
        }
        for (TGroupNode& node : nodes) node.children = under(node.id);
        return nodes;
    };
    return under(rootId);
}

void FillNewGroupRow(TClientDataSet& ds, const QString& idField, const QString& parentField,
                     const QString& displayField, qint64 parentId, qint64 newId, const QString& caption,
                     const fb::Value& levelBefore) {
    ds.fieldByName(displayField).setValue(caption.isEmpty() ? fb::Value() : fb::Value(caption));
    ds.fieldByName(parentField).setValue(parentId);
    ds.fieldByName(QStringLiteral("LEVELI")).setValue(levelBefore.toInt() + 1);
    ds.fieldByName(idField).setValue(newId);
}
