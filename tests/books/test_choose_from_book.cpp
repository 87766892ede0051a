// The order dialogs' choice through a book: the book opens with "Вставить в
// поле", hands back the chosen ID, and opens in maintenance mode afterwards;
// the service line's kind reaches the services book.
#include "BooksFixture.h"

#include "orders/ui/BookChooser.h"

using namespace bookstest;

TEST_F(BooksTest, OrderDialogsChooseThroughTheBooks) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME) VALUES (12, 'Кузнецов')"));
    exec(QStringLiteral("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (1, 0, 'Ключи', 1, 2)"));
    exec(QStringLiteral("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (2, 0, 'Набойки', 1, 1)"));
    exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (30, 1, 'Ключ английский', 150)"));
    DM().closeLookups();
    DM().openLookups();

    ModalScript script;
    bool enterShown = false;
    script.onDialog(QStringLiteral("frmBookZakazch"), [&](QDialog* d) {
        auto* b = static_cast<TfrmBookSimple*>(d);
        enterShown = action(b, "acEnter")->isVisible();
        b->cdsBook->locate(QStringLiteral("ID"), 12);
        action(b, "acEnter")->trigger();
    });
    EXPECT_EQ(ChooseFromBook(QStringLiteral("frmBookZakazch"), *DM().cdsZakazchLU, QStringLiteral("NAME")), 12);
    EXPECT_TRUE(enterShown);
    EXPECT_FALSE(action(book(QStringLiteral("frmBookZakazch")), "acEnter")->isVisible());

    // Closed without choosing: nothing.
    script.rejectDialog(QStringLiteral("frmBookZakazch"));
    EXPECT_EQ(ChooseFromBook(QStringLiteral("frmBookZakazch"), *DM().cdsZakazchLU, QStringLiteral("NAME")), std::nullopt);

    // A key order's service line sees the key groups only.
    QStringList groups;
    script.onDialog(QStringLiteral("frmBookUsluga"), [&](QDialog* d) {
        auto* b = static_cast<TfrmBookTT*>(d);
        QTreeWidgetItem* root = b->DBTV->topLevelItem(0);
        for (int i = 0; i < root->childCount(); ++i) groups << root->child(i)->text(0);
        b->DBTV->setCurrentItem(b->DBTV->nodeOfId(1));
        action(b, "acEnter")->trigger();
    });
    EXPECT_EQ(ChooseFromBook(QStringLiteral("frmBookUsluga"), *DM().cdsUslugaLU, QStringLiteral("NAME"), 2), 30);
    EXPECT_EQ(groups, QStringList{QStringLiteral("Ключи")});
    EXPECT_EQ(book<TfrmBookTT>(QStringLiteral("frmBookUsluga"))->KindFilter, 0);
}
