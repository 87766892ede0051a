// The commands of a book on its rows without a window, on the customers and
// the goods groups of a real database: a copy with a fresh ID, where a
// refused save leaves the record, deleting, the sort order and the quick
// find on text, numbers and dates, groups stored with their depths; adding,
// editing and deleting groups; the commands' table.
#include "TestDatabase.h"

#include "books/core/BookActions.h"
#include "books/core/BookCommands.h"
#include "books/core/GroupCommands.h"
#include "data/ClientDataSet.h"
#include "data/StoredProc.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <memory>

inline void PrintTo(const QString& s, std::ostream* os) { *os << '"' << s.toStdString() << '"'; }

namespace {

const books::SimpleBookConfig& customers() { return *books::SimpleBookByWindow(QStringLiteral("frmBookZakazch")); }

}  // namespace

class BookCommandsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(m_dir.isValid());
        att = std::make_unique<fb::Attachment>(testdb::freshCopy(m_dir));
        exec("DELETE FROM ZAKAZCH");
        exec("INSERT INTO ZAKAZCH (ID, NAME, PHONE, DTR) VALUES (1, 'Петров', '222', '1980-02-01')");
        exec("INSERT INTO ZAKAZCH (ID, NAME, PHONE, DTR) VALUES (2, 'Иванов', '333', '1975-06-30')");
        exec("INSERT INTO ZAKAZCH (ID, NAME, PHONE, DTR) VALUES (3, 'Сидоров', '111', '1990-12-24')");
        // As the book's window does: a refused change is undone in memory.
        book.setOnReconcileError([](TClientDataSet&, const TApplyFailure&) { return TReconcileAction::Cancel; });
        book.setAttachment(att.get());
        book.setTableName(QStringLiteral("ZAKAZCH"));
        book.setCommandText(customers().sql);
        books::AddBookFields(book, customers().fields);
        book.open();
    }
    void exec(const char* sql) { testdb::exec(*att, QString::fromUtf8(sql)); }
    qint64 stored(const char* sqlFromWhere) {
        return testdb::scalar(*att, QStringLiteral("SELECT COUNT(*) FROM ") + QString::fromUtf8(sqlFromWhere)).toInt();
    }
    bool store() { return book.applyUpdates() == 0; }
    QString name() { return book.fieldByName(QStringLiteral("NAME")).asString(); }
    int id() { return int(book.fieldByName(QStringLiteral("ID")).asInteger()); }

    QTemporaryDir m_dir;
    std::unique_ptr<fb::Attachment> att;
    TClientDataSet book;
};

TEST_F(BookCommandsTest, CopyRefusedSavesAndDelete) {
    EXPECT_EQ(book.fieldByName(QStringLiteral("NAME")).displayLabel(), QStringLiteral("ФИО"));
    ASSERT_TRUE(book.locate(QStringLiteral("ID"), 2));
    // A copy takes every copy field but its ID; a taken ID is refused and the
    // copy stays in insert with what was typed.
    books::StartNewRecord(book, 3, books::CopiedValues(book, customers().copyFields));
    EXPECT_EQ(name(), QStringLiteral("Иванов"));
    EXPECT_EQ(book.fieldByName(QStringLiteral("DTR")).value(), fb::Value(QDate(1975, 6, 30)));
    book.fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Иванова"));
    EXPECT_FALSE(books::SaveEditedRecord(book, {}, [this] { return store(); }));
    EXPECT_EQ(book.state(), TDataSetState::Insert);
    EXPECT_EQ(id(), 3);
    EXPECT_EQ(name(), QStringLiteral("Иванова"));
    book.fieldByName(QStringLiteral("ID")).setAsInteger(4);
    EXPECT_TRUE(books::SaveEditedRecord(book, {}, [this] { return store(); }));
    EXPECT_EQ(id(), 4);
    EXPECT_EQ(stored("ZAKAZCH WHERE ID = 4 AND NAME = 'Иванова' AND DTR = '1975-06-30'"), 1);

    // An edit refused returns to the row being edited, not the one the cursor fell on.
    ASSERT_TRUE(book.locate(QStringLiteral("ID"), 1));
    book.edit();
    book.fieldByName(QStringLiteral("ID")).setAsInteger(3);
    EXPECT_FALSE(books::SaveEditedRecord(book, fb::Value(1), [this] { return store(); }));
    EXPECT_EQ(book.state(), TDataSetState::Edit);
    EXPECT_EQ(name(), QStringLiteral("Петров"));
    EXPECT_EQ(id(), 3);
    book.cancel();
    EXPECT_EQ(stored("ZAKAZCH WHERE ID = 1"), 1);

    ASSERT_TRUE(book.locate(QStringLiteral("ID"), 1));
    EXPECT_TRUE(books::DeleteCurrentRecord(book));
    EXPECT_EQ(stored("ZAKAZCH WHERE ID = 1"), 0);
    EXPECT_TRUE(books::HasRows(book));
}

TEST_F(BookCommandsTest, SortAndQuickFindOnTextNumbersAndDates) {
    books::SortRecords(book, customers(), 1, false);
    EXPECT_EQ(book.query().sql(), QStringLiteral("SELECT ID, NAME, ADRES, PHONE, DTR FROM ZAKAZCH ORDER BY NAME"));
    EXPECT_EQ(book.indexFieldNames(), QStringLiteral("NAME"));
    struct Case { int field; const char* text; int found; };
    const Case cases[] = {
        {1, "Пе", 1}, {1, "С", 3}, {0, "2", 2}, {2, "3", 2}, {3, "01.01.1985", 3}, {3, "1.1.1900", 2},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(books::FindNearestRecord(book, customers(), c.field, QString::fromUtf8(c.text)));
        EXPECT_EQ(id(), c.found) << c.field << " " << c.text;
        EXPECT_EQ(book.indexFieldNames(), customers().orderFields[size_t(c.field)]);
    }
    // The sort follows a chosen find field only where that field has a sort order of its own.
    const auto& colours = *books::SimpleBookByWindow(QStringLiteral("frmBookColor"));
    EXPECT_EQ(books::SortForFindField(customers(), 3, 1), std::optional<int>(3));
    EXPECT_EQ(books::SortForFindField(customers(), 1, 1), std::nullopt);
    EXPECT_EQ(books::SortForFindField(colours, 2, 0), std::nullopt);
    EXPECT_TRUE(books::SortShown(customers(), 3));
    EXPECT_FALSE(books::SortShown(colours, 2));
    TClientDataSet empty;
    EXPECT_FALSE(books::FindNearestRecord(empty, customers(), 1, QStringLiteral("А")));
}

TEST_F(BookCommandsTest, GroupsAreStoredWithTheirDepthsOrNotAtAll) {
    const auto& goods = *books::TreeBookByWindow(QStringLiteral("frmBookTovar"));
    exec("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Клей', 1)");
    TClientDataSet groups;
    groups.setAttachment(att.get());
    groups.setTableName(goods.groupTable);
    groups.setCommandText(goods.groupsSql);
    groups.open();
    groups.append();
    groups.fieldByName(QStringLiteral("ID")).setAsInteger(2);
    groups.fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(1);
    groups.fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Обувной"));
    groups.post();
    EXPECT_EQ(books::SaveGroups(groups, goods.groupTable, 2), std::nullopt);
    EXPECT_EQ(stored("TOVARGR WHERE ID = 2 AND LEVELI = 2"), 1);
    // A key already taken: nothing stored, nothing left pending, the database's message.
    groups.append();
    groups.fieldByName(QStringLiteral("ID")).setAsInteger(1);
    groups.fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(0);
    groups.fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Ещё"));
    groups.post();
    const std::optional<QString> refusal = books::SaveGroups(groups, goods.groupTable, 1);
    ASSERT_TRUE(refusal);
    EXPECT_TRUE(refusal->contains(QStringLiteral("PK_TOVARGR"))) << refusal->toStdString();
    EXPECT_FALSE(groups.updatesPending());
    EXPECT_EQ(stored("TOVARGR"), 3);
    TClientDataSet closed;
    EXPECT_TRUE(books::GroupInView(closed).isNull());

    struct Text { QString shown, expected; };
    const Text texts[] = {
        {books::GroupDeleteRefusal(books::GroupDelete::Root, QStringLiteral("Товары")),
         QStringLiteral("Это корневая группа. Ее нельзя удалить.")},
        {books::GroupDeleteRefusal(books::GroupDelete::NotEmpty, QStringLiteral("Клей")),
         QStringLiteral("Группа Клей не пуста. Удаление невозможно.")},
        {books::GroupDeleteRefusal(books::GroupDelete::Allowed, QStringLiteral("Клей")), QString()},
        {books::GroupDeleteQuestion(QStringLiteral("Клей")), QStringLiteral("Удалить группу Клей ?")},
        {books::BookStatusText(5), QStringLiteral("Записей в справочнике: 5")},
        {books::BookStatusText(5, 0), QStringLiteral("Записей в справочнике: 5; Записей в выбранной группе: 0")},
    };
    for (const Text& t : texts) EXPECT_EQ(t.shown, t.expected);
}

TEST_F(BookCommandsTest, GroupsAddedEditedAndDeletedSayWhereTheTreeReturns) {
    const auto& goods = *books::TreeBookByWindow(QStringLiteral("frmBookTovar"));
    TStoredProc proc;
    proc.setAttachment(att.get());
    proc.setStoredProcName(goods.groupIdProc);
    const int id = books::DrawGroupID(proc);
    EXPECT_EQ(books::DrawGroupID(proc), id + 1);
    TClientDataSet groups;
    groups.setOnReconcileError([](TClientDataSet&, const TApplyFailure&) { return TReconcileAction::Cancel; });
    groups.setAttachment(att.get());
    groups.setTableName(goods.groupTable);
    groups.setCommandText(goods.groupsSql);
    groups.open();
    const auto add = [&](int groupId, const char* name) {
        groups.append();
        groups.fieldByName(QStringLiteral("ID")).setAsInteger(groupId);
        groups.fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(0);
        groups.fieldByName(QStringLiteral("NAME")).setAsString(QString::fromUtf8(name));
        groups.post();
        return books::StoreAddedGroup(groups, goods.groupTable, groupId, fb::Value(0));
    };
    books::GroupStored s = add(id, "Клей");
    EXPECT_EQ(s.refusal, std::nullopt);
    EXPECT_EQ(s.returnTo, fb::Value(id));
    // A key already taken: the refusal shown, back to the group selected before.
    s = add(id, "Ещё");
    ASSERT_TRUE(s.refusal);
    EXPECT_EQ(s.returnTo, fb::Value(0));
    books::ReadGroupsAgain(groups, fb::Value(id));
    EXPECT_EQ(groups.fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Клей"));
    groups.edit();
    groups.fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Клеи"));
    groups.post();
    s = books::StoreEditedGroup(groups, goods.groupTable);
    EXPECT_EQ(s.refusal, std::nullopt);
    EXPECT_EQ(s.returnTo, fb::Value(id));
    EXPECT_EQ(stored("TOVARGR WHERE NAME = 'Клеи' AND LEVELI = 1"), 1);

    struct Ask { int group; bool children; int records; QString refusal, question; };
    const Ask asks[] = {
        {0, false, 0, QStringLiteral("Это корневая группа. Ее нельзя удалить."), {}},
        {id, true, 0, QStringLiteral("Группа Клеи не пуста. Удаление невозможно."), {}},
        {id, false, 2, QStringLiteral("Группа Клеи не пуста. Удаление невозможно."), {}},
        {id, false, 0, {}, QStringLiteral("Удалить группу Клеи ?")},
    };
    for (const Ask& a : asks) {
        ASSERT_TRUE(groups.locate(QStringLiteral("ID"), a.group));
        const books::GroupDeleteAsk ask = books::AskDeleteGroup(groups, a.children, a.records, QStringLiteral("Клеи"));
        EXPECT_EQ(ask.id, a.group);
        EXPECT_EQ(ask.refusal, a.refusal) << a.group;
        EXPECT_EQ(ask.question, a.question) << a.group;
    }
    // Goods still in the group: the deletion is refused and the tree reads the group again.
    testdb::exec(*att, QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (1, %1, 'K1', 'Клей', 'шт')").arg(id));
    groups.deleteRecord();
    EXPECT_EQ(books::StoreDeletedGroup(groups, id), fb::Value(id));
    exec("DELETE FROM TOVAR");
    books::ReadGroupsAgain(groups, fb::Value(id));
    groups.deleteRecord();
    EXPECT_TRUE(books::StoreDeletedGroup(groups, id).isNull());
    EXPECT_EQ(stored("TOVARGR"), 1);
}

TEST(BookActions, FlatAndTreeBooksMakeTheirCommandsAndToolbarFromOneTable) {
    for (const bool tree : {false, true}) {
        SCOPED_TRACE(tree);
        QStringList names, needRows, views;
        for (const books::BookAction& a : books::BookActions(tree)) {
            EXPECT_FALSE(names.contains(a.objectName)) << a.objectName.toStdString();
            EXPECT_FALSE(a.caption.isEmpty() || a.icon.isEmpty()) << a.objectName.toStdString();
            names << a.objectName;
            if (a.needsRows) needRows << a.objectName;
            if (a.view) views << a.objectName + (a.checked ? QStringLiteral("*") : QString());
            if (a.objectName == QStringLiteral("acDelete")) {
                EXPECT_EQ(a.keys, QStringList{tree ? QStringLiteral("Del") : QStringLiteral("Ctrl+Del")});
                EXPECT_TRUE(a.gridKey);
            }
        }
        EXPECT_EQ(needRows, (QStringList{QStringLiteral("acAppendCopy"), QStringLiteral("acDelete"), QStringLiteral("acEdit")}));
        EXPECT_EQ(views, tree ? QStringList({QStringLiteral("acViewTree*"), QStringLiteral("acViewPlain")}) : QStringList());
        // Every command stands once on the toolbar, with the sort button and separators between.
        QStringList bar = books::BookToolbar(tree);
        EXPECT_EQ(bar.removeAll(books::SortButton().objectName), 1);
        bar.removeAll(QStringLiteral("-"));
        bar.sort();
        names.sort();
        EXPECT_EQ(bar, names);
        EXPECT_EQ(names.size(), tree ? 15 : 10);
    }
}
