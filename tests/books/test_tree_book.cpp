// The tree book: records of the selected group or all records, the services'
// kind filter, group inserts, edits and deletes with their checks, the depth
// of groups kept true, a refused group leaving no stale node.
#include "BooksFixture.h"

using namespace bookstest;

namespace {

class TreeBookTest : public BooksTest {
protected:
    void group(const char* table, int id, int parent, const char* name, int level, fb::Value kind = fb::Value()) {
        if (QString::fromLatin1(table) == QStringLiteral("TOVARGR"))
            exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (?, ?, ?, ?)"),
                 {id, parent, QString::fromUtf8(name), level});
        else
            exec(QStringLiteral("INSERT INTO %1 (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (?, ?, ?, ?, ?)")
                     .arg(QString::fromLatin1(table)),
                 {id, parent, QString::fromUtf8(name), level, kind});
    }
    void goods(int id, int gr, const char* name) {
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (?, ?, 'A', ?, 'шт')"),
             {id, gr, QString::fromUtf8(name)});
    }
    static void reopenLookups() {
        DM().closeLookups();
        DM().openLookups();
    }
    static void select(TfrmBookTT* b, int groupId) {
        QTreeWidgetItem* node = b->DBTV->nodeOfId(groupId);
        ASSERT_NE(node, nullptr) << groupId;
        b->DBTV->setCurrentItem(node);
    }
    static QString shape(QTreeWidgetItem* node) {
        QString s = node->text(0);
        if (node->childCount() == 0) return s;
        QStringList kids;
        for (int i = 0; i < node->childCount(); ++i) kids << shape(node->child(i));
        return s + "(" + kids.join(' ') + ")";
    }
    static QString shape(TfrmBookTT* b) { return shape(b->DBTV->topLevelItem(0)); }
    int level(const char* table, int id) {
        return int(scalar(QStringLiteral("SELECT LEVELI FROM %1 WHERE ID = ?").arg(QString::fromLatin1(table)), {id}).toInt());
    }
};

}  // namespace

TEST_F(TreeBookTest, RecordsOfTheSelectedGroupOrAllRecords) {
    group("TOVARGR", 1, 0, "Обувь", 1);
    group("TOVARGR", 2, 0, "Ключи", 1);
    group("TOVARGR", 3, 0, "Пустая", 1);
    goods(1, 1, "Набойка");
    goods(2, 1, "Клей");
    goods(3, 1, "Крем");
    goods(4, 2, "Заготовка");
    goods(5, 0, "Разное");
    reopenLookups();
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookTovar"));
    EXPECT_EQ(b->windowTitle(), QStringLiteral("Справочник: Товары"));
    EXPECT_EQ(shape(b), QStringLiteral("Товары(Ключи Обувь Пустая)"));
    EXPECT_EQ(ids(*b->cdsBook), (QList<int>{5}));
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: 5; Записей в выбранной группе: 1"));
    select(b, 1);
    EXPECT_EQ(ids(*b->cdsBook), (QList<int>{1, 2, 3}));
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: 5; Записей в выбранной группе: 3"));
    action(b, "acViewPlain")->trigger();
    EXPECT_EQ(ids(*b->cdsBook), (QList<int>{1, 2, 3, 4, 5}));
    EXPECT_FALSE(b->DBTV->isEnabled());
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: 5"));
    action(b, "acViewTree")->trigger();
    EXPECT_TRUE(b->DBTV->isEnabled());
    EXPECT_EQ(ids(*b->cdsBook), (QList<int>{1, 2, 3}));

    // Choosing from an empty group hands nothing back; a record is handed back by its ID.
    action(b, "acEnter")->setVisible(true);
    select(b, 3);
    EXPECT_TRUE(b->cdsBook->isEmpty());
    action(b, "acEnter")->trigger();
    EXPECT_TRUE(b->isVisible());
    select(b, 2);
    action(b, "acEnter")->trigger();
    EXPECT_EQ(b->result(), QDialog::Accepted);
    EXPECT_EQ(b->SelectedID, 4);
}

TEST_F(TreeBookTest, ServicesShowTheGroupsOfTheCallersKind) {
    group("USLUGAGR", 1, 0, "Набойки", 1, 1);
    group("USLUGAGR", 2, 0, "Ключи", 1, 3);
    group("USLUGAGR", 3, 0, "Гравировка", 1, 3);
    auto* b = book<TfrmBookTT>(QStringLiteral("frmBookUsluga"));
    b->setProperty("KindDocID", 3);
    b->show();
    EXPECT_EQ(shape(b), QStringLiteral("Услуги(Гравировка Ключи)"));
    b->reject();
    b->show();  // from the main window: every group
    EXPECT_EQ(shape(b), QStringLiteral("Услуги(Гравировка Ключи Набойки)"));
    b->reject();
}

TEST_F(TreeBookTest, GroupDeletionRules) {
    group("TOVARGR", 1, 0, "Обувь", 1);
    group("TOVARGR", 2, 0, "Ключи", 1);
    group("TOVARGR", 3, 1, "Каблуки", 2);
    group("TOVARGR", 4, 0, "Пустая", 1);
    goods(1, 2, "Заготовка");
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookTovar"));
    struct Case { int group; const char* message; };
    const Case refused[] = {{0, "Это корневая группа. Ее нельзя удалить."},
                            {1, "Группа Обувь не пуста. Удаление невозможно."},
                            {2, "Группа Ключи не пуста. Удаление невозможно."}};
    for (const Case& c : refused) {
        select(b, c.group);
        ModalScript script;
        script.answerOk();
        action(b, "acTreeDelete")->trigger();
        ASSERT_EQ(script.messages().size(), 1);
        EXPECT_EQ(script.messages().at(0).text, QString::fromUtf8(c.message));
        EXPECT_EQ(script.messages().at(0).flags, 48);
    }
    EXPECT_EQ(count(QStringLiteral("TOVARGR")), 5);
    select(b, 4);
    ModalScript script;
    script.answerYes();
    action(b, "acTreeDelete")->trigger();
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().at(0).text, QStringLiteral("Удалить группу Пустая ?"));
    EXPECT_EQ(count(QStringLiteral("TOVARGR WHERE ID = 4")), 0);
    EXPECT_EQ(b->DBTV->nodeOfId(4), nullptr);
    b->reject();
}

TEST_F(TreeBookTest, GroupParentChecksAndTrueDepths) {
    group("TOVARGR", 1, 0, "А", 1);
    group("TOVARGR", 2, 1, "Б", 2);
    group("TOVARGR", 3, 2, "В", 3);
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookTovar"));
    select(b, 2);
    struct Try { int parent; const char* message; };
    const Try refused[] = {
        {2, "Родительской группой не может быть сама группа.\n\r Выберите другую родительскую группу.\n\r"},
        {3, "Родительской группой не может быть подгруппа этой группы.\n\r Выберите другую родительскую группу.\n\r"},
    };
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewGroup"), [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Редактирование группы"));
        for (const Try& t : refused) {
            b->cdsBookGroup->fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(t.parent);
            click(d, "btnOk");
            EXPECT_TRUE(d->isVisible());
        }
        b->cdsBookGroup->fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(0);
        click(d, "btnOk");
    });
    script.answerOk().answerOk();
    action(b, "acTreeRename")->trigger();
    ASSERT_EQ(script.messages().size(), 2);
    for (int i = 0; i < 2; ++i) EXPECT_EQ(script.messages().at(i).text, QString::fromUtf8(refused[i].message));
    // Б moved up under the root: it and its branch are one level higher.
    EXPECT_EQ(scalar(QStringLiteral("SELECT PARENT_ID FROM TOVARGR WHERE ID = 2")).toInt(), 0);
    EXPECT_EQ(level("TOVARGR", 2), 1);
    EXPECT_EQ(level("TOVARGR", 3), 2);
    EXPECT_EQ(shape(b), QStringLiteral("Товары(А Б(В))"));
    EXPECT_EQ(TDBTreeView::nodeId(b->DBTV->currentItem()), 2);

    // A new group under В, moved by the user under А: its depth follows its real parent.
    select(b, 3);
    ModalScript insert;
    insert.onDialog(QStringLiteral("frmNewGroup"), [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Новая группа"));
        EXPECT_EQ(b->cdsBookGroup->fieldByName(QStringLiteral("LEVELI")).asInteger(), 3);
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Г"));
        b->cdsBookGroup->fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(1);
        click(d, "btnOk");
    });
    action(b, "acTreeNew")->trigger();
    const int newId = int(scalar(QStringLiteral("SELECT ID FROM TOVARGR WHERE NAME = 'Г'")).toInt());
    EXPECT_EQ(level("TOVARGR", newId), 2);
    EXPECT_EQ(shape(b), QStringLiteral("Товары(А(Г) Б(В))"));
    EXPECT_EQ(TDBTreeView::nodeId(b->DBTV->currentItem()), newId);
    b->reject();
}

TEST_F(TreeBookTest, RefusedGroupLeavesNoStaleNode) {
    group("TOVARGR", 1, 0, "Обувь", 1);
    DM().connection().executeImmediate(QStringLiteral("CREATE EXCEPTION E_NO_GROUPS 'Группы запрещены'"));
    DM().connection().executeImmediate(QStringLiteral(
        "CREATE TRIGGER T_NO_GROUPS FOR TOVARGR ACTIVE BEFORE INSERT POSITION 5 AS BEGIN EXCEPTION E_NO_GROUPS; END"));
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookTovar"));
    select(b, 1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewGroup"), [&](QDialog* d) {
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Отвергнутая"));
        click(d, "btnOk");
    });
    script.acceptDialog(QStringLiteral("frmErrorDB"));
    action(b, "acTreeNew")->trigger();
    EXPECT_EQ(script.dialogsShown(), (QStringList{QStringLiteral("frmNewGroup"), QStringLiteral("frmErrorDB")}));
    EXPECT_EQ(shape(b), QStringLiteral("Товары(Обувь)"));
    EXPECT_EQ(TDBTreeView::nodeId(b->DBTV->currentItem()), 1);
    EXPECT_EQ(currentId(*b->cdsBookGroup), 1);
    // A record added now is filed in the group the user sees.
    ModalScript record;
    int gr = -1;
    record.onDialog(QStringLiteral("frmNewTovar"), [&](QDialog* d) {
        gr = b->cdsBook->fieldByName(QStringLiteral("GR_ID")).asInteger();
        click(d, "btnCancel");
    });
    action(b, "acAppend")->trigger();
    EXPECT_EQ(gr, 1);
    b->reject();
}
