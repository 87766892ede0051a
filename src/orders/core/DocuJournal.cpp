#include "orders/core/DocuJournal.h"

#include "base/RoutsFormat.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "data/Journal.h"

namespace {

QString docuNumberText(const TField& f) { return f.isNull() ? QString() : ZeroPad(f.asLargeInt(), 6); }

// A text value that stays a text even when empty (an empty text is not null here).
fb::Value text(const QString& s) { return fb::Value(s); }

}  // namespace

void DefineDocuJournal(TClientDataSet& ds, int periodId) {
    DefineJournalQuery(ds, QStringLiteral("xqDocu"), QStringLiteral("DOCU"), QStringLiteral("DATEP"), periodId);
    JournalColumn(ds.addLookupField(QStringLiteral("KINDDOC_NAME"), TFieldType::Text, 40, QStringLiteral("KINDDOC_ID"),
                                    nullptr, QStringLiteral("ID"), QStringLiteral("NAME")),
                  QStringLiteral("Документ"), 18);
    HiddenColumn(ds.addField(QStringLiteral("SERIES"))).setDisplayLabel(QStringLiteral("Серия"));
    HiddenColumn(ds.addField(QStringLiteral("NUMBER"))).setDisplayLabel(QStringLiteral("№")).setOnGetText(docuNumberText);
    JournalColumn(ds.addCalcField(QStringLiteral("SERNUM"), TFieldType::Text, 20), QStringLiteral("№"), 12);
    JournalColumn(ds.addField(QStringLiteral("DATEP")), QStringLiteral("Д/приема"), 12);
    JournalColumn(ds.addField(QStringLiteral("DATEV")), QStringLiteral("Д/выполн"), 12);
    HiddenColumn(ds.addField(QStringLiteral("ZAKAZCH_ID")));
    const struct { const char* name; const char* result; int size; } zak[] = {
        {"ZAKAZCH_NAME", "NAME", 60}, {"ZAKAZCH_ADRES", "ADRES", 60}, {"ZAKAZCH_PHONE", "PHONE", 30}};
    for (const auto& z : zak)
        HiddenColumn(ds.addLookupField(QString::fromLatin1(z.name), TFieldType::Text, z.size, QStringLiteral("ZAKAZCH_ID"),
                                       nullptr, QStringLiteral("ID"), QString::fromLatin1(z.result)));
    JournalColumn(ds.addLookupField(QStringLiteral("ZAKAZCH_NAMEAP"), TFieldType::Text, 60, QStringLiteral("ZAKAZCH_ID"),
                                    nullptr, QStringLiteral("ID"), QStringLiteral("NAMEAP")),
                  QStringLiteral("Заказчик"), 30);
    HiddenColumn(ds.addField(QStringLiteral("PRIEMSCHIK_ID")));
    JournalColumn(ds.addLookupField(QStringLiteral("PRIEMSCHIK_FIO"), TFieldType::Text, 60, QStringLiteral("PRIEMSCHIK_ID"),
                                    nullptr, QStringLiteral("ID"), QStringLiteral("FIO")),
                  QStringLiteral("Приемщик"), 16);
    JournalColumn(ds.addField(QStringLiteral("COMMENT")), QStringLiteral("Особые отметки"), 18);
    MoneyColumn(JournalColumn(ds.addField(QStringLiteral("TOTAL")), QStringLiteral("Итого"), 12));
    HiddenColumn(ds.addField(QStringLiteral("OTKLTYPE")));
    HiddenColumn(ds.addField(QStringLiteral("OTKLPROC")));
    MoneyColumn(HiddenColumn(ds.addField(QStringLiteral("OTKLSUM"))));
    MoneyColumn(JournalColumn(ds.addField(QStringLiteral("TOTAL_WOTKL")), QStringLiteral("Итого с откл."), 12));
    MoneyColumn(HiddenColumn(ds.addField(QStringLiteral("RECEIVED")))).setDisplayLabel(QStringLiteral("Получено"));
    MoneyColumn(HiddenColumn(ds.addField(QStringLiteral("DEBT")))).setDisplayLabel(QStringLiteral("Долг"));
    HiddenColumn(ds.addField(QStringLiteral("GARANT")));
    HiddenColumn(ds.addLookupField(QStringLiteral("GARANT_NAME"), TFieldType::Text, 30, QStringLiteral("GARANT"), nullptr,
                                   QStringLiteral("ID"), QStringLiteral("NAME")));
    HiddenColumn(ds.addField(QStringLiteral("DATEVYD")));
    HiddenColumn(ds.addField(QStringLiteral("VREMVYD")));

    ds.setOnCalcFields([](TClientDataSet& d) {
        const TField& number = d.fieldByName(QStringLiteral("NUMBER"));
        d.fieldByName(QStringLiteral("SERNUM"))
            .setValue(text(d.fieldByName(QStringLiteral("SERIES")).asString() + QLatin1Char(' ') +
                           docuNumberText(number)));
    });
}

void BindDocuJournalLookups(TClientDataSet& docu, TDM& dm) {
    SetLookupDataSet(docu, QStringLiteral("KINDDOC_NAME"), dm.cdsKindDoc);
    for (const char* z : {"ZAKAZCH_NAME", "ZAKAZCH_ADRES", "ZAKAZCH_PHONE", "ZAKAZCH_NAMEAP"})
        SetLookupDataSet(docu, QString::fromLatin1(z), dm.cdsZakazchLU);
    SetLookupDataSet(docu, QStringLiteral("PRIEMSCHIK_FIO"), dm.cdsPriemschikLU);
    SetLookupDataSet(docu, QStringLiteral("GARANT_NAME"), dm.cdsGarantLU);
}

int NextDocuNumber(TDM& dm) { return NextDocumentNumber(dm, QStringLiteral("GET_MAX_DOCU_NUMBER"), kMaxDocuNumber); }

void AppendDocuToJournal(TClientDataSet& docu, TDM& dm, TNewDocuInput in) {
    // The database draws the number when the row is stored (greatest + 1,
    // atomically across workstations); this only refuses when numbers are exhausted.
    NextDocuNumber(dm);
    in.id = DrawDocumentId(dm, QStringLiteral("GET_DOCU_ID"));
    AppendFilledRow(docu, [&] { FillNewDocuRow(docu, in); });
}
