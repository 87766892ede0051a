#include "books/core/BookCommands.h"

#include "data/ClientDataSet.h"
#include "data/FieldMoneyText.h"
#include "data/SaveRetry.h"
#include "fb/Transaction.h"

namespace books {

namespace {
const QString kId = QStringLiteral("ID");
}

void AddBookFields(TClientDataSet& ds, const QList<BookField>& fields) {
    for (const BookField& f : fields) {
        TField& field = ds.addField(f.name);
        if (f.label.isEmpty()) field.setVisible(false);
        else field.setDisplayLabel(f.label);
        if (f.width > 0) field.setDisplayWidth(f.width);
        if (f.money) field.setOnGetText([](const TField& x) { return FieldMoneyText(x); });
    }
}

bool HasRows(const TClientDataSet& ds) { return ds.isActive() && !ds.isEmpty(); }

FieldValues CopiedValues(const TClientDataSet& ds, const QStringList& copyFields) {
    FieldValues values;
    for (const QString& f : copyFields) values.append({f, ds.fieldByName(f).value()});
    return values;
}

void StartNewRecord(TClientDataSet& ds, int id, const FieldValues& values) {
    ds.append();
    for (const auto& [field, value] : values) ds.fieldByName(field).setValue(value);
    ds.fieldByName(kId).setAsInteger(id);
}

fb::Value GroupInView(const TClientDataSet& groups) {
    return HasRows(groups) ? groups.fieldByName(kId).value() : fb::Value();
}

bool SaveEditedRecord(TClientDataSet& ds, const fb::Value& originalId, const std::function<bool()>& store) {
    const bool wasInsert = ds.state() == TDataSetState::Insert;
    const bool wasEditing = ds.isEditing();
    const QHash<QString, fb::Value> typed = RowValues(ds);
    if (wasEditing) ds.post();
    const fb::Value id = ds.fieldByName(kId).value();
    if (store()) {
        ds.locate(kId, id);
        return true;
    }
    if (!wasEditing) return false;
    if (wasInsert) {
        ds.append();
    } else {
        if (!originalId.isNull()) ds.locate(kId, originalId);
        ds.edit();
    }
    SetRowValues(ds, typed);
    return false;
}

QString DeleteRecordQuestion() { return QStringLiteral("Удалить запись из справочника?"); }

bool DeleteCurrentRecord(TClientDataSet& ds) {
    ds.deleteRecord();
    return ds.applyUpdates() == 0;
}

bool SortShown(const BookConfig& book, int order) { return order < 2 || !book.sortCaptions[size_t(order)].isEmpty(); }

void SortRecords(TClientDataSet& ds, const BookConfig& book, int order, bool wholeLineOrderBy) {
    const QString& field = book.orderFields[size_t(order)];
    ds.query().setSql(ReplaceOrderBy(ds.query().sql(), field, wholeLineOrderBy));
    // The grid keeps the order of the column chosen.
    ds.setIndexFieldNames(field);
}

std::optional<int> SortForFindField(const BookConfig& book, int field, int currentOrder) {
    if (field == currentOrder || book.sortCaptions[size_t(field)].isEmpty()) return std::nullopt;
    return field;
}

bool FindNearestRecord(TClientDataSet& ds, const BookConfig& book, int field, const QString& text) {
    if (field < 0 || field > 3 || !HasRows(ds)) return false;
    const QString& name = book.orderFields[size_t(field)];
    const fb::Value key = ds.fieldByName(name).valueFromText(text);
    if (ds.indexFieldNames() != name) ds.setIndexFieldNames(name);
    ds.findNearest({key});
    return true;
}

QString BookStatusText(int records, std::optional<int> inGroup) {
    QString text = QStringLiteral("Записей в справочнике: %1").arg(records);
    if (inGroup) text += QStringLiteral("; Записей в выбранной группе: %1").arg(*inGroup);
    return text;
}

QString GroupDeleteRefusal(GroupDelete verdict, const QString& groupName) {
    switch (verdict) {
    case GroupDelete::Root: return QStringLiteral("Это корневая группа. Ее нельзя удалить.");
    case GroupDelete::NotEmpty: return QStringLiteral("Группа ") + groupName + QStringLiteral(" не пуста. Удаление невозможно.");
    case GroupDelete::Allowed: break;
    }
    return {};
}

QString GroupDeleteQuestion(const QString& groupName) {
    return QStringLiteral("Удалить группу ") + groupName + QStringLiteral(" ?");
}

std::optional<QString> SaveGroups(TClientDataSet& groups, const QString& groupTable, int groupId) {
    try {
        RunSaveTransaction(groups.attachment(), [&](fb::Transaction& tra) {
            groups.applyUpdates(tra);
            FixGroupLevels(tra, groupTable, groupId);
        });
        return std::nullopt;
    } catch (...) {
        QString message = QStringLiteral("Неизвестная ошибка");
        try {
            throw;
        } catch (const std::exception& e) {
            message = QString::fromUtf8(e.what());
        } catch (...) {
        }
        groups.cancelUpdates();
        return message;
    }
}

}  // namespace books
