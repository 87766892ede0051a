// The order editor's decisions without a window: may the order be changed,
// which header fields it may change, what its kind shows, and what closing
// the editor does.
#include "orders/core/DocuCommands.h"
#include "orders/core/DocuEditRules.h"
#include "orders/core/DocuHeader.h"
#include "orders/core/ReceiptForms.h"

#include <gtest/gtest.h>

#include <vector>

TEST(DocuEditRules, EditingNeedsAnOpenPeriodAndTheRightForNewOrExisting) {
    struct Row {
        bool periodOpen, isNew, zakInsert, zakEdit;
        bool allowed;
        const char* title;
    };
    const std::vector<Row> rows = {
        {true, true, true, false, true, "Новый документ"},
        {true, true, false, true, false, "Новый документ"},  // the edit right does not create
        {true, false, false, true, true, "Редактирование документа"},
        {true, false, true, false, false, "Просмотр"},  // the create right does not edit
        {true, false, true, true, true, "Редактирование документа"},
        {false, true, true, true, false, "Новый документ"},
        {false, false, true, true, false, "Просмотр"},  // a closed period: view mode whatever the rights
        {true, false, false, false, false, "Просмотр"},
    };
    for (const Row& r : rows) {
        const bool allowed = DocuEditAllowed(r.periodOpen, r.isNew, r.zakInsert, r.zakEdit);
        EXPECT_EQ(allowed, r.allowed) << r.periodOpen << r.isNew << r.zakInsert << r.zakEdit;
        EXPECT_EQ(DocuEditorTitle(r.isNew, allowed).toStdString(), r.title)
            << r.periodOpen << r.isNew << r.zakInsert << r.zakEdit;
    }
}

TEST(DocuEditRules, TheKindDecidesTheProductsTabAndTheShoeColumns) {
    struct Row {
        int kind;
        bool productsTab, setsColumns, shoeColumns;
        int nameWidth;
    };
    for (const Row& r : std::vector<Row>{{kDocuKindShoeRepair, true, true, true, 30},
                                         {kDocuKindKeys, false, false, false, 0},
                                         {kDocuKindEngraving, true, true, false, 70},
                                         {4, true, false, false, 0}}) {
        const TDocuKindLayout l = DocuKindLayout(r.kind);
        EXPECT_EQ(l.productsTab, r.productsTab) << r.kind;
        EXPECT_EQ(l.setsShoeColumns, r.setsColumns) << r.kind;
        if (r.setsColumns) {
            EXPECT_EQ(l.shoeColumns, r.shoeColumns) << r.kind;
            EXPECT_EQ(l.productNameWidth, r.nameWidth) << r.kind;
        }
    }
}

TEST(DocuEditRules, ClosingSavesAsksOrThrowsTheChangesAway) {
    using B = TDocuCloseButton;
    using A = TDocuCloseAnswer;
    using D = TDocuCloseAction;
    struct Row {
        B button;
        bool modified;
        A answer;
        bool isNew;
        D action;
    };
    const std::vector<Row> rows = {
        // Save saves, modified or not, new or existing.
        {B::Save, false, A::NotAsked, true, D::Save},
        {B::Save, true, A::NotAsked, false, D::Save},
        {B::Save, false, A::NotAsked, false, D::Save},
        // Closing a modified order asks first; "Yes" saves, "No" throws the changes away.
        {B::Close, true, A::NotAsked, true, D::Ask},
        {B::Close, true, A::NotAsked, false, D::Ask},
        {B::Close, true, A::Yes, true, D::Save},
        {B::Close, true, A::Yes, false, D::Save},
        {B::Close, true, A::No, true, D::DeleteNewRow},
        {B::Close, true, A::No, false, D::UndoChanges},
        // An untouched order closes without a question.
        {B::Close, false, A::NotAsked, true, D::DeleteNewRow},
        {B::Close, false, A::NotAsked, false, D::UndoChanges},
    };
    for (size_t i = 0; i < rows.size(); ++i) {
        const Row& r = rows[i];
        EXPECT_EQ(DocuCloseAction(r.button, r.modified, r.answer, r.isNew), r.action) << "row " << i;
    }
}

TEST(DocuEditRules, EachHeaderFieldIsChangedOnlyInItsModes) {
    struct Row {
        const char* field;
        bool editing, viewing;  // read-only while editing is allowed, in view mode
    };
    // Deviation boxes editable (a deviation chosen) in the first two columns.
    const std::vector<Row> rows = {
        {"NUMBER", false, true},      {"DATEP", false, true},   {"ZAKAZCH_ID", false, true},
        {"DATEV", false, true},       {"VREMVYD", false, true}, {"COMMENT", false, true},
        {"GARANT", false, true},      {"RECEIVED", false, true},
        {"DATEVYD", false, false},  // the hand-over date is given in view mode too
        {"SERIES", true, true},       {"TOTAL", true, true},    {"TOTAL_WOTKL", true, true},
        {"DEBT", true, true},         {"KINDDOC_ID", true, true},  // not the header's to change
    };
    for (const Row& r : rows) {
        const TDocuFieldAccess access = DocuFieldAccess(QString::fromLatin1(r.field));
        EXPECT_NE(access, TDocuFieldAccess::Deviation) << r.field;
        EXPECT_EQ(DocuFieldReadOnly(access, true), r.editing) << r.field;
        EXPECT_EQ(DocuFieldReadOnly(access, false), r.viewing) << r.field;
    }
    EXPECT_EQ(DocuHeaderFields().size(), rows.size() - 1 + 2);
    for (const char* f : {"OTKLPROC", "OTKLSUM"}) {
        const TDocuFieldAccess access = DocuFieldAccess(QString::fromLatin1(f));
        ASSERT_EQ(access, TDocuFieldAccess::Deviation) << f;
        EXPECT_FALSE(DocuFieldReadOnly(access, true, true)) << f;
        EXPECT_TRUE(DocuFieldReadOnly(access, true, false)) << f;  // no deviation chosen, or view mode
    }
}

TEST(DocuEditRules, TheChangedMarkIsAddedAndRemovedOnce) {
    struct Row {
        const char* caption;
        bool modified;
        const char* shown;
    };
    for (const Row& r : std::vector<Row>{{"Просмотр", true, "Просмотр *"},
                                         {"Просмотр *", true, "Просмотр *"},
                                         {"Просмотр *", false, "Просмотр"},
                                         {"Просмотр", false, "Просмотр"},
                                         {"", true, " *"}}) {
        EXPECT_EQ(DocuCaptionMarked(QString::fromUtf8(r.caption), r.modified).toStdString(), r.shown)
            << r.caption << " " << r.modified;
    }
}

TEST(DocuEditRules, TheReceiptListsTheProductsOfShoeRepairAndEngravingOnly) {
    for (const auto& [kind, products] : std::vector<std::pair<int, bool>>{
             {kDocuKindShoeRepair, true}, {kDocuKindKeys, false}, {kDocuKindEngraving, true}, {4, false}}) {
        EXPECT_EQ(ReceiptListsProducts(kind), products) << kind;
        EXPECT_EQ(ReceiptFormName(kind, true).isEmpty(), kind == 4) << kind;
    }
}

// The editor makes its actions from the command table: the names the tests and
// the buttons find them by, their hints and keys, every one locked in view mode;
// F2 and Ctrl+Del run the grid's own edit and delete.
TEST(DocuCommands, TableNamesKeysAndWhatTheFocusedCommandsRun) {
    using C = TDocuCommand;
    struct Row {
        C command;
        const char *name, *hint, *button;
        int shortcut;
    };
    const Row rows[] = {
        {C::ProductAppend, "acPMovesAppend", "Добавить изделие", "+", (Qt::SHIFT | Qt::Key_Insert).toCombined()},
        {C::ProductDelete, "acPMovesDelete", "Убрать изделие (Ctrl-Del)", "-", 0},
        {C::ProductDown, "acPMovesDown", "Переместить изделие вниз", "↓", 0},
        {C::ServiceAppend, "acUMovesAppend", "Добавить услугу", "+", Qt::Key_Insert},
        {C::ServiceEdit, "acUMovesEdit", "Редактировать услугу (F2)", "Изм.", 0},
        {C::ServiceUp, "acUMovesUp", "Переместить услугу вверх", "↑", 0},
        {C::FocusedEdit, "acComEdit", "", nullptr, Qt::Key_F2},
        {C::FocusedDelete, "acComDelete", "", nullptr, (Qt::CTRL | Qt::Key_Delete).toCombined()},
    };
    ASSERT_EQ(DocuCommands().size(), 12u);
    for (const Row& r : rows) {
        const TEditorCommand& c = DocuCommand(r.command);
        EXPECT_STREQ(c.name, r.name);
        EXPECT_STREQ(c.hint, r.hint) << r.name;
        EXPECT_STREQ(c.button ? c.button : "", r.button ? r.button : "") << r.name;
        EXPECT_EQ(c.shortcut, r.shortcut) << r.name;
    }
    for (const TEditorCommand& c : DocuCommands()) EXPECT_TRUE(c.needsEditing) << c.name;
    EXPECT_EQ(DocuLineCommands(TDocuLineKind::Service),
              (std::vector<C>{C::ServiceAppend, C::ServiceEdit, C::ServiceDelete, C::ServiceUp, C::ServiceDown}));
    EXPECT_EQ(DocuFocusedCommand(C::FocusedEdit, TDocuLineKind::Product), C::ProductEdit);
    EXPECT_EQ(DocuFocusedCommand(C::FocusedEdit, TDocuLineKind::Service), C::ServiceEdit);
    EXPECT_EQ(DocuFocusedCommand(C::FocusedDelete, TDocuLineKind::Product), C::ProductDelete);
    EXPECT_EQ(DocuFocusedCommand(C::FocusedDelete, TDocuLineKind::Service), C::ServiceDelete);
}
