// The tree control bound to a group table: building, selection in step with
// the dataset both ways, insert, edit and delete through its edit form, the
// binding warnings.
#include "BooksFixture.h"

using namespace bookstest;

namespace {

class TreeViewTest : public BooksTest {
protected:
    void SetUp() override {
        BooksTest::SetUp();
        // 0 root; 1 "Обувь" and 2 "Ключи" under it (in that row order);
        // 3 "Каблуки" under 1; 9 names a parent that does not exist.
        exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (2, 0, 'Ключи', 1)"));
        exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (1, 0, 'Обувь', 1)"));
        exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (3, 1, 'Каблуки', 2)"));
        exec(QStringLiteral("INSERT INTO TOVARGR (ID, PARENT_ID, NAME, LEVELI) VALUES (9, 99, 'Сирота', 5)"));
        groups = std::make_unique<TClientDataSet>(nullptr, QStringLiteral("cdsGroups"));
        groups->setCommandText(QStringLiteral("SELECT ID, PARENT_ID, NAME, LEVELI FROM TOVARGR ORDER BY ID"));
        form = std::make_unique<QDialog>();
        form->setObjectName(QStringLiteral("frmTestGroup"));
        tree = std::make_unique<TDBTreeView>();
        tree->setDataSource(groups.get());
        tree->setDisplayField(QStringLiteral("NAME"));
        tree->setIDField(QStringLiteral("ID"));
        tree->setParentIDField(QStringLiteral("PARENT_ID"));
        tree->setRootID(-1);
        tree->EditForm = form.get();
        connect();
    }
    void TearDown() override {
        tree.reset();
        groups.reset();
        BooksTest::TearDown();
    }
    void connect() {
        QObject::connect(tree.get(), &TDBTreeView::OnChange, [this](QTreeWidgetItem*) { ++changes; });
    }
    // "name(child child)" of the whole tree.
    static QString shape(QTreeWidgetItem* node) {
        QString s = node->text(0);
        if (node->childCount() == 0) return s;
        QStringList kids;
        for (int i = 0; i < node->childCount(); ++i) kids << shape(node->child(i));
        return s + "(" + kids.join(' ') + ")";
    }
    QString shape() const {
        QStringList top;
        for (int i = 0; i < tree->topLevelItemCount(); ++i) top << shape(tree->topLevelItem(i));
        return top.join(' ');
    }
    int selected() const { return TDBTreeView::nodeId(tree->currentItem()); }

    std::unique_ptr<TClientDataSet> groups;
    std::unique_ptr<QDialog> form;
    std::unique_ptr<TDBTreeView> tree;
    int changes = 0;
};

}  // namespace

TEST_F(TreeViewTest, OpeningBuildsFromTheRootInRowOrder) {
    groups->open();
    EXPECT_EQ(shape(), QStringLiteral("Товары(Обувь(Каблуки) Ключи)"));
    EXPECT_TRUE(tree->topLevelItem(0)->isExpanded());
    EXPECT_FALSE(tree->nodeOfId(1)->isExpanded());
    EXPECT_EQ(selected(), 0);
    EXPECT_EQ(currentId(*groups), 0);
    EXPECT_EQ(tree->nodeOfId(9), nullptr);  // unreachable from the top
    groups->close();
    EXPECT_EQ(tree->topLevelItemCount(), 0);
}

TEST_F(TreeViewTest, SelectionAndDatasetFollowEachOther) {
    groups->open();
    changes = 0;
    groups->locate(QStringLiteral("ID"), 3);
    EXPECT_EQ(selected(), 3);
    EXPECT_EQ(changes, 0);  // the dataset's own move raises no change
    tree->setCurrentItem(tree->nodeOfId(2));
    EXPECT_EQ(currentId(*groups), 2);
    EXPECT_EQ(changes, 1);
    // A change of a row's name shows at once.
    groups->edit();
    groups->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Ключи и замки"));
    groups->post();
    EXPECT_EQ(tree->nodeOfId(2)->text(0), QStringLiteral("Ключи и замки"));
    EXPECT_EQ(selected(), 2);
}

TEST_F(TreeViewTest, InsertThroughTheEditForm) {
    groups->open();
    groups->locate(QStringLiteral("ID"), 1);
    struct Case { const char* name; bool accept; int parent; const char* shape; };
    const Case cases[] = {
        {"Набойки", true, -1, "Товары(Обувь(Каблуки Набойки) Ключи)"},
        {"Отменённая", false, -1, "Товары(Обувь(Каблуки Набойки) Ключи)"},
        // The form moves the new group under another parent: the node goes there.
        {"Заготовки", true, 2, "Товары(Обувь(Каблуки Набойки) Ключи(Заготовки))"},
    };
    int nextId = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        tree->setCurrentItem(tree->nodeOfId(1));
        ModalScript script;
        script.onDialog(QStringLiteral("frmTestGroup"), [&](QDialog* d) {
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Новая группа"));
            EXPECT_EQ(groups->fieldByName(QStringLiteral("PARENT_ID")).asInteger(), 1);
            EXPECT_EQ(groups->fieldByName(QStringLiteral("LEVELI")).asInteger(), 2);
            groups->fieldByName(QStringLiteral("NAME")).setAsString(QString::fromUtf8(c.name));
            if (c.parent >= 0) groups->fieldByName(QStringLiteral("PARENT_ID")).setAsInteger(c.parent);
            if (c.accept) d->accept();
            else d->reject();
        });
        QTreeWidgetItem* node = tree->InsertNode(tree->currentItem(), nextId);
        EXPECT_EQ(node != nullptr, c.accept);
        if (node) { EXPECT_EQ(selected(), nextId); }
        EXPECT_EQ(shape(), QString::fromUtf8(c.shape));
        EXPECT_FALSE(groups->isEditing());
        ++nextId;
    }
    EXPECT_FALSE(groups->locate(QStringLiteral("NAME"), QStringLiteral("Отменённая")));
}

TEST_F(TreeViewTest, EditAndDeleteOfABranch) {
    groups->open();
    groups->locate(QStringLiteral("ID"), 2);
    ModalScript script;
    script.onDialog(QStringLiteral("frmTestGroup"), [&](QDialog* d) {
        EXPECT_EQ(d->windowTitle(), QStringLiteral("Редактирование группы"));
        groups->fieldByName(QStringLiteral("NAME")).setAsString(QStringLiteral("Замки"));
        d->accept();
    });
    script.rejectDialog(QStringLiteral("frmTestGroup"));
    EXPECT_TRUE(tree->EditCurrentNode());
    EXPECT_EQ(groups->fieldByName(QStringLiteral("NAME")).asString(), QStringLiteral("Замки"));
    EXPECT_FALSE(tree->EditCurrentNode());
    EXPECT_FALSE(groups->isEditing());

    // Deleting "Обувь" takes "Каблуки" with it, child first.
    groups->setOnReconcileError(nullptr);
    std::vector<int> deleted;
    groups->setBeforeDelete([&](TClientDataSet& ds) { deleted.push_back(currentId(ds)); });
    tree->DeleteNode(tree->nodeOfId(1));
    EXPECT_EQ(deleted, (std::vector<int>{3, 1}));
    // The name shows once the owner re-reads the groups; the edit leaves the node as it was.
    EXPECT_EQ(shape(), QStringLiteral("Товары(Ключи)"));
    EXPECT_FALSE(groups->locate(QStringLiteral("ID"), 3));
    // A node that may not go stays.
    tree->OnDeletingNode = [](bool& allow) { allow = false; };
    tree->DeleteNode(tree->nodeOfId(2));
    EXPECT_NE(tree->nodeOfId(2), nullptr);
}

TEST_F(TreeViewTest, UnusableBindingIsWarnedAndLeavesTheTreeUnbuilt) {
    struct Case { const char* id; const char* parent; const char* display; const char* warning; };
    const Case cases[] = {
        {"NAME", "PARENT_ID", "NAME", ": IDField not defined or of incorrect type"},
        {"ID", "NOPE", "NAME", ": ParentIDField not defined or of incorrect type"},
        {"ID", "PARENT_ID", "NOPE", ": DisplayField not defined"},
        {"ID", "id", "NAME", ": IDField and ParendIDField cann't refer to the same field!"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        TDBTreeView view;
        ModalScript script;
        view.setDataSource(groups.get());
        view.setRootID(-1);
        view.setIDField(QString::fromLatin1(c.id));
        view.setParentIDField(QString::fromLatin1(c.parent));
        view.setDisplayField(QString::fromLatin1(c.display));
        groups->open();
        ASSERT_FALSE(script.messages().isEmpty());
        EXPECT_EQ(script.messages().last().text, QString::fromLatin1(c.warning));
        EXPECT_EQ(view.topLevelItemCount(), 0);
        groups->close();
    }
    // The setter refuses an ID field equal to the parent field at once and keeps the old name.
    groups->open();
    ModalScript script;
    tree->setIDField(QStringLiteral("PARENT_ID"));
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().at(0).text, QStringLiteral(": IDField and ParendIDField cann't refer to the same field!"));
    EXPECT_EQ(tree->idField(), QStringLiteral("ID"));
    tree->setIDField(QStringLiteral("NAME"));
    EXPECT_EQ(script.messages().last().text, QStringLiteral(": Incorrect field type"));
    EXPECT_EQ(tree->idField(), QStringLiteral("ID"));
}
