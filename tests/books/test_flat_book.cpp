// The generic flat book, through its five instances: append with the proposed
// ID, the required fields, copy, delete with its question and a refused
// delete, a refused save that keeps the user's record, sorting, quick find,
// choose-and-return and the shared list re-read on closing.
#include "BooksFixture.h"

#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace bookstest;

namespace {
struct FlatCase { const char* book; const char* dialog; const char* table; };
const FlatCase kNamedBooks[] = {
    {"frmBookColor", "frmNewColor", "COLOR"},
    {"frmBookMaterial", "frmNewMaterial", "MATERIAL"},
    {"frmBookComment", "frmNewComment", "COMMENT"},
    {"frmBookZakazch", "frmNewZakazch", "ZAKAZCH"},
};
QString L(const char* s) { return QString::fromLatin1(s); }
}  // namespace

TEST_F(BooksTest, AppendProposesTheNextIdAndStoresTheRecord) {
    for (const FlatCase& c : kNamedBooks) {
        SCOPED_TRACE(c.book);
        exec(QStringLiteral("INSERT INTO %1 (ID, NAME) VALUES (41, 'Сорок первый')").arg(L(c.table)));
        auto* b = open<TfrmBookSimple>(L(c.book));
        b->miSortClick(1);  // the order does not matter for the new ID
        ModalScript script;
        QString proposed;
        script.onDialog(L(c.dialog), [&](QDialog* d) {
            proposed = child<QLineEdit>(d, "edID")->text();
            EXPECT_EQ(d->windowTitle(), QStringLiteral("Новая запись"));
            type(child<QLineEdit>(d, "edName"), QStringLiteral("Новая запись книги"));
            click(d, "btnOk");
        });
        action(b, "acAppend")->trigger();
        EXPECT_EQ(proposed, QStringLiteral("42"));
        EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM %1 WHERE ID = 42").arg(L(c.table))).toString(),
                  QStringLiteral("Новая запись книги"));
        EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: %1").arg(count(L(c.table))));
        EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join(',').toStdString();
        b->miSortClick(0);
        b->reject();
    }
}

TEST_F(BooksTest, EmptyBookOffersOnlyAppendAndReturnsNothing) {
    exec(QStringLiteral("DELETE FROM COMMENT"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookComment"));
    EXPECT_FALSE(action(b, "acEdit")->isEnabled());
    EXPECT_FALSE(action(b, "acDelete")->isEnabled());
    EXPECT_FALSE(action(b, "acAppendCopy")->isEnabled());
    EXPECT_TRUE(action(b, "acAppend")->isEnabled());
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: 0"));
    // "Вставить в поле" on an empty book hands nothing back.
    b->SelectedID = -5;
    action(b, "acEnter")->setVisible(true);
    action(b, "acEnter")->trigger();
    EXPECT_TRUE(b->isVisible());
    EXPECT_EQ(b->SelectedID, -5);
    // A cancelled append leaves nothing behind.
    ModalScript script;
    QString proposed;
    script.onDialog(QStringLiteral("frmNewComment"), [&](QDialog* d) {
        proposed = child<QLineEdit>(d, "edID")->text();
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Отменённая"));
        click(d, "btnCancel");
    });
    action(b, "acAppend")->trigger();
    EXPECT_EQ(proposed, QStringLiteral("1"));
    EXPECT_EQ(b->cdsBook->recordCount(), 0);
    EXPECT_EQ(count(QStringLiteral("COMMENT")), 0);
    b->reject();
}

TEST_F(BooksTest, MissingRequiredFieldsKeepTheDialogOpen) {
    struct Case { const char* book; const char* dialog; const char* nameEdit; const char* id; const char* name;
                  const char* message; };
    const Case cases[] = {
        {"frmBookColor", "frmNewColor", "edName", "", "", "Заполните поля:\r\rКод\rНаименование\r"},
        {"frmBookColor", "frmNewColor", "edName", "50", "   ", "Заполните поля:\r\rНаименование\r"},
        {"frmBookComment", "frmNewComment", "edName", "50", "", "Заполните поля:\r\rТекст\r"},
        {"frmBookZakazch", "frmNewZakazch", "edName", "50", "", "Заполните поля:\r\rНаименование\r"},
        {"frmBookOperator", "frmNewOperator", "edFio", "50", "", "Заполните поля:\r\rФИО\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        auto* b = open<TfrmBookSimple>(L(c.book));
        const int rows = b->cdsBook->recordCount();
        ModalScript script;
        bool stayed = false;
        script.onDialog(L(c.dialog), [&](QDialog* d) {
            type(child<QLineEdit>(d, "edID"), QString::fromUtf8(c.id));
            type(child<QLineEdit>(d, c.nameEdit), QString::fromUtf8(c.name));
            click(d, "btnOk");
            stayed = d->isVisible();
            click(d, "btnCancel");
        });
        script.answerOk();
        action(b, "acAppend")->trigger();
        EXPECT_TRUE(stayed);
        ASSERT_EQ(script.messages().size(), 1);
        EXPECT_EQ(script.messages().at(0).text, QString::fromUtf8(c.message));
        EXPECT_EQ(script.messages().at(0).flags, 48);
        EXPECT_EQ(b->cdsBook->recordCount(), rows);
        EXPECT_FALSE(b->cdsBook->updatesPending());
        b->reject();
    }
}

TEST_F(BooksTest, CopyOfCustomerTakesItsDataWithAFreshId) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, ADRES, PHONE, DTR) VALUES (7, 'Иванов И.И.', 'ул. Мира, 1', "
                        "'555-12-34', '1980-05-17')"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 7));
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewZakazch"), [&](QDialog* d) {
        EXPECT_EQ(child<QLineEdit>(d, "edID")->text(), QStringLiteral("8"));
        EXPECT_EQ(child<QLineEdit>(d, "edName")->text(), QStringLiteral("Иванов И.И."));
        click(d, "btnOk");
    });
    action(b, "acAppendCopy")->trigger();
    fb::Transaction tra(DM().connection());
    fb::Statement s(tra, QStringLiteral("SELECT NAME, ADRES, PHONE, DTR FROM ZAKAZCH WHERE ID = 8"));
    s.execute();
    ASSERT_TRUE(s.fetch());
    EXPECT_EQ(s.value(0).toString(), QStringLiteral("Иванов И.И."));
    EXPECT_EQ(s.value(1).toString(), QStringLiteral("ул. Мира, 1"));
    EXPECT_EQ(s.value(2).toString(), QStringLiteral("555-12-34"));
    EXPECT_EQ(s.value(3).toDate(), QDate(1980, 5, 17));
    tra.commit();
    b->reject();
}

TEST_F(BooksTest, RefusedSaveKeepsTheUsersOwnRecord) {
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    // Editing colour 2 to the code of colour 1: the database refuses it.
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 2));
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewColor"), [&](QDialog* d) {
        type(child<QLineEdit>(d, "edID"), QStringLiteral("1"));
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Тёмно-коричневый"));
        click(d, "btnOk");
        EXPECT_TRUE(d->isVisible());
        // Still the user's record, with what was typed, not the row the cursor fell on.
        EXPECT_EQ(b->cdsBook->state(), TDataSetState::Edit);
        EXPECT_EQ(child<QLineEdit>(d, "edID")->text(), QStringLiteral("1"));
        EXPECT_EQ(child<QLineEdit>(d, "edName")->text(), QStringLiteral("Тёмно-коричневый"));
        type(child<QLineEdit>(d, "edID"), QStringLiteral("2"));
        click(d, "btnOk");
    });
    script.acceptDialog(QStringLiteral("frmErrorDB"));
    action(b, "acEdit")->trigger();
    EXPECT_EQ(script.dialogsShown(), (QStringList{QStringLiteral("frmNewColor"), QStringLiteral("frmErrorDB")}));
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM COLOR WHERE ID = 2")).toString(), QStringLiteral("Тёмно-коричневый"));
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM COLOR WHERE ID = 1")).toString(), QStringLiteral("Черный"));

    // A new record with a code already taken: refused, the dialog keeps it; cancel stores nothing.
    const qint64 before = count(QStringLiteral("COLOR"));
    ModalScript second;
    bool stayed = false;
    second.onDialog(QStringLiteral("frmNewColor"), [&](QDialog* d) {
        type(child<QLineEdit>(d, "edID"), QStringLiteral("3"));
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Дубль"));
        click(d, "btnOk");
        stayed = d->isVisible() && b->cdsBook->state() == TDataSetState::Insert &&
                 child<QLineEdit>(d, "edName")->text() == QStringLiteral("Дубль");
        click(d, "btnCancel");
    });
    second.acceptDialog(QStringLiteral("frmErrorDB"));
    action(b, "acAppend")->trigger();
    EXPECT_TRUE(stayed);
    EXPECT_EQ(count(QStringLiteral("COLOR")), before);
    EXPECT_EQ(b->cdsBook->recordCount(), before);
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM COLOR WHERE ID = 3")).toString(), QStringLiteral("Белый"));
    b->reject();
}

TEST_F(BooksTest, SortOrderAndQuickFindOnTextAndNumbers) {
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, PHONE, DTR) VALUES (2, 'Сидоров', '300', '1990-01-01')"));
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, PHONE, DTR) VALUES (3, 'Антонов', '100', '1970-01-01')"));
    exec(QStringLiteral("INSERT INTO ZAKAZCH (ID, NAME, PHONE, DTR) VALUES (5, 'Петров', '200', '1985-01-01')"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    for (int i = 0; i < 4; ++i) EXPECT_FALSE(b->miSort[size_t(i)]->text().isEmpty());
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 5));
    b->miSort[3]->trigger();
    EXPECT_TRUE(b->cdsBook->query().sql().endsWith(QStringLiteral("ORDER BY DTR")));
    EXPECT_EQ(currentId(*b->cdsBook), 5);
    EXPECT_EQ(ids(*b->cdsBook), (QList<int>{1, 3, 5, 2}));  // no birth date first
    b->reject();
    b = open<TfrmBookSimple>(QStringLiteral("frmBookZakazch"));
    EXPECT_EQ(ids(*b->cdsBook), (QList<int>{1, 3, 5, 2}));  // the order survives closing

    // Quick find opens on the field of the current order; choosing "ФИО" re-sorts at once.
    action(b, "acFastFind")->trigger();
    ASSERT_TRUE(b->FrameFastFind->isVisible());
    EXPECT_TRUE(b->FrameFastFind->rbField[3]->isChecked());
    b->FrameFastFind->rbField[1]->click();
    EXPECT_TRUE(b->miSort[1]->isChecked());
    EXPECT_TRUE(b->cdsBook->query().sql().endsWith(QStringLiteral("ORDER BY NAME")));
    QLineEdit* name = b->FrameFastFind->edField[1];
    name->setText(QStringLiteral("П"));
    QTest::keyClick(name, Qt::Key_Return);
    EXPECT_EQ(currentId(*b->cdsBook), 5);  // Петров: the first name at or after "П"
    EXPECT_TRUE(b->isVisible());

    struct NumberCase { const char* text; int id; };
    b->FrameFastFind->rbField[0]->click();
    for (const NumberCase& c : {NumberCase{"3", 3}, NumberCase{"4", 5}, NumberCase{"1", 1}}) {
        b->FrameFastFind->edField[0]->setText(QString::fromLatin1(c.text));
        QTest::keyClick(b->FrameFastFind->edField[0], Qt::Key_Return);
        EXPECT_EQ(currentId(*b->cdsBook), c.id) << c.text;
    }
    // A book with two sort items shows two search fields.
    action(b, "acFastFind")->trigger();
    b->miSortClick(0);
    b->reject();
    auto* colors = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    action(colors, "acFastFind")->trigger();
    EXPECT_TRUE(colors->FrameFastFind->rbField[1]->isVisibleTo(colors));
    EXPECT_FALSE(colors->FrameFastFind->rbField[2]->isVisibleTo(colors));
    EXPECT_FALSE(colors->miSort[2]->isVisible());
    action(colors, "acFastFind")->trigger();
    colors->reject();
}

TEST_F(BooksTest, ChooseReturnsTheCurrentIdAndClosingReReadsTheSharedList) {
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    action(b, "acEnter")->setVisible(true);
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 3));
    action(b, "acEnter")->trigger();
    EXPECT_EQ(b->result(), QDialog::Accepted);
    EXPECT_EQ(b->SelectedID, 3);
    EXPECT_FALSE(action(b, "acEnter")->isVisible());  // the next opening is maintenance

    b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewColor"), [&](QDialog* d) {
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Лазурный"));
        click(d, "btnOk");
    });
    action(b, "acAppend")->trigger();
    EXPECT_FALSE(DM().cdsColorLU->locate(QStringLiteral("NAME"), QStringLiteral("Лазурный")));
    b->reject();
    EXPECT_TRUE(DM().cdsColorLU->locate(QStringLiteral("NAME"), QStringLiteral("Лазурный")));
}

TEST_F(BooksTest, DeleteKeyDeletesFromTheGridButNotWhileTyping) {
    exec(QStringLiteral("INSERT INTO COLOR (ID, NAME) VALUES (77, 'Лишний')"));
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    b->activateWindow();
    QApplication::setActiveWindow(b);
    action(b, "acFastFind")->trigger();
    ModalScript script;
    QLineEdit* find = b->FrameFastFind->edField[1];
    find->setFocus();
    QTest::keyClick(find, Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_TRUE(script.messages().isEmpty());
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 77));
    b->DBG->setFocus();
    script.answerYes();
    QTest::keyClick(b->DBG, Qt::Key_Delete, Qt::ControlModifier);
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().at(0).text, QStringLiteral("Удалить запись из справочника?"));
    EXPECT_EQ(script.messages().at(0).caption, VendorTitle());
    EXPECT_EQ(count(QStringLiteral("COLOR WHERE ID = 77")), 0);
    action(b, "acFastFind")->trigger();
    b->reject();
}

TEST_F(DemoBooksTest, RefusedDeleteOfAColourInUseIsExplainedAndTheRowComesBack) {
    const int used = int(scalar(QStringLiteral("SELECT FIRST 1 COLOR_ID FROM PMOVES WHERE COLOR_ID IS NOT NULL")).toInt());
    ASSERT_GT(used, 0);
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookColor"));
    const int rows = b->cdsBook->recordCount();
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), used));
    ModalScript script;
    script.answerNo();
    action(b, "acDelete")->trigger();
    EXPECT_EQ(b->cdsBook->recordCount(), rows);
    script.answerYes();
    QString explanation;
    script.onDialog(QStringLiteral("frmErrorDB"), [&](QDialog* d) {
        explanation = static_cast<TfrmErrorDB*>(d)->explanationText();
        d->accept();
    });
    action(b, "acDelete")->trigger();
    EXPECT_FALSE(explanation.isEmpty());
    EXPECT_EQ(b->cdsBook->recordCount(), rows);
    EXPECT_EQ(currentId(*b->cdsBook), used);
    EXPECT_EQ(count(QStringLiteral("COLOR WHERE ID = ?"), {used}), 1);
    EXPECT_EQ(status(b), QStringLiteral("Записей в справочнике: %1").arg(rows));
    b->reject();
}
