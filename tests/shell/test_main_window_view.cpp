// The main window as a clerk sees it: whole texts in the status bar, one line
// per journal row with the totals in view, no data before the login, the
// refusals and the default answers of its commands.
#include "MainWindowFixture.h"

#include "ui/MessageBoxes.h"
#include "ui/Startup.h"
#include "ui/DataSetModel.h"
#include "shell/JournalDocs.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QStatusBar>
#include <QTableView>

using namespace maintest;

namespace {

// Shows the main window at a size, as a screen of that size would.
void showAt(TfrmMain* main, const QSize& size) {
    main->showNormal();
    main->resize(size);
    QApplication::processEvents();
}

}  // namespace

TEST_F(MainWindowTest, StatusPanelsShowTheirWholeTextAtTheFirstStartSizeAndOnAWideScreen) {
    connect();
    GL.RPeriodOpen = true;
    main->UpdateStatusBar();
    struct Case { QSize size; QList<int> whole; };
    // At the first start (600 x 400) the count and the period's state stay whole;
    // at 1366 px every panel does.
    for (const Case& c : {Case{QSize(600, 400), {0, 2}}, Case{QSize(1366, 768), {0, 1, 2}}}) {
        SCOPED_TRACE(c.size.width());
        showAt(main, c.size);
        for (int i : c.whole) {
            auto* panel = main->findChild<QLabel*>(QStringLiteral("SBPanel%1").arg(i));
            ASSERT_NE(panel, nullptr);
            EXPECT_FALSE(panel->text().isEmpty());
            EXPECT_GE(panel->contentsRect().width(), panel->fontMetrics().horizontalAdvance(panel->text()))
                << panel->text().toStdString();
            EXPECT_LE(panel->geometry().right(), main->statusBar()->width()) << "inside the status bar";
        }
    }
    EXPECT_TRUE(main->statusPanelText(2).endsWith(QStringLiteral("(Открыт)")));
    main->hide();
}

TEST_F(MainWindowTest, JournalRowsAreOneLineWithTheTotalsInViewAt1366) {
    connect();
    exec(QStringLiteral("UPDATE ZAKAZCH SET NAME = 'Иванова' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'вторая строка' "
                        "WHERE ID = (SELECT FIRST 1 ZAKAZCH_ID FROM DOCU WHERE RPERIOD_ID = ?)"),
         {GL.RPeriodID});
    DM().cdsZakazchLU->close();
    DM().cdsZakazchLU->open();
    main->ReopenJournals();
    showAt(main, QSize(1366, 768));
    auto* grid = main->findChild<QTableView*>(QStringLiteral("DBG"));
    auto* model = static_cast<DataSetModel*>(grid->model());
    ASSERT_GT(model->rowCount(), 0);
    const int total = model->columnOf(QStringLiteral("TOTAL_WOTKL"));
    ASSERT_GE(total, 0);
    EXPECT_LE(grid->columnViewportPosition(total) + grid->columnWidth(total), grid->viewport()->width());
    EXPECT_FALSE(grid->wordWrap());
    const int customer = model->columnOf(QStringLiteral("ZAKAZCH_NAMEAP"));
    bool sawTwoLines = false;
    for (int r = 0; r < model->rowCount(); ++r) {
        const QModelIndex cell = model->index(r, customer);
        const QString shown = model->data(cell).toString();
        const QString tip = model->data(cell, Qt::ToolTipRole).toString();
        EXPECT_FALSE(shown.contains(QLatin1Char('\n')) || shown.contains(QLatin1Char('\r')));
        EXPECT_EQ(grid->rowHeight(r), grid->verticalHeader()->defaultSectionSize());
        if (tip.contains(QLatin1Char('\n'))) sawTwoLines = true;
    }
    EXPECT_TRUE(sawTwoLines) << "the tooltip carries the whole text";
    main->hide();
}

TEST_F(MainWindowTest, NoCustomerIsShownBeforeTheOperatorHasLoggedIn) {
    AppOptions.ConnectKind = 1;
    AppOptions.LocalDBName = path;
    StartupHooks hooks = main->defaultStartupHooks();
    auto* grid = main->findChild<QTableView*>(QStringLiteral("DBG"));
    int rowsAtLogin = -1;
    bool journalOpenAtLogin = true;
    hooks.login = [&] {
        rowsAtLogin = grid->model()->rowCount();
        journalOpenAtLogin = main->journalDocu()->isActive() || main->journalDocs()->isActive();
        return true;
    };
    ModalScript script;
    EXPECT_EQ(RunFirstShow(hooks), StartupResult::Working);
    EXPECT_EQ(rowsAtLogin, 0);
    EXPECT_FALSE(journalOpenAtLogin);
    EXPECT_GT(grid->model()->rowCount(), 0) << "filled after the login";
    hooks.closeConnection();
}

TEST_F(MainWindowTest, ANewDocumentInAClosedPeriodIsRefusedInRussian) {
    connect();
    GL.RPeriodOpen = false;
    const qint64 before = count("DOCU");
    const qint64 beforeStock = count("DOCS");
    for (int tab : {0, 1}) {
        SCOPED_TRACE(tab);
        main->findChild<QTabBar*>(QStringLiteral("TabControl"))->setCurrentIndex(tab);
        ModalScript script;
        script.answerOk();
        main->acDocsNewExecute();
        EXPECT_EQ(script.messageTexts(), QStringList{NewDocumentRefusal(GL)});
        EXPECT_TRUE(script.messageTexts().value(0).startsWith(QStringLiteral("Рабочий период закрыт")));
        EXPECT_EQ(script.messages().value(0).flags, mbWarningOk);
        EXPECT_TRUE(script.dialogsShown().isEmpty()) << "no kind choice, no editor";
    }
    EXPECT_EQ(count("DOCU"), before);
    EXPECT_EQ(count("DOCS"), beforeStock);
}
