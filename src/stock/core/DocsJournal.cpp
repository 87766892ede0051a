#include "stock/core/DocsJournal.h"

#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "data/Journal.h"

void DefineDocsJournal(TClientDataSet& ds, int periodId) {
    DefineJournalQuery(ds, QStringLiteral("xqDocs"), QStringLiteral("DOCS"), QStringLiteral("DATEDOC"), periodId);
    JournalColumn(ds.addLookupField(QStringLiteral("KINDDOC_NAME"), TFieldType::Text, 40, QStringLiteral("KINDDOC_ID"),
                                    nullptr, QStringLiteral("ID"), QStringLiteral("NAME")),
                  QStringLiteral("Документ"), 20);
    JournalColumn(ds.addField(QStringLiteral("DATEDOC")), QStringLiteral("Дата"), 12);
    JournalColumn(ds.addField(QStringLiteral("NUMBER"), TFieldType::Text, 20), QStringLiteral("№"), 12);
    MoneyColumn(ds.addField(QStringLiteral("SUMMA")).setDisplayLabel(QStringLiteral("Сумма")));
    MoneyColumn(ds.addField(QStringLiteral("SUMMA_REALIZ")).setDisplayLabel(QStringLiteral("Сумма реализ.")));
    JournalColumn(ds.addField(QStringLiteral("COMMENT")), QStringLiteral("Комментарий"), 40);
    HiddenColumn(ds.addField(QStringLiteral("DOCU_ID")));
    JournalColumn(ds.addLookupField(QStringLiteral("DOCU_TITLE"), TFieldType::Text, 60, QStringLiteral("DOCU_ID"), nullptr,
                                    QStringLiteral("ID"), QStringLiteral("DOCTITLE")),
                  QStringLiteral("Основание (документ-услуга)"), 50);
}

void BindDocsJournalLookups(TClientDataSet& docs, TDM& dm) {
    SetLookupDataSet(docs, QStringLiteral("KINDDOC_NAME"), dm.cdsKindDoc);
    SetLookupDataSet(docs, QStringLiteral("DOCU_TITLE"), dm.cdsDocuLU);
}

int NextDocsNumber(TDM& dm) { return NextDocumentNumber(dm, QStringLiteral("GET_MAX_DOCS_NUMBER"), kMaxDocsNumber); }

void AppendDocsToJournal(TClientDataSet& docs, TDM& dm, TNewDocsInput in) {
    NextDocsNumber(dm);  // as for orders: the database numbers the row when it is stored
    in.id = DrawDocumentId(dm, QStringLiteral("GET_DOCS_ID"));
    AppendFilledRow(docs, [&] { FillNewDocsRow(docs, in); });
}
