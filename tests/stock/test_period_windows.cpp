// The period windows driven as a user drives them, modal windows answered by
// a script: the life cycle of periods, the questions, the current period in
// GL, refusals of the database and commands on an empty list.
#include "StockFixture.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "ui/DataSetModel.h"
#include "ui/ErrorDB.h"
#include "ui/Help.h"
#include "ui/HelpViewer.h"
#include "stock/ui/ChoosePeriod.h"
#include "stock/ui/PeriodMan.h"
#include "stock/ui/PeriodNew.h"
#include "stock/core/PeriodRules.h"

#include <QAction>
#include <QDateEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>

using namespace stocktest;

namespace {

const QString kCloseQuestion =
    "Закрытие периода приведет к запрету на редактирование документов и\r"
    "формированию остатков на начало нового периода.\r\rЗакрыть период?";
const QString kDeleteQuestion =
    "Удаление периода приведет к удалению всех документов за этот период.\r"
    "Эта операция необратима, надо выполнять ее с осторожностью.\r\rУдалить период?";

QStringList headers(QTableView* grid) {
    QStringList out;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        out << grid->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

class PeriodManTest : public StockTest {
protected:
    void SetUp() override {
        StockTest::SetUp();
        w = Window<TfrmPeriodMan>("frmPeriodMan");
        ASSERT_NE(w, nullptr);
    }
    void TearDown() override {
        if (w->isVisible()) w->done(QDialog::Accepted);
        w->hide();
        StockTest::TearDown();
    }
    void open() { w->show(); }
    void select(int id) { ASSERT_TRUE(w->cdsPeriod->locate("ID", id)); }
    // Column text of the grid for the row of a period.
    QString cell(int id, const QString& field) {
        TClientDataSet* ds = w->cdsPeriod;
        const int row = [&] {
            for (int r = 0; r < ds->recordCount(); ++r)
                if (ds->valueAt(r, ds->fieldByName("ID").index()).toInt() == id) return r;
            return -1;
        }();
        if (row < 0) return "<no row>";
        return ds->displayTextAt(row, ds->fieldByName(field).index());
    }
    static auto pickDates(const char* d1, const char* d2) {
        return [=](QDialog* dlg) {
            dlg->findChild<QDateEdit*>("dtpDate1")->setDate(d(d1));
            dlg->findChild<QDateEdit*>("dtpDate2")->setDate(d(d2));
            dlg->findChild<QPushButton*>("btnOk")->click();
        };
    }
    TfrmPeriodMan* w = nullptr;
};

}  // namespace

TEST_F(PeriodManTest, WindowCarriesItsCommandsKeysAndColumns) {
    EXPECT_EQ(w->windowTitle(), "Управление рабочими периодами");
    struct Act { const char* name; const char* caption; QKeySequence key; };
    const Act acts[] = {
        {"acPeriodClose", "Закрыть период", QKeySequence(Qt::Key_F2)},
        {"acPeriodOpen", "Открыть период", QKeySequence(Qt::Key_F3)},
        {"acPeriodNew", "Создать период", QKeySequence(Qt::Key_Insert)},
        {"acPeriodDelete", "Удалить период", QKeySequence(Qt::CTRL | Qt::Key_Delete)},
        {"acPeriodReload", "Обновить список", QKeySequence(Qt::Key_F5)},
        {"acHelp", "Справка", QKeySequence(Qt::Key_F1)},
    };
    QStringList toolbar;
    for (QAction* a : w->findChild<QToolBar*>("ToolBar1")->actions())
        toolbar << (a->isSeparator() ? QStringLiteral("|") : a->objectName());
    EXPECT_EQ(toolbar.join(' '), "acPeriodClose acPeriodOpen | acPeriodNew | acPeriodDelete | acPeriodReload | acHelp");
    for (const Act& a : acts) {
        auto* action = w->findChild<QAction*>(a.name);
        ASSERT_NE(action, nullptr) << a.name;
        EXPECT_EQ(action->text(), QString::fromUtf8(a.caption));
        EXPECT_EQ(action->toolTip(), QString::fromUtf8(a.caption));
        EXPECT_EQ(action->shortcut(), a.key) << a.name;
        EXPECT_TRUE(action->isEnabled());
    }
    open();
    EXPECT_EQ(headers(w->findChild<QTableView*>("DBGrid")),
              QStringList({"Начало", "Конец", "Статус", "Док-в (услуги)", "Док-в (склад)", "Ост.н. скл.", "Ост.к. скл."}));
    EXPECT_NE(w->findChild<TStoredProc*>("xpPeriodClose"), nullptr);
}

TEST_F(PeriodManTest, LifeCycleOfPeriodsThroughTheWindow) {
    open();
    ModalScript script;

    // The first period: the dates dialog asks.
    script.onDialog("frmPeriodNew", pickDates("2009-01-01", "2009-01-31"));
    w->acPeriodNew->trigger();
    ASSERT_EQ(periodCount(), 1);
    const int jan = lastId();
    EXPECT_EQ(datesOf(jan), "2009-01-01-2009-01-31");
    EXPECT_EQ(cell(jan, "SUM_OST"), "0,00");
    EXPECT_EQ(cell(jan, "SUM_OST1"), "<не опр.>");
    EXPECT_EQ(cell(jan, "STATUS_NAME"), "--- ОТКРЫТ ---");
    EXPECT_EQ(act(jan), "*");
    EXPECT_FALSE(scalar("SELECT SUM_OST FROM RPERIOD WHERE ID = ?", {jan}).isNull());
    EXPECT_EQ(GL.RPeriodID, -1);  // a new period does not become the current one

    // The next ones follow without a question.
    w->acPeriodNew->trigger();
    const int feb = lastId();
    EXPECT_EQ(datesOf(feb), "2009-02-01-2009-02-28");
    EXPECT_EQ(cell(feb, "SUM_OST"), "<не опр.>");
    EXPECT_EQ(script.dialogsShown(), QStringList({"frmPeriodNew"}));
    EXPECT_EQ(w->cdsPeriod->recordCount(), 2);

    // February becomes current, then closing it makes March.
    GL.RPeriodID = feb;
    GL.RPeriodOpen = true;
    select(feb);
    script.answerYes();
    w->acPeriodClose->trigger();
    EXPECT_EQ(script.messages().back().text, kCloseQuestion);
    EXPECT_EQ(script.messages().back().flags, 36);
    EXPECT_EQ(script.messages().back().caption, ProductTitle());
    EXPECT_EQ(act(feb), "#");
    EXPECT_FALSE(GL.RPeriodOpen);
    const int mar = lastId();
    EXPECT_EQ(datesOf(mar), "2009-03-01-2009-03-31");
    EXPECT_EQ(w->cdsPeriod->recordCount(), 3);
    EXPECT_EQ(w->cdsPeriod->fieldByName("ID").asInteger(), feb);
    EXPECT_EQ(cell(feb, "STATUS_NAME"), "<< ЗАКРЫТ >>");

    // Reopening asks nothing.
    const int asked = script.messages().size();
    w->acPeriodOpen->trigger();
    EXPECT_EQ(script.messages().size(), asked);
    EXPECT_EQ(act(feb), "*");
    EXPECT_TRUE(GL.RPeriodOpen);
    EXPECT_EQ(cell(feb, "STATUS_NAME"), "--- ОТКРЫТ ---");

    // Deleting the current period leaves none chosen, the dates kept.
    GL.RPeriodDate1 = d("2009-02-01");
    // A document added after the list was read: the database's count moves on.
    exec("INSERT INTO DOCS (KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) VALUES (101, ?, '2009-02-03', '1', 0)", {feb});
    select(feb);
    script.answerYes();
    w->acPeriodDelete->trigger();
    EXPECT_EQ(script.messages().back().text, kDeleteQuestion);
    EXPECT_EQ(script.messages().back().flags, 36 | 256);  // "Нет" is the default
    EXPECT_EQ(datesOf(feb), "<none>");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM DOCS WHERE RPERIOD_ID = ?", {feb}).toInt(), 0);
    EXPECT_EQ(GL.RPeriodID, -1);
    EXPECT_EQ(GL.RPeriodDate1, d("2009-02-01"));
    EXPECT_EQ(w->cdsPeriod->recordCount(), 2);
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join('\n').toStdString();
}

TEST_F(PeriodManTest, NoToAQuestionChangesNothing) {
    const int jan = period("2009-01-01", "2009-01-31", "*", fb::Decimal());
    GL.RPeriodID = jan;
    GL.RPeriodOpen = true;
    open();
    ModalScript script;
    script.answerNo().answerNo();
    w->acPeriodClose->trigger();
    w->acPeriodDelete->trigger();
    EXPECT_EQ(script.messageTexts(), QStringList({kCloseQuestion, kDeleteQuestion}));
    EXPECT_EQ(act(jan), "*");
    EXPECT_EQ(periodCount(), 1);
    EXPECT_EQ(GL.RPeriodID, jan);
    EXPECT_TRUE(GL.RPeriodOpen);
}

TEST_F(PeriodManTest, ClosingPassesTheLastDayOfTheFollowingMonth) {
    struct Case { const char* d1; const char* d2; const char* next; };
    const Case cases[] = {
        {"2008-02-01", "2008-02-29", "2008-03-01-2008-03-31"},
        {"2009-01-01", "2009-01-15", "2009-01-16-2009-01-31"},
        {"2008-12-01", "2008-12-31", "2009-01-01-2009-01-31"},
    };
    for (const Case& c : cases) {
        exec("DELETE FROM RPERIOD");
        const int id = period(c.d1, c.d2, "*", fb::Decimal());
        open();
        select(id);
        ModalScript script;
        script.answerYes();
        w->acPeriodClose->trigger();
        EXPECT_EQ(datesOf(lastId()), c.next) << c.d2;
        EXPECT_NE(lastId(), id);
        w->done(QDialog::Accepted);
    }
}

TEST_F(PeriodManTest, NextPeriodAfterOneEndingInsideAMonthDoesNotOverlap) {
    period("2009-01-01", "2009-01-15", "*", fb::Decimal());
    open();
    ModalScript script;
    w->acPeriodNew->trigger();
    EXPECT_EQ(datesOf(lastId()), "2009-01-16-2009-01-31");
    EXPECT_TRUE(script.messages().isEmpty());
    EXPECT_TRUE(script.dialogsShown().isEmpty());
}

TEST_F(PeriodManTest, EmptyListCommandsSayWhyAndAskNothing) {
    GL.RPeriodID = 7;
    GL.RPeriodOpen = true;
    open();
    ModalScript script;
    script.answerOk().answerOk().answerOk();
    w->acPeriodClose->trigger();
    w->acPeriodOpen->trigger();
    w->acPeriodDelete->trigger();
    EXPECT_EQ(script.messageTexts(), QStringList({NoPeriodsText(), NoPeriodsText(), NoPeriodsText()}));
    for (const auto& m : script.messages()) EXPECT_EQ(m.flags, mbWarningOk);
    EXPECT_EQ(periodCount(), 0);
    EXPECT_EQ(GL.RPeriodID, 7);
    EXPECT_TRUE(GL.RPeriodOpen);
    EXPECT_TRUE(script.unexpected().isEmpty());
}

TEST_F(PeriodManTest, CancelledFirstPeriodCreatesNothing) {
    open();
    const qint64 before = generator();
    ModalScript script;
    script.rejectDialog("frmPeriodNew");
    w->acPeriodNew->trigger();
    EXPECT_EQ(periodCount(), 0);
    EXPECT_EQ(generator(), before + 1);
    EXPECT_EQ(w->cdsPeriod->recordCount(), 0);
}

TEST_F(PeriodManTest, RefusedCreationIsShownAndTheListKeepsWhatTheDatabaseHolds) {
    const int jan = period("2009-01-01", "2009-01-31", "*", fb::Decimal());
    refusePeriods("INSERT");
    open();
    ModalScript script;
    QString shown;
    script.onDialog("frmErrorDB", [&](QDialog* dlg) {
        shown = static_cast<TfrmErrorDB*>(dlg)->originalText();
        dlg->accept();
    });
    w->acPeriodNew->trigger();
    EXPECT_EQ(script.dialogsShown(), QStringList({"frmErrorDB"}));
    EXPECT_TRUE(shown.contains("Периоды запрещены")) << shown.toStdString();
    EXPECT_EQ(periodCount(), 1);
    EXPECT_EQ(w->cdsPeriod->recordCount(), 1);
    EXPECT_FALSE(w->cdsPeriod->updatesPending());
    EXPECT_EQ(lastId(), jan);
}

TEST_F(PeriodManTest, RefusedDeletionIsShownAndTheCurrentPeriodStays) {
    const int jan = period("2009-01-01", "2009-01-31", "*", fb::Decimal());
    refusePeriods("DELETE");
    GL.RPeriodID = jan;
    open();
    ModalScript script;
    script.answerYes();
    script.acceptDialog("frmErrorDB");
    w->acPeriodDelete->trigger();
    EXPECT_EQ(script.dialogsShown(), QStringList({"frmErrorDB"}));
    EXPECT_EQ(GL.RPeriodID, jan);
    EXPECT_EQ(periodCount(), 1);
    EXPECT_EQ(w->cdsPeriod->recordCount(), 1);
    EXPECT_EQ(w->cdsPeriod->fieldByName("ID").asInteger(), jan);
    EXPECT_FALSE(w->cdsPeriod->updatesPending());
}

TEST_F(PeriodManTest, ReloadShowsChangesMadeElsewhereAndStaysOnTheRow) {
    const int jan = period("2009-01-01", "2009-01-31");
    period("2009-02-01", "2009-02-28");
    open();
    select(jan);
    exec("UPDATE RPERIOD SET ACT = '#' WHERE ID = ?", {jan});
    w->acPeriodReload->trigger();
    EXPECT_EQ(w->cdsPeriod->fieldByName("ID").asInteger(), jan);
    EXPECT_EQ(cell(jan, "STATUS_NAME"), "<< ЗАКРЫТ >>");
}

TEST_F(PeriodManTest, HelpOpensItsPage) {
    GL.HelpFile = QStringLiteral(OBRIX_HELP_CHM);
    ModalScript script;
    w->acHelp->trigger();
    ASSERT_NE(ExistingHelpWindow(), nullptr);
    EXPECT_EQ(ExistingHelpWindow()->currentPage(), "/_rabper_uprav.htm");
    EXPECT_TRUE(script.messages().isEmpty());
    ExistingHelpWindow()->hide();
}

TEST_F(PeriodManTest, DeletingAPeriodGoneElsewhereIsReportedAndNothingElseGoes) {
    const int jan = period("2009-01-01", "2009-01-31", "*", fb::Decimal());
    const int feb = period("2009-02-01", "2009-02-28");
    GL.RPeriodID = jan;
    open();
    select(jan);
    exec("DELETE FROM RPERIOD WHERE ID = ?", {jan});
    ModalScript script;
    script.answerYes().acceptDialog("frmErrorDB");
    w->acPeriodDelete->trigger();
    EXPECT_EQ(script.dialogsShown(), QStringList({"frmErrorDB"}));
    EXPECT_EQ(datesOf(feb), "2009-02-01-2009-02-28");
    EXPECT_EQ(w->cdsPeriod->recordCount(), 1);
    EXPECT_EQ(GL.RPeriodID, -1);  // the current period is no longer there
}

// --- the dates dialog -------------------------------------------------------

TEST_F(StockTest, PeriodNewPresetsTheCurrentMonthAndRefusesReversedDates) {
    auto* dlg = Window<TfrmPeriodNew>("frmPeriodNew");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(dlg->windowTitle(), "Новый период");
    dlg->setToday(d("2008-02-14"));
    ModalScript script;
    script.answerOk();
    bool stayedOpen = false;
    script.onDialog("frmPeriodNew", [&](QDialog* w) {
        auto* p = static_cast<TfrmPeriodNew*>(w);
        EXPECT_EQ(p->dtpDate1->date(), d("2008-02-01"));
        EXPECT_EQ(p->dtpDate2->date(), d("2008-02-29"));
        p->dtpDate1->setDate(d("2008-03-01"));
        p->btnOk->click();
        stayedOpen = p->isVisible() && p->result() != QDialog::Accepted;
        p->dtpDate1->setDate(d("2008-02-29"));
        p->btnOk->click();
    });
    EXPECT_EQ(execModal(dlg), QDialog::Accepted);
    EXPECT_TRUE(stayedOpen);
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().front().text, PeriodDatesError(d("2008-03-01"), d("2008-02-29")));
    EXPECT_EQ(script.messages().front().flags, mbWarningOk);
    EXPECT_EQ(dlg->dates(), (TPeriodDates{d("2008-02-29"), d("2008-02-29")}));
    dlg->setToday(QDate());
}

// --- the choice window ------------------------------------------------------

namespace {
class ChoosePeriodTest : public StockTest {
protected:
    void SetUp() override {
        StockTest::SetUp();
        w = Window<TfrmChoosePeriod>("frmChoosePeriod");
        ASSERT_NE(w, nullptr);
    }
    TfrmChoosePeriod* w = nullptr;
};
}  // namespace

TEST_F(ChoosePeriodTest, OpensOnTheCurrentPeriodAndOkMakesTheChosenOneCurrent) {
    const int jan = period("2009-01-01", "2009-01-31", "#", fb::Decimal());
    const int feb = period("2009-02-01", "2009-02-28", "*");
    GL.RPeriodID = feb;
    EXPECT_EQ(w->windowTitle(), "Выберите рабочий период");
    ModalScript script;
    int startRow = -1;
    QStringList cols;
    script.onDialog("frmChoosePeriod", [&](QDialog*) {
        startRow = w->cdsRPeriod->fieldByName("ID").asInteger();
        cols = headers(w->DBGrid);
        w->DBGrid->selectRow(0);
        w->btnOk->click();
    });
    EXPECT_EQ(execModal(w), QDialog::Accepted);
    EXPECT_EQ(startRow, feb);
    EXPECT_EQ(cols, QStringList({"Начало", "Окончание", "Статус"}));
    EXPECT_EQ(GL.RPeriodID, jan);
    EXPECT_EQ(GL.RPeriodDate1, d("2009-01-01"));
    EXPECT_EQ(GL.RPeriodDate2, d("2009-01-31"));
    EXPECT_FALSE(GL.RPeriodOpen);
    EXPECT_EQ(FakeHost::statusBarUpdates, 1);
    EXPECT_FALSE(w->cdsRPeriod->isActive());
}

TEST_F(ChoosePeriodTest, UnknownCurrentStartsOnTheFirstRowAndCancelKeepsGL) {
    const int jan = period("2009-01-01", "2009-01-31");
    period("2009-02-01", "2009-02-28");
    GL.RPeriodID = 999;
    ModalScript script;
    int startRow = -1;
    script.onDialog("frmChoosePeriod", [&](QDialog*) {
        startRow = w->cdsRPeriod->fieldByName("ID").asInteger();
        w->btnCancel->click();
    });
    EXPECT_EQ(execModal(w), QDialog::Rejected);
    EXPECT_EQ(startRow, jan);
    EXPECT_EQ(GL.RPeriodID, 999);
    EXPECT_EQ(FakeHost::statusBarUpdates, 0);
    EXPECT_FALSE(w->cdsRPeriod->isActive());
}

TEST_F(ChoosePeriodTest, OkOnAnEmptyListLeavesNoPeriodChosen) {
    GL.RPeriodID = 5;
    GL.RPeriodOpen = true;
    ModalScript script;
    script.onDialog("frmChoosePeriod", [&](QDialog*) { w->btnOk->click(); });
    EXPECT_EQ(execModal(w), QDialog::Accepted);
    EXPECT_EQ(GL.RPeriodID, -1);
    EXPECT_TRUE(GL.RPeriodOpen);
    EXPECT_EQ(FakeHost::statusBarUpdates, 1);
}

TEST_F(ChoosePeriodTest, HelpButtonOpensItsPage) {
    EXPECT_EQ(w->BitBtn1->toolTip(), "Справка");
    ModalScript script;
    script.answerOk();
    w->BitBtn1->click();  // without the help file: says so
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_EQ(script.messages().front().text, "Не найден файл справки " + GL.HelpFile);
    GL.HelpFile = QStringLiteral(OBRIX_HELP_CHM);
    w->BitBtn1->click();
    ASSERT_NE(ExistingHelpWindow(), nullptr);
    EXPECT_EQ(ExistingHelpWindow()->currentPage(), "/_vyb_rabper.htm");
    ExistingHelpWindow()->hide();
}
