#include "shell/JournalDocs.h"

#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "orders/core/DocuJournal.h"
#include "stock/core/DocsJournal.h"

void BindJournalLookups(TClientDataSet& docu, TClientDataSet& docs, TDM& dm) {
    BindDocuJournalLookups(docu, dm);
    BindDocsJournalLookups(docs, dm);
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

void AppendNewDocuRow(TClientDataSet& ds, int kind, const QDate& today) {
    TNewDocuInput in;
    in.kind = kind;
    in.periodId = GL.RPeriodID;
    in.periodFirst = GL.RPeriodDate1;
    in.periodLast = GL.RPeriodDate2;
    in.today = today;
    in.dvDelta = UchetOptions.DVDelta;
    in.vremDef = UchetOptions.VremDef;
    in.serDef = UchetOptions.SerDef;
    in.operatorId = GL.OperatorID;
    AppendDocuToJournal(ds, DM(), in);
}

void AppendNewDocsRow(TClientDataSet& ds, int kind, const QDate& today) {
    TNewDocsInput in;
    in.kind = kind;
    in.periodId = GL.RPeriodID;
    in.periodFirst = GL.RPeriodDate1;
    in.periodLast = GL.RPeriodDate2;
    in.today = today;
    AppendDocsToJournal(ds, DM(), in);
}
