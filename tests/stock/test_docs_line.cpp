// The stock line dialog: picking goods by article, bar code and name, the
// prices it brings, the stock on hand, a scanner's Enter and the checks of OK.
#include "test_docs_fixture.h"
#include "data/DataSetRoutines.h"

#include <QApplication>

using namespace docstest;

namespace {

// What the dialog showed when a test looked.
struct Seen {
    QString artikul, ean13, name, nalich, tovarId, cena, cenaRealiz;
    bool nalichShown = false;
    QWidget* focus = nullptr;
};

Seen look(TfrmTovar* t, TClientDataSet& moves) {
    Seen s;
    s.artikul = t->cbArtikul->currentText();
    s.ean13 = t->cbEan13->currentText();
    s.name = t->cbTov->currentText();
    s.nalich = t->edNalichKol->text();
    s.nalichShown = t->edNalichKol->isVisibleTo(t);
    s.tovarId = moves.fieldByName(QStringLiteral("TOVAR_ID")).asString();
    s.cena = moves.fieldByName(QStringLiteral("CENA")).asString();
    s.cenaRealiz = moves.fieldByName(QStringLiteral("CENA_REALIZ")).asString();
    s.focus = QApplication::focusWidget();
    return s;
}

}  // namespace

// Runs the line dialog of a new line on a new document of `kind` with `act`
// and returns what it showed afterwards; the dialog is then cancelled.
#define RUN_LINE_DIALOG(kind, act)                                                     \
    [&] {                                                                              \
        newDoc(kind);                                                                  \
        Seen seen;                                                                     \
        ModalScript script;                                                            \
        script.onDialog(QStringLiteral("frmDocs"), [&](QDialog*) {                     \
            ModalScript inner;                                                         \
            inner.onDialog(QStringLiteral("frmTovar"), [&](QDialog* d) {               \
                auto* t = static_cast<TfrmTovar*>(d);                                  \
                act(t);                                                                \
                seen = look(t, *editor->cdsMoves);                                     \
                t->btnCancel->click();                                                 \
            });                                                                        \
            editor->acMovesAppend->trigger();                                          \
            editor->btnCancel->click();                                                \
        });                                                                            \
        openEditor(true);                                                              \
        return seen;                                                                   \
    }()

TEST_F(DocsTest, GoodsArePickedByArticleBarCodeOrNameAndBringTheirPrices) {
    struct Row {
        const char* name;
        int box;  // 0 article, 1 bar code, 2 name
        const char* typed;
        const char* artikul;
        const char* ean13;
        const char* goods;
        const char* tovarId;
        const char* cena;
        const char* cenaRealiz;
    };
    const Row rows[] = {
        {"name in lower case completes", 2, "abc", "A-1", "4600000000017", "ABC", "1", "10", "15"},
        {"article prefix completes", 0, "n", "N-5", "", "Набойки", "4", "35,5", "0"},
        {"bar code", 1, "4600000000024", "", "4600000000024", "Клей", "3", "120", "180"},
        {"goods without article keeps its own item", 2, "Гв", "", "", "Гвозди", "2", "0,99", "1,5"},
        {"nothing matches", 2, "Шнурки", "", "", "Шнурки", "", "", ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        const Seen s = RUN_LINE_DIALOG(103, [&](TfrmTovar* t) {
            QComboBox* box = r.box == 0 ? t->cbArtikul : r.box == 1 ? t->cbEan13 : t->cbTov;
            typeInto(box, QString::fromUtf8(r.typed));
        });
        EXPECT_EQ(s.artikul, QString::fromUtf8(r.artikul));
        EXPECT_EQ(s.ean13, QString::fromUtf8(r.ean13));
        EXPECT_EQ(s.name, QString::fromUtf8(r.goods));
        EXPECT_EQ(s.tovarId, QString::fromUtf8(r.tovarId));
        EXPECT_EQ(s.cena, QString::fromUtf8(r.cena));
        EXPECT_EQ(s.cenaRealiz, QString::fromUtf8(r.cenaRealiz));
    }
}

// Picking by name puts the goods' own item into the article box, even when
// several goods have an empty article: the item is known by its ID.
TEST_F(DocsTest, EmptyArticlesSelectTheItemOfTheGoodsPicked) {
    int artikulId = -1;
    RUN_LINE_DIALOG(101, [&](TfrmTovar* t) {
        typeInto(t->cbTov, QStringLiteral("Клей"));
        artikulId = t->cbArtikul->currentData().toInt();
    });
    EXPECT_EQ(artikulId, 3);
}

// A scanner types the EAN-13 and Enter: the goods is picked and the cursor
// goes on to the quantity; the dialog stays open.
TEST_F(DocsTest, ScannerEnterPicksTheGoodsAndMovesToQuantity) {
    bool open = false;
    const Seen s = RUN_LINE_DIALOG(102, [&](TfrmTovar* t) {
        QApplication::setActiveWindow(t);
        t->cbEan13->setFocus();
        typeKeys(t->cbEan13->lineEdit(), QStringLiteral("4600000000017"));
        QTest::keyClick(t->cbEan13->lineEdit(), Qt::Key_Return);
        open = t->isVisible() && t->result() == 0;
    });
    EXPECT_TRUE(open);
    EXPECT_EQ(s.tovarId, QStringLiteral("1"));
    EXPECT_EQ(s.name, QStringLiteral("ABC"));
    EXPECT_EQ(s.focus, tovarDialog->edKolvo);
}

// The stock on hand of the current period: receipts add, write-offs and sales
// take away; a goods without stock shows nothing; a receipt shows no field.
TEST_F(DocsTest, StockOnHandFollowsTheDocumentsOfThePeriod) {
    storedDoc(101, {{1, "10", "10"}, {4, "2", "35.50"}});
    storedDoc(102, {{1, "3", "10"}});
    storedDoc(103, {{1, "1.5", "10"}, {4, "2", "35.50"}});
    struct Row {
        int kind;
        const char* goods;
        bool shown;
        const char* nalich;
    };
    const Row rows[] = {
        {102, "ABC", true, "5,5"},
        {103, "ABC", true, "5,5"},
        {108, "ABC", true, "5,5"},
        {102, "Набойки", true, ""},  // all sold: not in the stock list
        {102, "Клей", true, ""},
        {101, "ABC", false, ""},
        {107, "ABC", false, ""},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(std::to_string(r.kind) + " " + r.goods);
        const Seen s = RUN_LINE_DIALOG(r.kind, [&](TfrmTovar* t) { typeInto(t->cbTov, QString::fromUtf8(r.goods)); });
        EXPECT_EQ(s.nalichShown, r.shown);
        EXPECT_EQ(s.nalich, QString::fromUtf8(r.nalich));
    }
}

TEST_F(DocsTest, OkNamesEveryMissingValueAndKeepsTheDialogOpen) {
    struct Row {
        const char* name;
        const char* goods;
        const char* kolvo;
        QString message;
    };
    const Row rows[] = {
        {"nothing", "Шнурки", nullptr, QStringLiteral("Заполните поля:\r\rTOVAR_ID\rКол-во\rЦена\r")},
        {"no quantity", "ABC", nullptr, QStringLiteral("Заполните поля:\r\rКол-во\r")},
    };
    for (const Row& r : rows) {
        SCOPED_TRACE(r.name);
        QStringList messages;
        bool open = false;
        RUN_LINE_DIALOG(101, [&](TfrmTovar* t) {
            ModalScript box;
            typeInto(t->cbTov, QString::fromUtf8(r.goods));
            if (r.kolvo) setText(t->edKolvo, r.kolvo);
            t->btnOk->click();
            messages = box.messageTexts();
            open = t->isVisible();
        });
        EXPECT_EQ(messages, QStringList{r.message});
        EXPECT_TRUE(open);
    }
}

// The boxes keep their lists between showings only while the goods book is
// unchanged: goods added in the book since are offered at the next showing.
TEST_F(DocsTest, GoodsAddedToTheBookAreOfferedAtTheNextShowing) {
    RUN_LINE_DIALOG(101, [](TfrmTovar*) {});
    exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, CENA) VALUES (5, 0, 'Z-9', 'Шнурки', 7)"));
    Reopen(*DM().cdsTovarLU);
    const Seen s = RUN_LINE_DIALOG(101, [](TfrmTovar* t) { typeInto(t->cbArtikul, QStringLiteral("z")); });
    EXPECT_EQ(s.tovarId, QStringLiteral("5"));
    EXPECT_EQ(s.name, QStringLiteral("Шнурки"));
}
