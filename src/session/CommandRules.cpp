#include "session/CommandRules.h"

const QStringList& RuledCommands() {
    static const QStringList names{
        QStringLiteral("acDocsNew"),       QStringLiteral("acDocsEdit"),      QStringLiteral("acDocsDelete"),
        QStringLiteral("acDocsReload"),    QStringLiteral("acBookTovar"),     QStringLiteral("acBookUsluga"),
        QStringLiteral("acBookProduct"),   QStringLiteral("acBookColor"),     QStringLiteral("acBookMaterial"),
        QStringLiteral("acBookComment"),   QStringLiteral("acBookZakazch"),   QStringLiteral("acBookOperator"),
        QStringLiteral("acDBConnect"),     QStringLiteral("acRepSummaKvit"),  QStringLiteral("acRepUslugaKind"),
        QStringLiteral("acRepKartaZak"),   QStringLiteral("acRepPrihod"),     QStringLiteral("acRepRashod"),
        QStringLiteral("acRepRealiz"),     QStringLiteral("acRepNalich"),     QStringLiteral("acOptionsUchet")};
    return names;
}

const QStringList& AlwaysEnabledCommands() {
    static const QStringList names{QStringLiteral("acChoosePeriod"), QStringLiteral("acRPeriodMan"),
                                   QStringLiteral("acManagePrintForms"), QStringLiteral("acOptionsApp"),
                                   QStringLiteral("acHelpHelp"), QStringLiteral("acHelpAbout"),
                                   QStringLiteral("acDocsExit")};
    return names;
}

QHash<QString, bool> CommandEnabling(bool connected, TJournalTab tab, bool journalEmpty, const TGL& gl) {
    const bool c = connected;
    const bool e = !journalEmpty;
    const bool docu = tab == TJournalTab::Docu;
    const bool canInsert = docu ? gl.ZakInsert : gl.SklInsert;
    const bool canOpen = docu ? (gl.ZakEdit || gl.ZakView) : (gl.SklEdit || gl.SklView);
    const bool canDelete = docu ? gl.ZakDelete : gl.SklDelete;

    QHash<QString, bool> on;
    on.insert(QStringLiteral("acDocsNew"), c && canInsert);
    on.insert(QStringLiteral("acDocsEdit"), e && c && canOpen);
    on.insert(QStringLiteral("acDocsDelete"), e && c && canDelete);
    on.insert(QStringLiteral("acDocsReload"), c);
    for (const char* book : {"acBookTovar", "acBookUsluga", "acBookProduct", "acBookColor", "acBookMaterial",
                             "acBookComment", "acBookZakazch"})
        on.insert(QString::fromLatin1(book), c && gl.DostupBook);
    on.insert(QStringLiteral("acBookOperator"), c && gl.DostupBookUser);
    on.insert(QStringLiteral("acDBConnect"), !c);
    for (const char* rep : {"acRepSummaKvit", "acRepUslugaKind", "acRepKartaZak", "acRepPrihod", "acRepRashod",
                            "acRepRealiz", "acRepNalich", "acOptionsUchet"})
        on.insert(QString::fromLatin1(rep), c);
    for (const QString& name : AlwaysEnabledCommands()) on.insert(name, true);
    return on;
}

TJournalTab JournalTabOfIndex(int index) { return index == 1 ? TJournalTab::Docs : TJournalTab::Docu; }

QString DocumentEditorWindow(TJournalTab tab) {
    return tab == TJournalTab::Docs ? QStringLiteral("frmDocs") : QStringLiteral("frmDocu");
}

int NewDocumentTypeDoc(TJournalTab tab) { return tab == TJournalTab::Docs ? 2 : 1; }

QString JournalStretchField(TJournalTab tab) {
    return tab == TJournalTab::Docs ? QStringLiteral("DOCU_TITLE") : QStringLiteral("ZAKAZCH_NAMEAP");
}
