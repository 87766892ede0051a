// Filling lists from datasets and re-reading a dataset without losing its row.
#include "DataFixture.h"

#include "ui/DataRoutines.h"
#include "data/DataSetRoutines.h"

#include <QComboBox>
#include <QListWidget>

using namespace datatest;

namespace {

class RoutinesTest : public DataTest {
protected:
    void SetUp() override {
        DataTest::SetUp();
        seedOrder();
        exec(QStringLiteral("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (2, 0, 'Ключи', 1, 2)"));
        exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (4, 2, 'Ключ английский', 120)"));
    }
};

TEST_F(RoutinesTest, FillComboBoxCarriesIdsAndLeavesTheDataSetAtItsEnd) {
    auto kinds = dataSet(QStringLiteral("SELECT * FROM KINDDOC ORDER BY ID"));
    kinds->open();
    kinds->setFilter(QStringLiteral("TYPEDOC=1"));
    kinds->setFiltered(true);
    QComboBox combo;
    combo.addItem(QStringLiteral("старое"), 99);
    FillComboBox(&combo, *kinds, QStringLiteral("NAME"));
    ASSERT_EQ(combo.count(), 3);
    EXPECT_EQ(combo.itemText(1), QStringLiteral("Изготовление ключей"));
    EXPECT_EQ(combo.currentIndex(), 0);
    EXPECT_EQ(ComboSelectedID(&combo), 1);
    EXPECT_EQ(ComboIndexOfID(&combo, 3), 2);
    EXPECT_EQ(ComboIndexOfID(&combo, 101), -1);
    EXPECT_TRUE(kinds->eof());
    combo.clear();
    EXPECT_EQ(ComboSelectedID(&combo), -1);
}

TEST_F(RoutinesTest, FillComboBoxByGroupTakesOneGroupOrAllForZero) {
    auto services = dataSet(QStringLiteral("SELECT * FROM USLUGA ORDER BY ID"));
    services->open();
    QComboBox combo;
    FillComboBoxByGroup(&combo, *services, 2, QStringLiteral("NAME"));
    ASSERT_EQ(combo.count(), 1);
    EXPECT_EQ(ComboSelectedID(&combo), 4);
    FillComboBoxByGroup(&combo, *services, 0, QStringLiteral("NAME"));
    EXPECT_EQ(combo.count(), 4);
}

TEST_F(RoutinesTest, FillListBoxSelectsTheFirstItem) {
    exec(QStringLiteral("INSERT INTO PRIEMSCHIK (ID, FIO, PASSWD, ROLE_ID, ZAK_VIEW, ZAK_INSERT, ZAK_EDIT, ZAK_DELETE, "
                        "SKL_VIEW, SKL_INSERT, SKL_EDIT, SKL_DELETE, DOSTUP_BOOK, DOSTUP_BOOKUSER) "
                        "VALUES (2, 'Сидорова', '1', 1, 'T','F','F','F','T','F','F','F','F','F')"));
    auto ops = dataSet(QStringLiteral("SELECT * FROM PRIEMSCHIK ORDER BY ID"));
    ops->open();
    QListWidget list;
    FillListBox(&list, *ops, QStringLiteral("FIO"));
    ASSERT_EQ(list.count(), 2);
    EXPECT_EQ(list.currentRow(), 0);
    EXPECT_EQ(list.item(1)->text(), QStringLiteral("Сидорова"));
    EXPECT_EQ(list.item(1)->data(kItemIdRole).toInt(), 2);
    EXPECT_TRUE(ops->eof());
}

TEST_F(RoutinesTest, RefreshAndLocateKeepsTheRowOrFallsBackToTheFirst) {
    auto ls = lines();
    ls->open();
    ls->locate(QStringLiteral("ID"), 2);
    exec(QStringLiteral("UPDATE UMOVES SET NPP = 5 WHERE ID = 2"));
    RefreshAndLocate(*ls);
    EXPECT_EQ(ls->fieldByName(QStringLiteral("ID")).asInteger(), 2);
    EXPECT_EQ(ls->recNo(), 0);  // re-read: it sorts first now
    ls->setRecNo(2);
    exec(QStringLiteral("DELETE FROM UMOVES WHERE ID = 3"));
    RefreshAndLocate(*ls);
    EXPECT_EQ(ls->recNo(), 0);
    EXPECT_EQ(ls->recordCount(), 2);
    exec(QStringLiteral("DELETE FROM UMOVES"));
    RefreshAndLocate(*ls);
    EXPECT_TRUE(ls->isEmpty());
    EXPECT_EQ(ls->recNo(), -1);
    ls->query().setSql(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));
    EXPECT_THROW(RefreshAndLocate(*ls), fb::DbError);  // nothing is caught on the way
}

TEST_F(RoutinesTest, RefreshGroupAndLocateSetsTheGroupParameter) {
    auto groups = dataSet(QStringLiteral("SELECT * FROM USLUGAGR ORDER BY ID"));
    groups->open();
    auto book = dataSet(QStringLiteral("SELECT * FROM USLUGA WHERE GR_ID=:PAR_GR OR -1=:PAR_GR ORDER BY ID"));
    book->query().setParam(QStringLiteral("PAR_GR"), -1);
    book->open();
    book->locate(QStringLiteral("ID"), 4);
    groups->locate(QStringLiteral("ID"), 2);
    RefreshGroupAndLocate(*book, book->query(), *groups, true);
    EXPECT_EQ(book->query().param(QStringLiteral("PAR_GR")).toInt(), 2);
    EXPECT_EQ(column(*book, QStringLiteral("ID")), QStringList{QStringLiteral("4")});
    EXPECT_EQ(book->fieldByName(QStringLiteral("ID")).asInteger(), 4);
    RefreshGroupAndLocate(*book, book->query(), *groups, false);
    EXPECT_EQ(book->recordCount(), 4);
    EXPECT_EQ(book->fieldByName(QStringLiteral("ID")).asInteger(), 4);
    Reopen(*book);
    EXPECT_EQ(book->recNo(), 0);
}

}  // namespace
