// Record dialogs with more than fields: a service with its accompanying goods
// (stored after the service with its final ID, in one transaction; the same
// goods refused twice), the goods' required fields, the operator's role
// presets and greyed rights.
#include "BooksFixture.h"

#include <QCheckBox>
#include <QRadioButton>

using namespace bookstest;

namespace {

class RecordsTest : public BooksTest {
protected:
    void SetUp() override {
        BooksTest::SetUp();
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM, CENA) VALUES (1, 0, 'N1', 'Набойка', 'пара', 12.5)"));
        exec(QStringLiteral("INSERT INTO TOVAR (ID, GR_ID, ARTIKUL, NAME, EDIZM) VALUES (2, 0, 'K1', 'Клей', 'мл')"));
        exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (7, 0, 'Замена набоек', 300)"));
        exec(QStringLiteral("INSERT INTO USLTOV (USLUGA_ID, TOVAR_ID, KOLVO, CENA) VALUES (7, 2, 5, 1)"));
        DM().closeLookups();
        DM().openLookups();
    }
    // Adds a line on the goods page; `check` looks at the line dialog before OK.
    void addLine(QDialog* service, ModalScript& script, int tovarId, const char* kolvo,
                 const std::function<void(QDialog*)>& check = {}) {
        script.onDialog(QStringLiteral("frmNewUslTov"), [=](QDialog* d) {
            auto* u = static_cast<TfrmNewUsluga*>(service);
            u->cdsBookUsltov->fieldByName(QStringLiteral("TOVAR_ID")).setAsInteger(tovarId);
            type(child<QLineEdit>(d, "edKolvo"), QString::fromLatin1(kolvo));
            if (check) check(d);
            click(d, "btnOk");
            if (d->isVisible()) click(d, "btnCancel");
        });
        click(service, "btnAdd");
    }
    QString lines(int service) {
        fb::Transaction tra(DM().connection());
        fb::Statement s(tra, QStringLiteral("SELECT TOVAR_ID, KOLVO, CENA FROM USLTOV WHERE USLUGA_ID = ? ORDER BY TOVAR_ID"));
        s.set(0, service);
        s.execute();
        QStringList out;
        while (s.fetch()) out << s.value(0).toString() + "x" + s.value(1).toString() + "@" + s.value(2).toString();
        tra.commit();
        return out.join(' ');
    }
};

}  // namespace

TEST_F(RecordsTest, ServiceLinesAreStoredWithTheServicesFinalId) {
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookUsluga"));
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewUsluga"), [&](QDialog* d) {
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Набойки с клеем"));
        type(child<QLineEdit>(d, "edSumma"), QStringLiteral("450"));
        addLine(d, script, 1, "2", [](QDialog* line) {
            // Picking goods brings their price and unit.
            EXPECT_EQ(child<QLineEdit>(line, "edCena")->text(), QStringLiteral("12,50"));
            EXPECT_EQ(child<QLineEdit>(line, "edEdizm")->text(), QStringLiteral("пара"));
        });
        addLine(d, script, 2, "0,5", [](QDialog* line) { type(child<QLineEdit>(line, "edCena"), QStringLiteral("3")); });
        // The same goods a second time are refused before the database sees them.
        addLine(d, script, 1, "1");
        EXPECT_EQ(static_cast<TfrmNewUsluga*>(d)->cdsBookUsltov->recordCount(), 2);
        // The code is changed after the lines were added: they follow it.
        type(child<QLineEdit>(d, "edID"), QStringLiteral("50"));
        click(d, "btnOk");
    });
    script.answerOk();
    action(b, "acAppend")->trigger();
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages().at(0).text.startsWith(QStringLiteral("Этот товар уже есть")));
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM USLUGA WHERE ID = 50")).toString(), QStringLiteral("Набойки с клеем"));
    EXPECT_EQ(lines(50), QStringLiteral("1x2@12.5 2x0.5@3"));
    EXPECT_EQ(lines(8), QString());  // nothing under the proposed ID
    b->reject();
}

TEST_F(RecordsTest, RefusedServiceStoresNoLinesAndCancelKeepsThemOut) {
    auto* b = open<TfrmBookTT>(QStringLiteral("frmBookUsluga"));
    ModalScript script;
    bool stayed = false;
    script.onDialog(QStringLiteral("frmNewUsluga"), [&](QDialog* d) {
        type(child<QLineEdit>(d, "edName"), QStringLiteral("Дубль"));
        type(child<QLineEdit>(d, "edSumma"), QStringLiteral("10"));
        addLine(d, script, 1, "1");
        type(child<QLineEdit>(d, "edID"), QStringLiteral("7"));  // the code of another service
        click(d, "btnOk");
        stayed = d->isVisible() && child<QLineEdit>(d, "edName")->text() == QStringLiteral("Дубль");
        click(d, "btnCancel");
    });
    script.acceptDialog(QStringLiteral("frmErrorDB"));
    action(b, "acAppend")->trigger();
    EXPECT_TRUE(stayed);
    EXPECT_TRUE(script.dialogsShown().contains(QStringLiteral("frmErrorDB")));
    EXPECT_EQ(lines(7), QStringLiteral("2x5@1"));  // the other service's goods untouched
    EXPECT_EQ(scalar(QStringLiteral("SELECT NAME FROM USLUGA WHERE ID = 7")).toString(), QStringLiteral("Замена набоек"));

    // Editing the service: lines added then cancelled never reach the database; a deleted line goes.
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 7));
    ModalScript edit;
    edit.onDialog(QStringLiteral("frmNewUsluga"), [&](QDialog* d) {
        EXPECT_EQ(static_cast<TfrmNewUsluga*>(d)->cdsBookUsltov->recordCount(), 1);
        addLine(d, edit, 1, "3");
        click(d, "btnCancel");
    });
    action(b, "acEdit")->trigger();
    EXPECT_EQ(lines(7), QStringLiteral("2x5@1"));
    ModalScript del;
    del.onDialog(QStringLiteral("frmNewUsluga"), [&](QDialog* d) {
        click(d, "btnDelete");
        click(d, "btnOk");
    });
    action(b, "acEdit")->trigger();
    EXPECT_EQ(lines(7), QString());
    b->reject();
}

TEST_F(RecordsTest, GoodsAndServiceRequiredFields) {
    struct Case { const char* book; const char* dialog; QList<QPair<const char*, const char*>> typed; const char* message; };
    const Case cases[] = {
        {"frmBookTovar", "frmNewTovar", {{"edName", "Щётка"}},
         "Заполните поля:\n\r\n\rАртикул\n\rЕдиница измерения\n\r"},
        {"frmBookUsluga", "frmNewUsluga", {{"edName", "Чистка"}}, "Заполните поля:\r\rСтоимость\r"},
        {"frmBookUsluga", "frmNewUsluga", {{"edSumma", "5"}}, "Заполните поля:\r\rНаименование\r"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.message);
        auto* b = open<TfrmBookTT>(QString::fromLatin1(c.book));
        ModalScript script;
        script.onDialog(QString::fromLatin1(c.dialog), [&](QDialog* d) {
            for (const auto& [edit, text] : c.typed) type(child<QLineEdit>(d, edit), QString::fromUtf8(text));
            click(d, "btnOk");
            EXPECT_TRUE(d->isVisible());
            click(d, "btnCancel");
        });
        script.answerOk();
        action(b, "acAppend")->trigger();
        ASSERT_EQ(script.messages().size(), 1);
        EXPECT_EQ(script.messages().at(0).text, QString::fromUtf8(c.message));
        b->reject();
    }
}

TEST_F(RecordsTest, OperatorRolePresetsAndGreyedRights) {
    exec(QStringLiteral("INSERT INTO PRIEMSCHIK (ID, FIO, PASSWD, ROLE_ID, ZAK_VIEW, ZAK_INSERT, ZAK_EDIT, ZAK_DELETE, "
                        "SKL_VIEW, SKL_INSERT, SKL_EDIT, SKL_DELETE, DOSTUP_BOOK, DOSTUP_BOOKUSER) "
                        "VALUES (5, 'Кассир', '1', 1, 'T', 'T', 'T', 'F', 'T', 'T', 'F', 'F', 'T', 'F')"));
    const auto states = [](QDialog* d) {
        QString s;
        for (QCheckBox* box : static_cast<TfrmNewOperator*>(d)->rights)
            s += box->checkState() == Qt::Checked ? 'T' : box->checkState() == Qt::Unchecked ? 'F' : '?';
        return s;
    };
    auto* b = open<TfrmBookSimple>(QStringLiteral("frmBookOperator"));
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewOperator"), [&](QDialog* d) {
        EXPECT_FALSE(child<QRadioButton>(d, "rbRole1")->isChecked());
        EXPECT_FALSE(child<QRadioButton>(d, "rbRole2")->isChecked());
        EXPECT_EQ(states(d), QStringLiteral("??????????"));
        child<QRadioButton>(d, "rbRole2")->click();
        EXPECT_EQ(states(d), QStringLiteral("TTTTTTTTTT"));
        child<QRadioButton>(d, "rbRole1")->click();
        EXPECT_EQ(states(d), QStringLiteral("TTFFTTFFTF"));
        child<QCheckBox>(d, "DBCheckBox3")->click();  // orders: edit
        EXPECT_EQ(states(d), QStringLiteral("TTTFTTFFTF"));
        type(child<QLineEdit>(d, "edFio"), QStringLiteral("Новый приёмщик"));
        click(d, "btnOk");
    });
    action(b, "acAppend")->trigger();
    EXPECT_EQ(scalar(QStringLiteral("SELECT ROLE_ID FROM PRIEMSCHIK WHERE ID = 6")).toInt(), 1);
    EXPECT_EQ(scalar(QStringLiteral("SELECT ZAK_VIEW || ZAK_INSERT || ZAK_EDIT || ZAK_DELETE || SKL_VIEW || SKL_INSERT "
                                    "|| SKL_EDIT || SKL_DELETE || DOSTUP_BOOK || DOSTUP_BOOKUSER FROM PRIEMSCHIK WHERE ID = 6"))
                  .toString(),
              QStringLiteral("TTTFTTFFTF"));

    // An existing clerk shows his own rights, not the preset; the role number alone changes no right.
    ASSERT_TRUE(b->cdsBook->locate(QStringLiteral("ID"), 5));
    ModalScript edit;
    edit.onDialog(QStringLiteral("frmNewOperator"), [&](QDialog* d) {
        EXPECT_TRUE(child<QRadioButton>(d, "rbRole1")->isChecked());
        EXPECT_EQ(states(d), QStringLiteral("TTTFTTFFTF"));
        type(child<QLineEdit>(d, "DBEdit1"), QStringLiteral("2"));
        click(d, "btnOk");
    });
    action(b, "acEdit")->trigger();
    EXPECT_EQ(scalar(QStringLiteral("SELECT ROLE_ID FROM PRIEMSCHIK WHERE ID = 5")).toInt(), 2);
    EXPECT_EQ(scalar(QStringLiteral("SELECT ZAK_EDIT || ZAK_DELETE FROM PRIEMSCHIK WHERE ID = 5")).toString(),
              QStringLiteral("TF"));
    b->reject();
}
