// The period management window as a clerk meets it: it starts on the current
// period (so F2, F3 and Ctrl+Del act on it), its first size shows every
// column, and Enter on "Удалить период?" deletes nothing.
#include "StockFixture.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalScript.h"
#include "ui/WindowRegistry.h"
#include "ui/DataSetModel.h"
#include "stock/ui/PeriodMan.h"

#include <QApplication>
#include <QHeaderView>
#include <QTableView>

using namespace stocktest;

namespace {

class PeriodManView : public StockTest {
protected:
    void SetUp() override {
        StockTest::SetUp();
        w = Window<TfrmPeriodMan>("frmPeriodMan");
        ASSERT_NE(w, nullptr);
        first = period("2026-10-01", "2026-10-31", "#");
        current = period("2026-11-01", "2026-11-30");
        last = period("2026-12-01", "2026-12-31");
    }
    void TearDown() override {
        if (w->isVisible()) w->done(QDialog::Rejected);
        w->hide();
        StockTest::TearDown();
    }
    TfrmPeriodMan* w = nullptr;
    int first = 0, current = 0, last = 0;
};

}  // namespace

TEST_F(PeriodManView, StartsOnTheCurrentPeriodWithEveryColumnInView) {
    for (int id : {current, first, last}) {
        SCOPED_TRACE(id);
        GL.RPeriodID = id;
        w->show();
        QApplication::processEvents();
        EXPECT_EQ(w->cdsPeriod->fieldByName("ID").asInteger(), id);
        auto* grid = w->findChild<QTableView*>("DBGrid");
        EXPECT_EQ(grid->currentIndex().row(), w->cdsPeriod->recNo());
        const int columns = grid->model()->columnCount();
        ASSERT_GT(columns, 0);
        const int lastColumn = columns - 1;
        EXPECT_LE(grid->columnViewportPosition(lastColumn) +
                      static_cast<DataSetModel*>(grid->model())->columnWidthOf(grid, lastColumn),
                  grid->viewport()->width())
            << "the last column is in view";
        w->done(QDialog::Rejected);
        w->hide();
    }
}

TEST_F(PeriodManView, EnterOnTheDeleteQuestionDeletesNothing) {
    GL.RPeriodID = last;
    w->show();
    ModalScript script;
    script.answerNo();
    w->acPeriodDelete->trigger();
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].text.endsWith(QStringLiteral("Удалить период?")));
    EXPECT_EQ(script.messages()[0].flags, mbQuestionYesNo | mbDefaultNo);
    EXPECT_EQ(periodCount(), 3);
}
