#include "ui/DataRoutines.h"

#include "data/ClientDataSet.h"

#include <QComboBox>
#include <QListWidget>

namespace {

const QString kId = QStringLiteral("ID");

// Walks the dataset from its first row to its end, handing each row's text and ID.
template <class Add>
void walkRows(TClientDataSet& ds, const QString& fieldName, int groupId, Add add) {
    TField& text = ds.fieldByName(fieldName);
    TField& id = ds.fieldByName(kId);
    TField* group = groupId != 0 ? &ds.fieldByName(QStringLiteral("GR_ID")) : nullptr;
    ds.disableControls();
    try {
        ds.first();
        while (!ds.eof()) {
            if (!group || group->asInteger() == groupId) add(text.asString(), id.asInteger());
            ds.next();
        }
    } catch (...) {
        ds.enableControls();
        throw;
    }
    ds.enableControls();
}

void fillCombo(QComboBox* combo, TClientDataSet& ds, int groupId, const QString& fieldName) {
    combo->clear();
    walkRows(ds, fieldName, groupId, [&](const QString& t, int id) { combo->addItem(t, id); });
    if (combo->count() > 0) combo->setCurrentIndex(0);
}

}  // namespace

int ComboIndexOfID(const QComboBox* combo, int id) {
    for (int i = 0; i < combo->count(); ++i) {
        const QVariant v = combo->itemData(i, kItemIdRole);
        if (v.isValid() && v.toInt() == id) return i;
    }
    return -1;
}

int ComboSelectedID(const QComboBox* combo) {
    const int i = combo->currentIndex();
    if (i < 0) return -1;
    const QVariant v = combo->itemData(i, kItemIdRole);
    return v.isValid() ? v.toInt() : -1;
}

void FillListBox(QListWidget* list, TClientDataSet& dataSet, const QString& fieldName) {
    list->clear();
    walkRows(dataSet, fieldName, 0, [&](const QString& t, int id) {
        auto* item = new QListWidgetItem(t, list);
        item->setData(kItemIdRole, id);
    });
    if (list->count() > 0) list->setCurrentRow(0);
}

void FillComboBox(QComboBox* combo, TClientDataSet& dataSet, const QString& fieldName) {
    fillCombo(combo, dataSet, 0, fieldName);
}

void FillComboBoxByGroup(QComboBox* combo, TClientDataSet& dataSet, int groupId, const QString& fieldName) {
    fillCombo(combo, dataSet, groupId, fieldName);
}
