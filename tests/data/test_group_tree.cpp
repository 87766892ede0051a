// The tree of groups as a structure: which fields may bind it and the groups
// under a root, without a window.
#include "data/GroupTree.h"

#include <gtest/gtest.h>

namespace {

// "id(child id(...) ...)" of a tree, for comparing shapes in one line.
QString shape(const QList<TGroupNode>& nodes) {
    QStringList parts;
    for (const TGroupNode& n : nodes)
        parts << QString::number(n.id) + u':' + n.text +
                     (n.children.isEmpty() ? QString() : u'(' + shape(n.children) + u')');
    return parts.join(u' ');
}

TEST(GroupTree, GroupsHangUnderTheirParentsInTheRowsOrder) {
    const QList<TGroupRow> rows = {
        {1, 0, "Обувь"},  {2, 0, "Ключи"},   {3, 1, "Набойки"}, {4, 3, "Мужские"},
        {5, 1, "Клей"},   {6, 6, "Сам себе"}, {7, 42, "Сирота"}, {8, 2, "Домофон"},
    };
    struct Case { qint64 root; QString shape; };
    const Case cases[] = {
        {0, "1:Обувь(3:Набойки(4:Мужские) 5:Клей) 2:Ключи(8:Домофон)"},
        {1, "3:Набойки(4:Мужские) 5:Клей"},
        {6, ""},  // a row naming itself as its parent is no group of its own
        {42, "7:Сирота"},
        {99, ""},
    };
    for (const Case& c : cases) EXPECT_EQ(shape(BuildGroupTree(rows, c.root)), c.shape) << c.root;
}

TEST(GroupTree, OnlyIntegerIdFieldsOfTwoDifferentNamesAndADisplayFieldBindIt) {
    TClientDataSet ds(nullptr, QStringLiteral("cdsGroups"));
    ds.addField(QStringLiteral("ID"), TFieldType::Integer);
    ds.addField(QStringLiteral("PARENT_ID"), TFieldType::LargeInt);
    ds.addField(QStringLiteral("NAME"), TFieldType::Text, 40);
    struct Case { const char* id; const char* parent; const char* display; const char* refusal; };
    const Case cases[] = {
        {"ID", "PARENT_ID", "NAME", ""},
        {"NAME", "PARENT_ID", "NAME", ": IDField not defined or of incorrect type"},
        {"NOPE", "PARENT_ID", "NAME", ": IDField not defined or of incorrect type"},
        {"ID", "NAME", "NAME", ": ParentIDField not defined or of incorrect type"},
        {"ID", "PARENT_ID", "NOPE", ": DisplayField not defined"},
        {"ID", "id", "NAME", ": IDField and ParendIDField cann't refer to the same field!"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GroupTreeBindingRefusal(ds, QString::fromLatin1(c.id), QString::fromLatin1(c.parent),
                                          QString::fromLatin1(c.display)),
                  QString::fromLatin1(c.refusal))
            << c.id << ' ' << c.parent << ' ' << c.display;

    // A setter refuses the other ID field's name at once; the type waits for an open dataset.
    EXPECT_EQ(GroupTreeIdFieldRefusal(&ds, QStringLiteral("PARENT_ID"), QStringLiteral("PARENT_ID")),
              QStringLiteral(": IDField and ParendIDField cann't refer to the same field!"));
    EXPECT_EQ(GroupTreeIdFieldRefusal(&ds, QStringLiteral("NAME"), QStringLiteral("PARENT_ID")), QString());
    EXPECT_EQ(GroupTreeIdFieldRefusal(nullptr, QString(), QString()), QString());
}

}  // namespace
