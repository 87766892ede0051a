// The stock document editor's rules without a window: what closing does, the
// caption and its changed mark, and on a real database the header it reads,
// a new line's values and what discarding does to a new and a stored document.
#include "StockCoreFixture.h"

#include "data/Journal.h"
#include "stock/core/DocsJournal.h"
#include "stock/core/StockDocEditRules.h"
#include "stock/core/StockDocService.h"
#include "stock/core/StockKinds.h"
#include "stock/core/StockLine.h"

#include <memory>

using namespace stocktest;

namespace {

TEST(StockDocEditRules, ClosingSavesAsksOrDiscardsByRightsChangeAndAnswer) {
    using A = TStockDocCloseAction;
    using N = TStockDocCloseAnswer;
    struct Row {
        bool accepted, editAllowed, modified;
        N answer;
        A action;
    };
    const Row rows[] = {
        {true, true, false, N::NotAsked, A::Save},      // Save stores even an untouched document
        {true, false, true, N::NotAsked, A::Discard},   // a document only shown is never stored
        {false, true, true, N::NotAsked, A::Ask},
        {false, true, true, N::Yes, A::Save},
        {false, true, true, N::No, A::Discard},
        {false, true, false, N::NotAsked, A::Discard},  // untouched: no question
        {false, false, true, N::NotAsked, A::Discard},  // only shown: no question either
    };
    for (const Row& r : rows)
        EXPECT_EQ(StockDocCloseAction(r.accepted, r.editAllowed, r.modified, r.answer), r.action)
            << r.accepted << r.editAllowed << r.modified << int(r.answer);
}

TEST(StockDocEditRules, CaptionFollowsTheStateAndCarriesOneChangedMark) {
    struct Row {
        bool isNew, editAllowed;
        QString title;
    };
    const Row rows[] = {{true, false, QStringLiteral("Новый документ")},
                        {false, true, QStringLiteral("Редактирование документа")},
                        {false, false, QStringLiteral("Просмотр")}};
    for (const Row& r : rows) {
        const QString title = StockDocEditorTitle(r.isNew, r.editAllowed);
        EXPECT_EQ(title, r.title);
        const QString marked = StockDocMarkedTitle(title, true);
        EXPECT_EQ(marked, r.title + QStringLiteral(" *"));
        EXPECT_EQ(StockDocMarkedTitle(marked, true), marked);  // marked once only
        EXPECT_EQ(StockDocMarkedTitle(marked, false), r.title);
        EXPECT_EQ(StockDocMarkedTitle(title, false), r.title);
    }
}

// The editor's actions come from the table: line commands locked in view mode,
// printing never; Shift+Insert appends.
TEST(StockDocEditRules, CommandTableNamesButtonsAndLocking) {
    const std::vector<TEditorCommand>& t = StockDocCommands();
    ASSERT_EQ(t.size(), 6u);
    const char* names[] = {"acMovesAppend", "acMovesEdit", "acMovesDelete", "acMovesUp", "acMovesDown", "acPrint"};
    const char* buttons[] = {"+", "Изм.", "-", "↑", "↓", ""};
    for (size_t i = 0; i < t.size(); ++i) {
        EXPECT_STREQ(t[i].name, names[i]);
        EXPECT_STREQ(t[i].button ? t[i].button : "", buttons[i]) << names[i];
        EXPECT_EQ(t[i].needsEditing, i != size_t(TStockDocCommand::Print)) << names[i];
    }
    EXPECT_EQ(t[size_t(TStockDocCommand::Append)].shortcut, (Qt::SHIFT | Qt::Key_Insert).toCombined());
    EXPECT_STREQ(t[size_t(TStockDocCommand::Delete)].hint, "Убрать изделие (Ctrl-Del)");
}

class StockDocCoreTest : public StockCoreTest {
protected:
    void SetUp() override {
        StockCoreTest::SetUp();
        periodId = period("2026-03-01", "2026-03-31");
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) VALUES (1, 0, 'A-1', 'Крем', 'шт', 10)"));
        DM().openLookups();
        docs = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsDocs"));
        DefineDocsJournal(*docs, periodId);
        BindDocsJournalLookups(*docs, DM());
        OpenJournalOnPeriod(*docs, periodId);
        moves = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsMoves"));
        DefineMovesDataSet(*moves, DM().cdsTovarLU, [] { return kKindSale; });
    }
    void TearDown() override {
        moves.reset();
        docs.reset();
        StockCoreTest::TearDown();
    }
    // A new sale stored as the main window stores it; the journal stands on it.
    int newSale() {
        TNewDocsInput in;
        in.kind = kKindSale;
        in.periodId = periodId;
        in.periodFirst = d("2026-03-01");
        in.periodLast = d("2026-03-31");
        in.today = d("2026-03-15");
        AppendDocsToJournal(*docs, DM(), in);
        EXPECT_EQ(ApplyJournal(*docs), QString());
        return docs->fieldByName(QStringLiteral("ID")).asInteger();
    }
    void openLines(int docId) {
        moves->close();
        moves->query().setParam(QStringLiteral("CURDOC_ID"), docId);
        moves->open();
    }
    qint64 docsCount(int id) { return scalar(QStringLiteral("SELECT COUNT(*) FROM DOCS WHERE ID = ?"), {id}).toInt(); }

    int periodId = 0;
    std::unique_ptr<TClientDataSet> docs, moves;
};

TEST_F(StockDocCoreTest, HeaderNamesTheKindAndNewLinesTakeTheirOwnIdAndNextNumber) {
    const int id = newSale();
    const QString saleName = scalar(QStringLiteral("SELECT NAME FROM KINDDOC WHERE ID = 103")).toString();
    const TStockDocHeader h = ReadStockDocHeader(*docs, *DM().cdsKindDoc);
    EXPECT_EQ(h.docId, id);
    EXPECT_EQ(h.kindDocId, kKindSale);
    EXPECT_EQ(h.kindName, saleName);
    // A row without the kind's name takes it from the list of kinds.
    TClientDataSet plain(nullptr, QStringLiteral("plain"));
    plain.setCommandText(QStringLiteral("SELECT ID, KINDDOC_ID FROM DOCS"));
    plain.open();
    EXPECT_EQ(ReadStockDocHeader(plain, *DM().cdsKindDoc).kindName, saleName);

    openLines(id);
    QList<int> ids, npps;
    for (int i = 0; i < 2; ++i) {
        AppendStockLine(*moves, DM(), id);
        EXPECT_TRUE(moves->isEditing());
        EXPECT_EQ(moves->fieldByName(QStringLiteral("DOC_ID")).asInteger(), id);
        EXPECT_EQ(moves->fieldByName(QStringLiteral("SUMMA")).asDecimal().toString(2), QStringLiteral("0.00"));
        ids << moves->fieldByName(QStringLiteral("ID")).asInteger();
        npps << moves->fieldByName(QStringLiteral("NPP")).asInteger();
        moves->cancel();
    }
    EXPECT_NE(ids[0], ids[1]);
    EXPECT_LT(npps[0], npps[1]);
}

TEST_F(StockDocCoreTest, DiscardDeletesANewDocumentUndoesAStoredOneAndHandsOnARefusedDelete) {
    QList<std::exception_ptr> errors;
    const auto onError = [&](std::exception_ptr e) { errors << e; };

    // A new document with a line: gone from the database, the line undone.
    int id = newSale();
    openLines(id);
    AppendStockLine(*moves, DM(), id);
    moves->fieldByName(QStringLiteral("TOVAR_ID")).setAsInteger(1);
    moves->fieldByName(QStringLiteral("KOLVO")).setAsDecimal(fb::Decimal::fromString(QStringLiteral("2")));
    moves->fieldByName(QStringLiteral("CENA")).setAsDecimal(fb::Decimal::fromString(QStringLiteral("10")));
    moves->post();
    DiscardStockDoc(*docs, *moves, true, id, onError);
    EXPECT_EQ(docsCount(id), 0);
    EXPECT_FALSE(docs->locate(QStringLiteral("ID"), id));
    EXPECT_EQ(moves->recordCount(), 0);
    EXPECT_TRUE(errors.isEmpty());

    // A stored document: the changed comment comes back, the row stays.
    id = newSale();
    docs->edit();
    docs->fieldByName(QStringLiteral("COMMENT")).setAsString(QStringLiteral("новый"));
    DiscardStockDoc(*docs, *moves, false, id, onError);
    EXPECT_EQ(docsCount(id), 1);
    ASSERT_TRUE(docs->locate(QStringLiteral("ID"), id));
    EXPECT_EQ(docs->fieldByName(QStringLiteral("COMMENT")).asString(), QString());

    // A delete the database refuses is handed on and the row stays in the journal.
    DM().connection().executeImmediate(QStringLiteral("CREATE EXCEPTION E_NO_DELETE 'Удаление запрещено'"));
    DM().connection().executeImmediate(QStringLiteral(
        "CREATE TRIGGER T_NO_DELETE FOR DOCS ACTIVE BEFORE DELETE POSITION 5 AS BEGIN EXCEPTION E_NO_DELETE; END"));
    DiscardStockDoc(*docs, *moves, true, id, onError);
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(docsCount(id), 1);
    EXPECT_TRUE(docs->locate(QStringLiteral("ID"), id));
}

}  // namespace
