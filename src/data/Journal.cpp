#include "data/Journal.h"

#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "data/DataSetRoutines.h"
#include "data/FieldMoneyText.h"

#include <QLocale>

namespace {
const QString kLeadingComment = QStringLiteral("/*проверка комментария*/\n");
}  // namespace

void DefineJournalQuery(TClientDataSet& ds, const QString& queryName, const QString& table, const QString& dateField,
                        int periodId) {
    ds.query().setObjectName(queryName);
    ds.setCommandText(kLeadingComment + QStringLiteral("SELECT * FROM ") + table +
                      QStringLiteral("\nWHERE RPERIOD_ID=:RPERIOD_ID\nORDER BY ") + dateField +
                      QStringLiteral(", NUMBER"));
    ds.setTableName(table);
    ds.setKeepServerOrder(true);
    ds.setQuoteIdentifiers(true);
    ds.query().setParam(QStringLiteral("RPERIOD_ID"), periodId);
    HiddenColumn(ds.addField(QStringLiteral("ID")));
    HiddenColumn(ds.addField(QStringLiteral("KINDDOC_ID")));
    HiddenColumn(ds.addField(QStringLiteral("RPERIOD_ID")));
}

TField& HiddenColumn(TField& f) { return f.setVisible(false); }

TField& JournalColumn(TField& f, const QString& label, int width) {
    return f.setDisplayLabel(label).setDisplayWidth(width);
}

TField& MoneyColumn(TField& f) {
    return f.setOnGetText([](const TField& fld) { return FieldMoneyText(fld, QString()); });
}

void SetLookupDataSet(TClientDataSet& journal, const QString& field, TClientDataSet* lookupDs) {
    TField& f = journal.fieldByName(field);
    TField::LookupDef def = f.lookup();
    def.dataSet = lookupDs;
    f.setLookup(def);
}

void OpenJournalOnPeriod(TClientDataSet& journal, int periodId) {
    journal.close();
    journal.query().setParam(QStringLiteral("RPERIOD_ID"), periodId);
    journal.open();
}

int NextDocumentNumber(TDM& dm, const QString& maxProc, qint64 limit) {
    // The greatest number + 1; never past the limit (numbers do not wrap round).
    const fb::Value max = dm.execProc(maxProc).value(QStringLiteral("MAXNUM"));
    const qint64 next = max.isNull() ? 1 : max.toInt() + 1;
    if (next > limit)
        throw EDatabaseError(QStringLiteral("Номера документов исчерпаны: следующий номер %1 больше наибольшего "
                                            "допустимого (%2). Исправьте слишком большой номер, введённый вручную.")
                                 .arg(next)
                                 .arg(limit));
    return int(next);
}

int DrawDocumentId(TDM& dm, const QString& idProc) {
    return int(dm.execProc(idProc).value(QStringLiteral("ID")).toInt());
}

void AppendFilledRow(TClientDataSet& ds, const std::function<void()>& fill) {
    ds.append();
    try {
        fill();
        ds.post();
    } catch (...) {
        if (ds.isEditing()) ds.cancel();
        throw;
    }
}

QString DeleteDocumentQuestion(const QDate& date, const QString& number) {
    return QStringLiteral("Удалить документ от ") + QLocale().toString(date, QLocale::ShortFormat) +
           QStringLiteral(" № ") + number + QStringLiteral(" ?");
}

QString DeleteDocumentQuestion(const TClientDataSet& journal) {
    const TField* dateField = journal.findField(QStringLiteral("DATEDOC"));
    if (!dateField) dateField = &journal.fieldByName(QStringLiteral("DATEP"));
    return DeleteDocumentQuestion(dateField->asDate(), journal.fieldByName(QStringLiteral("NUMBER")).asString());
}

void DeleteJournalRow(TClientDataSet& journal) { journal.deleteRecord(); }

QString ApplyJournal(TClientDataSet& journal) {
    if (journal.applyUpdates() == 0) {
        // Show what the database stored (the number it drew for a new row).
        if (!journal.isEmpty()) journal.refreshRecord();
        return {};
    }
    QString error = journal.lastApplyError();
    if (error.isEmpty()) error = QStringLiteral("Изменения не сохранены в базе данных");
    journal.cancelUpdates();
    RefreshAndLocate(journal);
    return error;
}
