// Message boxes and modal dialogs pass through one seam: scripted in tests,
// real QMessageBox / QDialog otherwise.
#include "ui/MessageBoxes.h"
#include "ui/ModalScript.h"
#include "ui/ModalSeam.h"

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

TEST(MessageBoxes, ScriptAnswersInOrderAndRecords) {
    ModalScript script;
    script.answerYes().answerNo().answerOk();
    EXPECT_EQ(TitledMessageBox("Удалить документ от 01.02.2024 № 12 ?", mbQuestionYesNo), idYes);
    EXPECT_EQ(VendorMessageBox("Строка 1\rСтрока 2", mbWarningYesNo), idNo);
    EXPECT_EQ(TitledMessageBox("Готово", mbInfoOk), idOk);

    ASSERT_EQ(script.messages().size(), 3);
    EXPECT_EQ(script.messages()[0].caption, QStringLiteral("Обрикс "));
    EXPECT_EQ(script.messages()[0].flags, 36);
    EXPECT_EQ(script.messages()[1].caption, QStringLiteral("VELKART"));
    EXPECT_EQ(script.messages()[1].text, QStringLiteral("Строка 1\rСтрока 2"));  // as written
    EXPECT_EQ(script.messages()[1].flags, 52);
    EXPECT_EQ(script.messages()[2].flags, 64);
    EXPECT_EQ(script.pendingAnswers(), 0);
    EXPECT_TRUE(script.unexpected().isEmpty());
}

struct UnansweredCase { int flags; int answer; };
void PrintTo(const UnansweredCase& c, std::ostream* os) { *os << "flags " << c.flags; }

class Unanswered : public ::testing::TestWithParam<UnansweredCase> {};

TEST_P(Unanswered, GetsTheCautiousAnswerAndIsReported) {
    ModalScript script;
    EXPECT_EQ(TitledMessageBox("?", GetParam().flags), GetParam().answer);
    ASSERT_EQ(script.unexpected().size(), 1);
    EXPECT_TRUE(script.unexpected()[0].contains("?"));
}

INSTANTIATE_TEST_SUITE_P(Flags, Unanswered, ::testing::Values(
    UnansweredCase{16, 1}, UnansweredCase{36, 7}, UnansweredCase{48, 1},
    UnansweredCase{52, 7}, UnansweredCase{64, 1}, UnansweredCase{33, 2}));

TEST(ModalScript, NestedScriptsRestoreTheOuterHooks) {
    ModalScript outer;
    outer.answerYes();
    {
        ModalScript inner;
        inner.answerNo();
        EXPECT_EQ(TitledMessageBox("inner", 36), idNo);
        EXPECT_TRUE(outer.messages().isEmpty());
    }
    EXPECT_EQ(TitledMessageBox("outer", 36), idYes);
    EXPECT_EQ(outer.messageTexts(), QStringList{"outer"});
}

TEST(ModalSeam, NoHookLeftAfterScript) {
    { ModalScript s; }
    EXPECT_FALSE(ModalSeam::messageHook());
    EXPECT_FALSE(ModalSeam::dialogHook());
    EXPECT_FALSE(ModalSeam::fileHook());
}

TEST(ModalSeam, DisplayTextTurnsCarriageReturnsIntoLineBreaks) {
    EXPECT_EQ(ModalSeam::displayText("a\rb"), "a\nb");
    EXPECT_EQ(ModalSeam::displayText("a\r\nb"), "a\nb");
    EXPECT_EQ(ModalSeam::displayText("a\r\rb\r"), "a\n\nb\n");
    EXPECT_EQ(ModalSeam::displayText("plain"), "plain");
}

// The real box: icon, buttons and the identifier of the button pressed.
struct BoxCase {
    int flags;
    QMessageBox::Icon icon;
    QList<QMessageBox::StandardButton> buttons;
    QMessageBox::StandardButton press;
    int expected;
};
void PrintTo(const BoxCase& c, std::ostream* os) { *os << "flags " << c.flags << " answer " << c.expected; }

class RealMessageBox : public ::testing::TestWithParam<BoxCase> {};

TEST_P(RealMessageBox, MapsFlagsAndAnswers) {
    const auto c = GetParam();
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QMessageBox::StandardButton> buttons;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) return;
        seen = true;
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        for (auto* b : box->buttons()) buttons << box->standardButton(b);
        box->button(c.press)->click();
    });
    const int answer = TitledMessageBox("Первая\rВторая", c.flags);
    ASSERT_TRUE(seen);
    EXPECT_EQ(answer, c.expected);
    EXPECT_EQ(title, QStringLiteral("Обрикс "));
    EXPECT_EQ(text, QStringLiteral("Первая\nВторая"));
    EXPECT_EQ(icon, c.icon);
    std::sort(buttons.begin(), buttons.end());
    auto want = c.buttons;
    std::sort(want.begin(), want.end());
    EXPECT_EQ(buttons, want);
}

INSTANTIATE_TEST_SUITE_P(Flags, RealMessageBox, ::testing::Values(
    BoxCase{16, QMessageBox::Critical, {QMessageBox::Ok}, QMessageBox::Ok, 1},
    BoxCase{36, QMessageBox::Question, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::Yes, 6},
    BoxCase{36, QMessageBox::Question, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, 7},
    BoxCase{48, QMessageBox::Warning, {QMessageBox::Ok}, QMessageBox::Ok, 1},
    BoxCase{52, QMessageBox::Warning, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::No, 7},
    BoxCase{52, QMessageBox::Warning, {QMessageBox::Yes, QMessageBox::No}, QMessageBox::Yes, 6},
    BoxCase{64, QMessageBox::Information, {QMessageBox::Ok}, QMessageBox::Ok, 1}));

TEST(RealMessageBox, VendorCaption) {
    QString title;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            title = box->windowTitle();
            box->button(QMessageBox::Ok)->click();
        }
    });
    EXPECT_EQ(VendorMessageBox("x", 16), 1);
    EXPECT_EQ(title, QStringLiteral("VELKART"));
}

// A small dialog standing in for a program window.
class EditDialog : public QDialog {
public:
    EditDialog() {
        setObjectName("frmTestEdit");
        edName = new QLineEdit(this);
        edName->setObjectName("edName");
        btnOk = new QPushButton("&Ok", this);
        btnOk->setObjectName("btnOk");
        connect(btnOk, &QPushButton::clicked, this, [this] {
            if (edName->text().isEmpty()) {
                TitledMessageBox("Заполните поля:\rНаименование", mbWarningOk);
                return;
            }
            accept();
        });
    }
    QLineEdit* edName;
    QPushButton* btnOk;
    int shown = 0;
protected:
    void showEvent(QShowEvent* e) override { ++shown; QDialog::showEvent(e); }
};

TEST(ExecModal, ActionFillsFieldsAndClicks) {
    EditDialog dlg;
    ModalScript script;
    bool visibleDuringAction = false;
    script.onDialog("frmTestEdit", [&](QDialog* d) {
        visibleDuringAction = d->isVisible();
        d->findChild<QLineEdit*>("edName")->setText("Кожа");
        d->findChild<QPushButton*>("btnOk")->click();
    });
    EXPECT_EQ(execModal(&dlg), QDialog::Accepted);
    EXPECT_TRUE(visibleDuringAction);
    EXPECT_EQ(dlg.shown, 1);  // the show event ran as for the user
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.edName->text(), "Кожа");
    EXPECT_EQ(script.dialogsShown(), QStringList{"frmTestEdit"});
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_TRUE(script.unexpected().isEmpty());
}

TEST(ExecModal, MessageBoxInsideADialogIsAnsweredToo) {
    EditDialog dlg;
    ModalScript script;
    script.answerOk();
    script.onDialog([](QDialog* d) {
        d->findChild<QPushButton*>("btnOk")->click();  // name empty: refused
        d->reject();
    });
    EXPECT_EQ(execModal(&dlg), QDialog::Rejected);
    EXPECT_EQ(script.messageTexts(), QStringList{"Заполните поля:\rНаименование"});
    EXPECT_TRUE(script.unexpected().isEmpty());
}

TEST(ExecModal, QueuedResultsAndMismatches) {
    EditDialog dlg;
    ModalScript script;
    script.acceptDialog("frmTestEdit")
        .rejectDialog()
        .onDialog([](QDialog*) { return 5; })
        .acceptDialog("frmOther");
    EXPECT_EQ(execModal(&dlg), QDialog::Accepted);
    EXPECT_EQ(execModal(&dlg), QDialog::Rejected);
    EXPECT_EQ(execModal(&dlg), 5);
    EXPECT_EQ(execModal(&dlg), QDialog::Rejected);  // wrong window: refused and reported
    ASSERT_EQ(script.unexpected().size(), 1);
    EXPECT_TRUE(script.unexpected()[0].contains("frmOther"));
    EXPECT_EQ(execModal(&dlg), QDialog::Rejected);  // nothing queued
    EXPECT_EQ(script.unexpected().size(), 2);
    EXPECT_EQ(script.dialogsShown().size(), 5);
    EXPECT_EQ(script.pendingDialogs(), 0);
}

TEST(ExecModal, WithoutHookRunsTheRealLoop) {
    EditDialog dlg;
    bool wasModal = false;
    QTimer::singleShot(0, [&] {
        wasModal = QApplication::activeModalWidget() == &dlg;
        dlg.edName->setText("x");
        dlg.btnOk->click();
    });
    EXPECT_EQ(execModal(&dlg), QDialog::Accepted);
    EXPECT_TRUE(wasModal);
}

TEST(FileDialogs, AnsweredFromTheScript) {
    ModalScript script;
    script.answerFile("/tmp/goods.csv");
    EXPECT_EQ(ModalSeam::getSaveFileName(nullptr, "Экспорт", "goods.csv", "CSV (*.csv)"),
              "/tmp/goods.csv");
    EXPECT_EQ(ModalSeam::getOpenFileName(nullptr, "Импорт", "", "CSV (*.csv)"), QString());
    ASSERT_EQ(script.fileRequests().size(), 2);
    EXPECT_EQ(script.fileRequests()[0].kind, FileRequest::Save);
    EXPECT_EQ(script.fileRequests()[0].filter, "CSV (*.csv)");
    EXPECT_EQ(script.fileRequests()[1].kind, FileRequest::Open);
    EXPECT_EQ(script.unexpected().size(), 1);  // the open dialog had no answer
}

}  // namespace
