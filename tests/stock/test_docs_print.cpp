// Printing a stock document: the variables of its form and the form of its kind.
#include "test_docs_fixture.h"
#include "data/DataSetRoutines.h"

#include "forms/DocsVar.h"
#include "stock/core/StockKinds.h"
#include "reports/ui/Preview.h"
#include "reports/engine/ReportRender.h"
#include "reports/engine/ReportShared.h"

using namespace docstest;

TEST_F(DocsTest, NumberPrintsWithLeadingZerosOrAsTyped) {
    const struct {
        const char* typed;
        const char* printed;
    } rows[] = {{"7", "000007"}, {"1234567", "123456"}, {"000042", "000042"}, {"12-А", "12-А"}, {"А7", "А7"}};
    for (const auto& r : rows) {
        SCOPED_TRACE(r.typed);
        storedDoc(101, {});
        journal().edit();
        journal().fieldByName(QStringLiteral("NUMBER")).setAsString(QString::fromUtf8(r.typed));
        const stockdoc::TDocsVars v = stockdoc::MakeDOCVAR(journal(), *DM().cdsUchInfo);
        journal().cancel();
        EXPECT_EQ(v.Number, QString::fromUtf8(r.printed));
    }
}

// The variables come from the document as it stands in the editor, unsaved
// edits included, and from the organisation's details; unknown names are left alone.
TEST_F(DocsTest, DocumentVariablesTakeTheEditorsValues) {
    storedDoc(102, {{1, "1", "1"}});
    exec(QStringLiteral("UPDATE UCHINFO SET NAMEORG='Мастерская', INN='7701234567'"));
    Reopen(*DM().cdsUchInfo);
    journal().edit();
    journal().fieldByName(QStringLiteral("COMMENT")).setAsString(QStringLiteral("не сохранено"));
    journal().fieldByName(QStringLiteral("NUMBER")).setAsString(QStringLiteral("15"));
    const stockdoc::TDocsVars vars = stockdoc::MakeDOCVAR(journal(), *DM().cdsUchInfo);
    const TfrReport::GetValue getValue = stockdoc::frReportDocGetValue(vars);
    journal().cancel();
    const QString date = QLocale().toString(QDate(2026, 3, 10), QLocale::ShortFormat);
    QVariant value;
    const QList<QPair<QString, QString>> expected = {
        {"DocCaption", "Списание от " + date + " № 15"},
        {"Number", "000015"},
        {"Datedoc", date},
        {"Comment", "не сохранено"},
        {"NameOrg", "Мастерская"},
        {"INN", "7701234567"},
    };
    for (const auto& [name, text] : expected) {
        value = QVariant();
        getValue(name, value);
        EXPECT_EQ(value.toString(), text) << name.toStdString();
    }
    value = QVariant();
    getValue(QStringLiteral("number"), value);  // letter case counts
    EXPECT_FALSE(value.isValid());
}

TEST_F(DocsTest, EachKindHasItsPrintForm) {
    const QPair<int, QString> rows[] = {{101, "Reports/RepDoc"},         {102, "Reports/RepDoc"},
                                        {103, "Reports/RepDoc_Realiz"}, {107, "Reports/RepDoc"},
                                        {108, "Reports/RepDoc"},         {104, ""}};
    for (const auto& [kind, form] : rows) EXPECT_EQ(StockKind(kind).printForm, form) << kind;
}

// A sale prints on its form with the lines as they stand in the editor,
// unsaved ones included, and its number as typed; the print binds the
// lines for the print only.
TEST_F(DocsTest, ASalePrintsItsUnsavedLinesOnItsForm) {
    newDoc(103);
    QString dump;
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
        ModalScript inner;
        inner.onDialog(QStringLiteral("frmTovar"), fillLine("Клей", "2"));
        editor->acMovesAppend->trigger();
        setText(editor->edNumber, "12-А");
        inner.onDialog(QStringLiteral("frmPreview"), [&](QDialog* d) {
            dump = frDumpPages(static_cast<TfrmPreview*>(d)->report());
            d->reject();
        });
        editor->btnPrint->click();
        EXPECT_TRUE(inner.unexpected().isEmpty()) << inner.unexpected().join(';').toStdString();
        inner.answerNo();
        editor->btnCancel->click();
    });
    openEditor(true);
    EXPECT_TRUE(dump.contains(QStringLiteral("Клей"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("Реализация от 15.03.2026 № 12-А"))) << dump.toStdString();
    EXPECT_TRUE(dump.contains(QStringLiteral("360,00"))) << dump.toStdString();  // 2 x 180.00, the sale amount
    EXPECT_FALSE(frdsReport().isBound());
}

TEST_F(DocsTest, AKindWithoutAFormPrintsNothing) {
    exec(QStringLiteral("INSERT INTO KINDDOC (ID, NAME, TYPEDOC, OPER) VALUES (109, 'Пересортица', 2, 1)"));
    Reopen(*DM().cdsKindDoc);
    newDoc(109);
    ModalScript script;
    QStringList shown;
    script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
        ModalScript inner;
        editor->btnPrint->click();
        shown = inner.dialogsShown();
        editor->btnCancel->click();
    });
    openEditor(true);
    EXPECT_TRUE(shown.isEmpty()) << shown.join(';').toStdString();
}
