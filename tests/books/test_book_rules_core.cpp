// The books' rules without windows: the sort order rewrite, the new ID, the
// required-fields message, the parent checks of a group, role presets.
#include "books/core/BookRules.h"

#include <gtest/gtest.h>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

TEST(BookRules, SortRewritesEveryOrderByLine) {
    struct Case { const char* sql; const char* entry; bool whole; const char* expected; };
    const Case cases[] = {
        {"SELECT ID, NAME FROM COLOR ORDER BY ID", "NAME", false, "SELECT ID, NAME FROM COLOR ORDER BY NAME"},
        {"SELECT ID, NAME, ADRES, PHONE, DTR FROM ZAKAZCH ORDER BY NAME", "DTR", false,
         "SELECT ID, NAME, ADRES, PHONE, DTR FROM ZAKAZCH ORDER BY DTR"},
        // Tree books keep ORDER BY on a line of its own: the whole line is replaced.
        {"SELECT *\nFROM USLUGA\nWHERE\n    (GR_ID=:PAR_GR OR -1=:PAR_GR)\n  ORDER BY ID", "NAME", true,
         "SELECT *\nFROM USLUGA\nWHERE\n    (GR_ID=:PAR_GR OR -1=:PAR_GR)\nORDER BY NAME"},
        // Only the exact upper-case words count.
        {"SELECT ID FROM COLOR order by ID", "NAME", false, "SELECT ID FROM COLOR order by ID"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(books::ReplaceOrderBy(QString::fromUtf8(c.sql), QString::fromLatin1(c.entry), c.whole),
                  QString::fromUtf8(c.expected));
}

TEST(BookRules, NewIdAndMissingFieldsMessage) {
    EXPECT_EQ(books::NewRecordID(fb::Value()), 1);
    EXPECT_EQ(books::NewRecordID(fb::Value(41)), 42);
    EXPECT_EQ(books::MissingFieldsMessage({}), QString());
    EXPECT_EQ(books::MissingFieldsMessage({QStringLiteral("Код"), QStringLiteral("Наименование")}),
              QStringLiteral("Заполните поля:\r\rКод\rНаименование\r"));
    EXPECT_EQ(books::MissingFieldsMessage({QStringLiteral("Артикул")}, QStringLiteral("\n\r")),
              QStringLiteral("Заполните поля:\n\r\n\rАртикул\n\r"));
}

TEST(BookRules, ParentInsideOwnBranchIsRefused) {
    // 0 root; 1 and 2 under it; 3 under 1; 4 under 3.
    const QHash<int, int> parents{{0, -1}, {1, 0}, {2, 0}, {3, 1}, {4, 3}};
    struct Case { int group, parent; bool refused; };
    const Case cases[] = {{1, 1, true}, {1, 3, true}, {1, 4, true}, {1, 2, false},
                          {3, 0, false}, {4, 1, false}, {2, 4, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(books::IsInOwnBranch(parents, c.group, c.parent), c.refused) << c.group << "<-" << c.parent;
        EXPECT_EQ(books::GroupDialogError(QStringLiteral("Группа"), c.group, c.parent, parents).isEmpty(), !c.refused);
    }
    EXPECT_EQ(books::GroupDialogError(QStringLiteral("  "), 1, 1, parents),
              QStringLiteral("Заполните поле \"Наименование группы\".\n\r"
                             "Родительской группой не может быть сама группа.\n\r Выберите другую родительскую группу.\n\r"));
    EXPECT_EQ(books::CanDeleteGroup(0, false, 0), books::GroupDelete::Root);
    EXPECT_EQ(books::CanDeleteGroup(5, true, 0), books::GroupDelete::NotEmpty);
    EXPECT_EQ(books::CanDeleteGroup(5, false, 1), books::GroupDelete::NotEmpty);
    EXPECT_EQ(books::CanDeleteGroup(5, false, 0), books::GroupDelete::Allowed);
}

TEST(BookRules, RolePresets) {
    EXPECT_EQ(books::RolePreset(1).join(QString()), QStringLiteral("TTFFTTFFTF"));
    EXPECT_EQ(books::RolePreset(2).join(QString()), QStringLiteral("TTTTTTTTTT"));
    EXPECT_TRUE(books::RolePreset(3).isEmpty());
}
