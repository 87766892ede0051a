// The order editor's decisions without a window: may the order be changed,
// what its kind shows, and what closing the editor does.
#include "orders/core/DocuEditRules.h"

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
