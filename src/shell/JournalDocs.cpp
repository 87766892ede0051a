#include "shell/JournalDocs.h"

#include "ui/DataRoutines.h"
#include "data/DataSetRoutines.h"
#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "data/FieldMoneyText.h"
#include "orders/core/NewDocu.h"
#include "stock/core/NewDocs.h"

#include <QLocale>

namespace {

const QString kLeadingComment = QStringLiteral("/*проверка комментария*/\n");

TField& hidden(TField& f) { return f.setVisible(false); }

TField& shown(TField& f, const QString& label, int width) {
    return f.setDisplayLabel(label).setDisplayWidth(width);
}

TField& money(TField& f) {
    return f.setOnGetText([](const TField& fld) { return FieldMoneyText(fld, QString()); });
}

QString docuNumberText(const TField& f) { return f.isNull() ? QString() : ZeroPad(f.asLargeInt(), 6); }

// A text value that stays a text even when empty (an empty text is not null here).
fb::Value text(const QString& s) { return fb::Value(s); }

// The greatest number + 1; never past `limit` (numbers do not wrap round).
int nextNumber(const char* proc, qint64 limit) {
    const fb::Value max = DM().execProc(QString::fromLatin1(proc)).value(QStringLiteral("MAXNUM"));
    const qint64 next = max.isNull() ? 1 : max.toInt() + 1;
    if (next > limit)
        throw EDatabaseError(QStringLiteral("Номера документов исчерпаны: следующий номер %1 больше наибольшего "
                                            "допустимого (%2). Исправьте слишком большой номер, введённый вручную.")
                                 .arg(next)
                                 .arg(limit));
    return int(next);
}

int newId(const char* proc) {
    return int(DM().execProc(QString::fromLatin1(proc)).value(QStringLiteral("ID")).toInt());
}

// Runs the filling of a new row; on an error the row is dropped.
template <class F>
void fillNewRow(TClientDataSet& ds, F&& fill) {
    ds.append();
    try {
        fill();
        ds.post();
    } catch (...) {
        if (ds.isEditing()) ds.cancel();
        throw;
    }
}

// What both journals share: the period's documents in the server's order, the
// table written to, and the three key fields.
void defineJournal(TClientDataSet& ds, const QString& queryName, const QString& table, const QString& dateField) {
    ds.query().setObjectName(queryName);
    ds.setCommandText(kLeadingComment + QStringLiteral("SELECT * FROM ") + table +
                      QStringLiteral("\nWHERE RPERIOD_ID=:RPERIOD_ID\nORDER BY ") + dateField +
                      QStringLiteral(", NUMBER"));
    ds.setTableName(table);
    ds.setKeepServerOrder(true);
    ds.setQuoteIdentifiers(true);
    ds.query().setParam(QStringLiteral("RPERIOD_ID"), GL.RPeriodID);
    hidden(ds.addField(QStringLiteral("ID")));
    hidden(ds.addField(QStringLiteral("KINDDOC_ID")));
    hidden(ds.addField(QStringLiteral("RPERIOD_ID")));
}

}  // namespace

void DefineDocuJournal(TClientDataSet& ds) {
    defineJournal(ds, QStringLiteral("xqDocu"), QStringLiteral("DOCU"), QStringLiteral("DATEP"));
    shown(ds.addLookupField(QStringLiteral("KINDDOC_NAME"), TFieldType::Text, 40, QStringLiteral("KINDDOC_ID"),
                            nullptr, QStringLiteral("ID"), QStringLiteral("NAME")),
          QStringLiteral("Документ"), 18);
    hidden(ds.addField(QStringLiteral("SERIES"))).setDisplayLabel(QStringLiteral("Серия"));
    hidden(ds.addField(QStringLiteral("NUMBER"))).setDisplayLabel(QStringLiteral("№")).setOnGetText(docuNumberText);
    shown(ds.addCalcField(QStringLiteral("SERNUM"), TFieldType::Text, 20), QStringLiteral("№"), 12);
    shown(ds.addField(QStringLiteral("DATEP")), QStringLiteral("Д/приема"), 12);
    shown(ds.addField(QStringLiteral("DATEV")), QStringLiteral("Д/выполн"), 12);
    hidden(ds.addField(QStringLiteral("ZAKAZCH_ID")));
    const struct { const char* name; const char* result; int size; } zak[] = {
        {"ZAKAZCH_NAME", "NAME", 60}, {"ZAKAZCH_ADRES", "ADRES", 60}, {"ZAKAZCH_PHONE", "PHONE", 30}};
    for (const auto& z : zak)
        hidden(ds.addLookupField(QString::fromLatin1(z.name), TFieldType::Text, z.size, QStringLiteral("ZAKAZCH_ID"),
                                 nullptr, QStringLiteral("ID"), QString::fromLatin1(z.result)));
    shown(ds.addLookupField(QStringLiteral("ZAKAZCH_NAMEAP"), TFieldType::Text, 60, QStringLiteral("ZAKAZCH_ID"),
                            nullptr, QStringLiteral("ID"), QStringLiteral("NAMEAP")),
          QStringLiteral("Заказчик"), 30);
    hidden(ds.addField(QStringLiteral("PRIEMSCHIK_ID")));
    shown(ds.addLookupField(QStringLiteral("PRIEMSCHIK_FIO"), TFieldType::Text, 60, QStringLiteral("PRIEMSCHIK_ID"),
                            nullptr, QStringLiteral("ID"), QStringLiteral("FIO")),
          QStringLiteral("Приемщик"), 16);
    shown(ds.addField(QStringLiteral("COMMENT")), QStringLiteral("Особые отметки"), 18);
    money(shown(ds.addField(QStringLiteral("TOTAL")), QStringLiteral("Итого"), 12));
    hidden(ds.addField(QStringLiteral("OTKLTYPE")));
    hidden(ds.addField(QStringLiteral("OTKLPROC")));
    money(hidden(ds.addField(QStringLiteral("OTKLSUM"))));
    money(shown(ds.addField(QStringLiteral("TOTAL_WOTKL")), QStringLiteral("Итого с откл."), 12));
    money(hidden(ds.addField(QStringLiteral("RECEIVED")))).setDisplayLabel(QStringLiteral("Получено"));
    money(hidden(ds.addField(QStringLiteral("DEBT")))).setDisplayLabel(QStringLiteral("Долг"));
    hidden(ds.addField(QStringLiteral("GARANT")));
    hidden(ds.addLookupField(QStringLiteral("GARANT_NAME"), TFieldType::Text, 30, QStringLiteral("GARANT"), nullptr,
                             QStringLiteral("ID"), QStringLiteral("NAME")));
    hidden(ds.addField(QStringLiteral("DATEVYD")));
    hidden(ds.addField(QStringLiteral("VREMVYD")));

    ds.setOnCalcFields([](TClientDataSet& d) {
        const TField& number = d.fieldByName(QStringLiteral("NUMBER"));
        d.fieldByName(QStringLiteral("SERNUM"))
            .setValue(text(d.fieldByName(QStringLiteral("SERIES")).asString() + QLatin1Char(' ') +
                           docuNumberText(number)));
    });
}

void DefineDocsJournal(TClientDataSet& ds) {
    defineJournal(ds, QStringLiteral("xqDocs"), QStringLiteral("DOCS"), QStringLiteral("DATEDOC"));
    shown(ds.addLookupField(QStringLiteral("KINDDOC_NAME"), TFieldType::Text, 40, QStringLiteral("KINDDOC_ID"),
                            nullptr, QStringLiteral("ID"), QStringLiteral("NAME")),
          QStringLiteral("Документ"), 20);
    shown(ds.addField(QStringLiteral("DATEDOC")), QStringLiteral("Дата"), 12);
    shown(ds.addField(QStringLiteral("NUMBER"), TFieldType::Text, 20), QStringLiteral("№"), 12);
    money(ds.addField(QStringLiteral("SUMMA")).setDisplayLabel(QStringLiteral("Сумма")));
    money(ds.addField(QStringLiteral("SUMMA_REALIZ")).setDisplayLabel(QStringLiteral("Сумма реализ.")));
    shown(ds.addField(QStringLiteral("COMMENT")), QStringLiteral("Комментарий"), 40);
    hidden(ds.addField(QStringLiteral("DOCU_ID")));
    shown(ds.addLookupField(QStringLiteral("DOCU_TITLE"), TFieldType::Text, 60, QStringLiteral("DOCU_ID"), nullptr,
                            QStringLiteral("ID"), QStringLiteral("DOCTITLE")),
          QStringLiteral("Основание (документ-услуга)"), 50);
}

void BindJournalLookups(TClientDataSet& docu, TClientDataSet& docs, TDM& dm) {
    const auto bind = [](TClientDataSet& ds, const char* field, TClientDataSet* lookupDs) {
        TField& f = ds.fieldByName(QString::fromLatin1(field));
        TField::LookupDef def = f.lookup();
        def.dataSet = lookupDs;
        f.setLookup(def);
    };
    bind(docu, "KINDDOC_NAME", dm.cdsKindDoc);
    for (const char* z : {"ZAKAZCH_NAME", "ZAKAZCH_ADRES", "ZAKAZCH_PHONE", "ZAKAZCH_NAMEAP"})
        bind(docu, z, dm.cdsZakazchLU);
    bind(docu, "PRIEMSCHIK_FIO", dm.cdsPriemschikLU);
    bind(docu, "GARANT_NAME", dm.cdsGarantLU);
    bind(docs, "KINDDOC_NAME", dm.cdsKindDoc);
    bind(docs, "DOCU_TITLE", dm.cdsDocuLU);
}

void OpenJournalOnPeriod(TClientDataSet& journal, int periodId) {
    journal.close();
    journal.query().setParam(QStringLiteral("RPERIOD_ID"), periodId);
    journal.open();
}

QString NewDocumentRefusal(const TGL& gl) {
    if (gl.RPeriodID < 0)
        return QStringLiteral("Нет рабочего периода: документ создать нельзя.\r"
                              "Создайте рабочий период (меню \"Рабочие периоды\") и повторите.");
    if (!gl.RPeriodOpen)
        return QStringLiteral("Рабочий период закрыт: создать в нем документ нельзя.\r"
                              "Выберите открытый рабочий период или откройте этот период заново "
                              "(меню \"Рабочие периоды\").");
    return {};
}

QString DeleteDocumentRefusal(const TGL& gl) {
    if (!gl.RPeriodOpen)
        return QStringLiteral("Рабочий период документа закрыт: удалить документ нельзя.\r"
                              "Остатки закрытого периода уже перенесены; чтобы удалить документ, "
                              "сначала откройте период заново.");
    return {};
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

int NextDocuNumber() { return nextNumber("GET_MAX_DOCU_NUMBER", kMaxDocuNumber); }
int NextDocsNumber() { return nextNumber("GET_MAX_DOCS_NUMBER", kMaxDocsNumber); }

void AppendNewDocuRow(TClientDataSet& ds, int kind, const QDate& today) {
    // The database draws the number when the row is stored (greatest + 1,
    // atomically across workstations); this only refuses when numbers are exhausted.
    NextDocuNumber();
    TNewDocuInput in;
    in.id = newId("GET_DOCU_ID");
    in.kind = kind;
    in.periodId = GL.RPeriodID;
    in.periodFirst = GL.RPeriodDate1;
    in.periodLast = GL.RPeriodDate2;
    in.today = today;
    in.dvDelta = UchetOptions.DVDelta;
    in.vremDef = UchetOptions.VremDef;
    in.serDef = UchetOptions.SerDef;
    in.operatorId = GL.OperatorID;
    fillNewRow(ds, [&] { FillNewDocuRow(ds, in); });
}

void AppendNewDocsRow(TClientDataSet& ds, int kind, const QDate& today) {
    NextDocsNumber();  // as for orders: the database numbers the row when it is stored
    TNewDocsInput in;
    in.id = newId("GET_DOCS_ID");
    in.kind = kind;
    in.periodId = GL.RPeriodID;
    in.periodFirst = GL.RPeriodDate1;
    in.periodLast = GL.RPeriodDate2;
    in.today = today;
    fillNewRow(ds, [&] { FillNewDocsRow(ds, in); });
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
