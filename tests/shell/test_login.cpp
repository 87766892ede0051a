// The operator login: the exact password check and the rights it copies.
#include "ShellFixture.h"
#include "ui/MessageBoxes.h"
#include "shell/ChooseOperator.h"
#include "session/OperatorLogin.h"

#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace shelltest;

namespace {
class Login : public ShellTest {
protected:
    void SetUp() override {
        ShellTest::SetUp();
        // 1 "Администратор" with an empty password comes with the database.
        prepare({QStringLiteral("INSERT INTO PRIEMSCHIK VALUES (2, 'Иванова', 'Secret', 1, "
                                "'T', 'y', 'F', 'n', 'Y', 't', 'N', 'f', 'T', 'F')"),
                 QStringLiteral("INSERT INTO PRIEMSCHIK VALUES (3, 'Петров', 'пароль', 2, "
                                "'F', 'F', 'F', 'F', 'F', 'F', 'F', 'F', 'F', 'T')")});
        DM().connectDatabase(dbPath);
        DM().cdsPriemschikLU->open();
    }

    // Opens the login window, picks the operator, types the password and
    // presses OK; returns the window's result.
    int login(ModalScript& script, const QString& fio, const QString& password) {
        script.onDialog("frmChooseOperator", [fio, password](QDialog* d) {
            auto* list = child<QListWidget>(d, "ListBox");
            const auto items = list->findItems(fio, Qt::MatchExactly);
            if (!items.isEmpty()) list->setCurrentItem(items.first());
            child<QLineEdit>(d, "edPassword")->setText(password);
            child<QPushButton>(d, "btnOk")->click();
        });
        return execModal(Window<QDialog>("frmChooseOperator"));
    }
};
}  // namespace

TEST_F(Login, WindowListsTheOperatorsAndHidesThePassword) {
    auto* w = Window<TfrmChooseOperator>("frmChooseOperator");
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Оператор"));
    EXPECT_EQ(child<QLineEdit>(w, "edPassword")->echoMode(), QLineEdit::Password);
    ModalScript script;
    script.onDialog("frmChooseOperator", [](QDialog* d) {
        auto* list = child<QListWidget>(d, "ListBox");
        ASSERT_EQ(list->count(), 3);
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("Администратор"));
        EXPECT_EQ(list->item(2)->text(), QStringLiteral("Петров"));
        EXPECT_EQ(list->currentRow(), 0);
        child<QPushButton>(d, "btnCancel")->click();
    });
    EXPECT_EQ(execModal(w), QDialog::Rejected);
    EXPECT_EQ(GL.OperatorID, 0);
}

TEST_F(Login, PasswordIsComparedExactly) {
    struct Case { QString fio; QString typed; bool ok; };
    const Case cases[] = {
        {QStringLiteral("Иванова"), QStringLiteral("secret"), false},    // case matters
        {QStringLiteral("Иванова"), QStringLiteral("Secret "), false},   // nothing trimmed
        {QStringLiteral("Иванова"), QStringLiteral(" Secret"), false},
        {QStringLiteral("Иванова"), QString(), false},
        {QStringLiteral("Петров"), QStringLiteral("Пароль"), false},
        {QStringLiteral("Администратор"), QStringLiteral(" "), false},  // empty stored password: only an empty entry
        {QStringLiteral("Администратор"), QString(), true},
        {QStringLiteral("Иванова"), QStringLiteral("Secret"), true},
        {QStringLiteral("Петров"), QStringLiteral("пароль"), true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE((c.fio + "/" + c.typed).toStdString());
        GL.OperatorID = 0;
        ModalScript script;
        if (!c.ok) script.answerOk();
        const int result = login(script, c.fio, c.typed);
        EXPECT_EQ(result, c.ok ? QDialog::Accepted : QDialog::Rejected);
        if (c.ok) {
            EXPECT_TRUE(script.messages().isEmpty());
            EXPECT_NE(GL.OperatorID, 0);
        } else {
            ASSERT_EQ(script.messages().size(), 1);
            EXPECT_EQ(script.messages()[0].text, QStringLiteral("Неверный пароль"));
            EXPECT_EQ(script.messages()[0].flags, mbStopOk);
            EXPECT_EQ(script.messages()[0].caption, ProductTitle());
            EXPECT_EQ(GL.OperatorID, 0);
            // The window stayed open with the typed text.
            EXPECT_EQ(child<QLineEdit>(Window<QDialog>("frmChooseOperator"), "edPassword")->text(), c.typed);
        }
        EXPECT_TRUE(script.unexpected().isEmpty());
    }
}

TEST_F(Login, RightsAndRoleAreCopiedIntoGL) {
    ModalScript script;
    ASSERT_EQ(login(script, QStringLiteral("Иванова"), QStringLiteral("Secret")), QDialog::Accepted);
    EXPECT_EQ(GL.OperatorID, 2);
    EXPECT_EQ(GL.RoleName, QStringLiteral("Приемщик"));
    // 'T', 'y', 'F', 'n', 'Y', 't', 'N', 'f', 'T', 'F'
    const bool got[] = {GL.ZakView, GL.ZakInsert, GL.ZakEdit, GL.ZakDelete, GL.SklView,
                        GL.SklInsert, GL.SklEdit, GL.SklDelete, GL.DostupBook, GL.DostupBookUser};
    const bool want[] = {true, true, false, false, true, true, false, false, true, false};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(got[i], want[i]) << "right " << i;
}

TEST_F(Login, CheckWithoutWindow) {
    TClientDataSet& ops = *DM().cdsPriemschikLU;
    EXPECT_EQ(CheckOperatorLogin(ops, false, 0, QString()), TLoginResult::UserNotFound);
    EXPECT_EQ(CheckOperatorLogin(ops, true, 99, QString()), TLoginResult::UserNotFound);
    EXPECT_EQ(CheckOperatorLogin(ops, true, 3, QStringLiteral("x")), TLoginResult::WrongPassword);
    EXPECT_EQ(GL.OperatorID, 0);
    EXPECT_EQ(CheckOperatorLogin(ops, true, 3, QStringLiteral("пароль")), TLoginResult::Ok);
    EXPECT_EQ(GL.OperatorID, 3);
    EXPECT_EQ(GL.RoleName, QStringLiteral("Администратор"));
    EXPECT_TRUE(GL.DostupBookUser);
    EXPECT_FALSE(GL.DostupBook);
    EXPECT_EQ(LoginMessage(TLoginResult::UserNotFound), QStringLiteral("Не найден пользователь"));
}

TEST_F(Login, EmptyListRefusesWithUserNotFound) {
    DM().cdsPriemschikLU->close();
    DM().execSQL(QStringLiteral("DELETE FROM PRIEMSCHIK"));
    DM().cdsPriemschikLU->open();
    ModalScript script;
    script.answerOk();
    EXPECT_EQ(login(script, QStringLiteral("Иванова"), QString()), QDialog::Rejected);
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages()[0].text, QStringLiteral("Не найден пользователь"));
    EXPECT_EQ(script.messages()[0].flags, mbStopOk);
}
