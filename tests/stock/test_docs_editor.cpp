// The stock document editor over a real database: the kinds' columns and
// totals, the line commands and NPP, the closing rules, view mode and the
// atomic save.
#include "test_docs_fixture.h"

#include "ui/DataSetModel.h"
#include "stock/core/StockKinds.h"

#include <QAction>
#include <QHeaderView>
#include <QLabel>
#include <QTableView>

using namespace docstest;

namespace {

// The headers the grid shows, in order.
QStringList gridHeaders(QTableView* grid) {
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        if (!grid->isColumnHidden(c)) out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

}  // namespace

// Each kind: the grid's columns, whether the sale total shows, the line's
// sums and the journal's totals after one line of 3 x 2.50 (sale price 4.00).
TEST_F(DocsTest, EachKindShowsItsColumnsAndKeepsItsTotals) {
    const QStringList plain = {"Артикул", "Наименование", "Ед.изм.", "Кол-во", "Цена", "Сумма"};
    const QStringList sale = {"Артикул", "Наименование", "Ед.изм.", "Кол-во", "Цена реализ.", "Сумма реализ."};
    struct Row {
        int kind;
        QStringList columns;
        bool realizTotal;
        const char* lineRealiz;  // the line's SUMMA_REALIZ, "" for null
        const char* docRealiz;   // the journal's SUMMA_REALIZ
    };
    const Row rows[] = {
        {101, plain, false, "", "0"},    {102, plain, false, "", "0"},     {103, sale, true, "12", "12"},
        {107, plain, false, "", "0"},    {108, plain, false, "", "0"},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.kind);
        const int id = newDoc(r.kind);
        QStringList columns;
        bool realizShown = true;
        ModalScript script;
        script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
            ModalScript inner;
            inner.onDialog(QStringLiteral("frmTovar"), fillLine("ABC", "3", "2.50", "4.00"));
            editor->acMovesAppend->trigger();
            columns = gridHeaders(editor->DBGP);
            realizShown = editor->edSummaRealiz->isVisibleTo(editor) && editor->lbSummaRealiz->isVisibleTo(editor);
            EXPECT_TRUE(inner.unexpected().isEmpty()) << inner.unexpected().join(',').toStdString();
            editor->btnOk->click();
        });
        openEditor(true);
        EXPECT_EQ(columns, r.columns);
        EXPECT_EQ(realizShown, r.realizTotal);
        EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA FROM MOVES WHERE DOC_ID=?"), {id}).toDecimal(), dec("7.50"));
        EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA_REALIZ FROM MOVES WHERE DOC_ID=?"), {id}).toString(),
                  QString::fromLatin1(r.lineRealiz));
        EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA FROM DOCS WHERE ID=?"), {id}).toDecimal(), dec("7.50"));
        EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA_REALIZ FROM DOCS WHERE ID=?"), {id}).toDecimal(),
                  dec(r.docRealiz));
    }
}

TEST_F(DocsTest, ChangingQuantityOfASaleLineMovesBothSumsAndBothTotals) {
    const int id = storedDoc(103, {{1, "2", "10.00"}});
    exec(QStringLiteral("UPDATE MOVES SET CENA_REALIZ=15, SUMMA_REALIZ=30 WHERE DOC_ID=?"), {id});
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
        ModalScript inner;
        inner.onDialog(QStringLiteral("frmTovar"), [](QDialog* d) {
            auto* t = static_cast<TfrmTovar*>(d);
            EXPECT_EQ(t->windowTitle(), QStringLiteral("Редактировать товар"));
            EXPECT_EQ(t->cbTov->currentText(), QStringLiteral("ABC"));
            setText(t->edKolvo, "3");
            t->btnOk->click();
        });
        editor->acMovesEdit->trigger();
        EXPECT_EQ(journal().fieldByName(QStringLiteral("SUMMA")).asDecimal(), dec("30"));
        EXPECT_EQ(journal().fieldByName(QStringLiteral("SUMMA_REALIZ")).asDecimal(), dec("45"));
        EXPECT_EQ(editor->edSummaRealiz->text(), QStringLiteral("45,00"));
        editor->btnOk->click();
    });
    openEditor(false);
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA_REALIZ FROM MOVES WHERE DOC_ID=?"), {id}).toDecimal(), dec("45"));
}

// The line value rule rounds the product once: 0.99 x 0.005 = 0.00495 is 0.00, not 0.01.
TEST_F(DocsTest, LineAmountIsRoundedOnceToKopecks) {
    EXPECT_EQ(StockLineAmount(dec("0.99"), dec("0.005")), dec("0"));
    EXPECT_EQ(StockLineAmount(dec("0.99"), dec("0.015")), dec("0.01"));
    EXPECT_EQ(StockLineAmount(dec("-2.50"), dec("0.003")), dec("-0.01"));
}

TEST_F(DocsTest, LinesAddMoveAndRemoveKeepingNppOrder) {
    const int id = newDoc(101);
    QStringList afterAdd, afterDown, afterUpOnFirst, afterDelete;
    QString captionAfterUpOnFirst;
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
        ModalScript inner;
        inner.onDialog(QStringLiteral("frmTovar"), fillLine("ABC", "1", "1"))
            .onDialog(QStringLiteral("frmTovar"), fillLine("Клей", "1", "2"))
            .onDialog(QStringLiteral("frmTovar"), fillLine("Набойки", "1", "4"))
            .onDialog(QStringLiteral("frmTovar"), [](QDialog* d) {
                // goods and quantity typed, then "Отмена": nothing changes
                auto* t = static_cast<TfrmTovar*>(d);
                typeInto(t->cbTov, QStringLiteral("Гвозди"));
                setText(t->edKolvo, "5");
                t->btnCancel->click();
            });
        TClientDataSet& m = *editor->cdsMoves;
        for (int i = 0; i < 4; ++i) editor->acMovesAppend->trigger();
        afterAdd = column(m, QStringLiteral("TOVAR_NAME"));
        const QStringList npp = column(m, QStringLiteral("NPP"));
        EXPECT_LT(npp[0].toInt(), npp[1].toInt());
        EXPECT_LT(npp[1].toInt(), npp[2].toInt());
        EXPECT_EQ(journal().fieldByName(QStringLiteral("SUMMA")).asDecimal(), dec("7"));
        // the first line down: it changes places with the second, the cursor stays on it
        m.first();
        editor->acMovesDown->trigger();
        afterDown = column(m, QStringLiteral("TOVAR_NAME"));
        EXPECT_EQ(m.fieldByName(QStringLiteral("TOVAR_NAME")).asString(), QStringLiteral("ABC"));
        // the first line up: nothing moves, but the document counts as changed
        editor->SetModified(false);
        m.first();
        editor->acMovesUp->trigger();
        afterUpOnFirst = column(m, QStringLiteral("TOVAR_NAME"));
        captionAfterUpOnFirst = editor->windowTitle();
        m.last();
        editor->acMovesDelete->trigger();
        afterDelete = column(m, QStringLiteral("TOVAR_NAME"));
        EXPECT_EQ(journal().fieldByName(QStringLiteral("SUMMA")).asDecimal(), dec("3"));
        editor->btnOk->click();
    });
    openEditor(true);
    EXPECT_EQ(afterAdd, (QStringList{"ABC", "Клей", "Набойки"}));
    EXPECT_EQ(afterDown, (QStringList{"Клей", "ABC", "Набойки"}));
    EXPECT_EQ(afterUpOnFirst, afterDown);
    EXPECT_EQ(captionAfterUpOnFirst, QStringLiteral("Новый документ *"));
    EXPECT_EQ(afterDelete, (QStringList{"Клей", "ABC"}));
    // stored in the order shown
    fb::Transaction tra(DM().connection());
    fb::Statement s(tra, QStringLiteral("SELECT TOVAR_ID FROM MOVES WHERE DOC_ID=? ORDER BY NPP"));
    s.set(0, id);
    s.execute();
    QStringList stored;
    while (s.fetch()) stored << s.value(0).toString();
    tra.commit();
    EXPECT_EQ(stored, (QStringList{"3", "1"}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT SUMMA FROM DOCS WHERE ID=?"), {id}).toDecimal(), dec("3"));
}

TEST_F(DocsTest, WithOneLineMovingDoesNothingAtAll) {
    storedDoc(101, {{1, "1", "1"}});
    QString caption;
    ModalScript script;
    script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
        editor->acMovesDown->trigger();
        editor->acMovesUp->trigger();
        caption = editor->windowTitle();
        editor->btnCancel->click();
    });
    openEditor(false);
    EXPECT_EQ(caption, QStringLiteral("Редактирование документа"));
    EXPECT_TRUE(script.messages().isEmpty());
}

// Closing without saving: what each way leaves in the database.
TEST_F(DocsTest, ClosingRulesProtectHeaderEditsAndDropUntouchedNewDocuments) {
    enum class Edit { None, Header, Line };
    struct Row {
        const char* name;
        bool isNew;
        Edit edit;
        int answer;           // to the close question; 0: no question expected
        bool docLeft;         // the DOCS row is still there
        const char* comment;  // its stored comment
        int lines;            // its stored lines
    };
    const Row rows[] = {
        {"new untouched", true, Edit::None, 0, false, "", 0},
        {"new header edited, no", true, Edit::Header, idNo, false, "", 0},
        {"new header edited, yes", true, Edit::Header, idYes, true, "новый", 0},
        {"new line added, no", true, Edit::Line, idNo, false, "", 0},
        {"existing untouched", false, Edit::None, 0, true, "старый", 1},
        {"existing header edited, no", false, Edit::Header, idNo, true, "старый", 1},
        {"existing header edited, yes", false, Edit::Header, idYes, true, "новый", 1},
        {"existing line added, no", false, Edit::Line, idNo, true, "старый", 1},
        {"existing line added, yes", false, Edit::Line, idYes, true, "старый", 2},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const int id = r.isNew ? newDoc(102) : storedDoc(102, {{1, "1", "10"}});
        QList<MessageRequest> asked;
        ModalScript script;
        script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
            ModalScript inner;
            if (r.edit == Edit::Header) setText(editor->edComment, "новый");
            if (r.edit == Edit::Line) {
                inner.onDialog(QStringLiteral("frmTovar"), fillLine("Клей", "1"));
                editor->acMovesAppend->trigger();
            }
            if (r.answer) inner.answer(r.answer);
            editor->btnCancel->click();
            asked = inner.messages();
        });
        openEditor(r.isNew);
        ASSERT_EQ(asked.size(), r.answer ? 1 : 0);
        if (r.answer) {
            EXPECT_EQ(asked.first().text,
                      QStringLiteral("Документ был изменен.\rСохранить внесенные в документ изменения?\r\r"));
        }
        EXPECT_EQ(count(QStringLiteral("DOCS"), QStringLiteral("ID=%1").arg(id)), r.docLeft ? 1 : 0);
        if (r.docLeft) {
            EXPECT_EQ(scalar(QStringLiteral("SELECT COALESCE(COMMENT,'') FROM DOCS WHERE ID=?"), {id}).toString(),
                      QString::fromUtf8(r.comment));
            EXPECT_EQ(count(QStringLiteral("MOVES"), QStringLiteral("DOC_ID=%1").arg(id)), r.lines);
            // the journal shows what is stored
            ASSERT_TRUE(journal().locate(QStringLiteral("ID"), id));
            EXPECT_EQ(journal().fieldByName(QStringLiteral("COMMENT")).asString(), QString::fromUtf8(r.comment));
        }
        EXPECT_FALSE(journal().updatesPending());
    }
}

// Read-only: a closed period, or an existing document without the edit
// right; a new document needs only the create right.
TEST_F(DocsTest, ModeFollowsPeriodAndRights) {
    struct Row {
        const char* name;
        bool periodOpen, sklInsert, sklEdit, isNew;
        const char* caption;
        bool editable;
    };
    const Row rows[] = {
        {"closed period", false, true, true, false, "Просмотр", false},
        {"no edit right", true, true, false, false, "Просмотр", false},
        {"edit right", true, false, true, false, "Редактирование документа", true},
        {"new, create right only", true, true, false, true, "Новый документ", true},
        {"new, no create right", true, false, true, true, "Новый документ", false},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const int id = r.isNew ? newDoc(101) : storedDoc(101, {{1, "1", "1"}});
        GL.RPeriodOpen = r.periodOpen;
        GL.SklInsert = r.sklInsert;
        GL.SklEdit = r.sklEdit;
        QString caption;
        bool ok = false, append = false, numberReadOnly = true;
        ModalScript script;
        script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
            caption = editor->windowTitle();
            ok = editor->btnOk->isEnabled();
            append = editor->acMovesAppend->isEnabled();
            numberReadOnly = editor->edNumber->isReadOnly();
            // typing into a locked box changes nothing and asks nothing
            if (!r.editable) {
                typeKeys(editor->edComment, QStringLiteral("x"));
                emit editor->edComment->editingFinished();
            }
            editor->btnCancel->click();
        });
        openEditor(r.isNew);
        EXPECT_EQ(caption, QString::fromUtf8(r.caption));
        EXPECT_EQ(ok, r.editable);
        EXPECT_EQ(append, r.editable);
        EXPECT_EQ(numberReadOnly, !r.editable);
        EXPECT_TRUE(script.messages().isEmpty()) << script.messageTexts().join('|').toStdString();
        GL.RPeriodOpen = GL.SklInsert = GL.SklEdit = true;
        if (!r.isNew) { EXPECT_EQ(count(QStringLiteral("MOVES"), QStringLiteral("DOC_ID=%1").arg(id)), 1); }
    }
}

// A save the database refuses part-way stores nothing, explains why and keeps
// the editor open with every change.
TEST_F(DocsTest, RefusedSaveStoresNothingAndKeepsTheEditorOpen) {
    struct Row {
        const char* name;
        QString meanwhile;  // what another workstation does while the document is open
    };
    const Row rows[] = {
        {"goods deleted", QStringLiteral("DELETE FROM TOVAR WHERE ID=3")},
        {"period closed", QStringLiteral("UPDATE RPERIOD SET ACT='#' WHERE ID=1")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const int id = storedDoc(101, {{1, "1", "10"}});
        bool stillOpen = false;
        QString caption;
        QStringList dialogs;
        ModalScript script;
        script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {
            ModalScript inner;
            setText(editor->edComment, "новый");
            inner.onDialog(QStringLiteral("frmTovar"), fillLine("Клей", "2"));
            editor->acMovesAppend->trigger();
            {
                fb::Attachment other(path);
                fb::Transaction tra(other);
                fb::exec(tra, r.meanwhile);
                tra.commit();
                other.close();
            }
            inner.acceptDialog(QStringLiteral("frmErrorDB"));
            editor->btnOk->click();
            stillOpen = editor->isVisible();
            caption = editor->windowTitle();
            dialogs = inner.dialogsShown();
            // nothing of the refused save reached the database
            EXPECT_EQ(count(QStringLiteral("MOVES"), QStringLiteral("DOC_ID=%1").arg(id)), 1);
            EXPECT_EQ(scalar(QStringLiteral("SELECT COMMENT FROM DOCS WHERE ID=?"), {id}).toString(),
                      QStringLiteral("старый"));
            EXPECT_EQ(editor->cdsMoves->recordCount(), 2);
            EXPECT_EQ(editor->edComment->text(), QStringLiteral("новый"));
            // the other workstation puts things back; the same changes now save
            fb::Attachment other(path);
            fb::Transaction tra(other);
            if (r.meanwhile.startsWith(QLatin1String("DELETE")))
                fb::exec(tra, QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, NAME, CENA) VALUES (3, 0, 'Клей', 120)"));
            else
                fb::exec(tra, QStringLiteral("UPDATE RPERIOD SET ACT='*' WHERE ID=1"));
            tra.commit();
            other.close();
            editor->btnOk->click();
        });
        openEditor(false);
        EXPECT_TRUE(stillOpen);
        EXPECT_EQ(caption, QStringLiteral("Редактирование документа *"));
        EXPECT_TRUE(dialogs.contains(QStringLiteral("frmErrorDB"))) << dialogs.join(',').toStdString();
        EXPECT_FALSE(editor->isVisible());
        EXPECT_EQ(count(QStringLiteral("MOVES"), QStringLiteral("DOC_ID=%1").arg(id)), 2);
        EXPECT_EQ(scalar(QStringLiteral("SELECT COMMENT FROM DOCS WHERE ID=?"), {id}).toString(),
                  QStringLiteral("новый"));
    }
}
