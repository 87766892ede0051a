// A group's LEVELI stored on the window fixture's database (the rules
// themselves are tested without a window in test_book_rules_core.cpp).
#include "BooksFixture.h"

#include "books/core/BookRules.h"
#include "data/SaveRetry.h"

using namespace bookstest;

TEST_F(BooksTest, GroupLevelsFollowTheParentAndShiftTheBranch) {
    exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'A', 1)"));
    exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 0, 'B', 1)"));
    exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (3, 2, 'C', 2)"));
    exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (4, 3, 'D', 3)"));
    // B moves under A: B, C and D each go one level deeper.
    exec(QStringLiteral("UPDATE TOVARGR SET PARENT_ID = 1 WHERE ID = 2"));
    int changed = 0;
    RunSaveTransaction(DM().connection(), [&](fb::Transaction& tra) {
        changed = books::FixGroupLevels(tra, QStringLiteral("TOVARGR"), 2);
    });
    EXPECT_EQ(changed, 3);
    for (auto [id, level] : {std::pair{1, 1}, {2, 2}, {3, 3}, {4, 4}})
        EXPECT_EQ(scalar(QStringLiteral("SELECT LEVELI FROM TOVARGR WHERE ID = ?"), {id}).toInt(), level) << id;
}
