// The main window on a real database: commands by rights, the status bar,
// new documents (number, date, defaults), delete with its question, the
// refusals and a failed apply.
#include "MainWindowFixture.h"
#include "data/Journal.h"
#include "base/NewDocumentDate.h"

#include "base/RoutsFormat.h"
#include "data/DataErrors.h"
#include "shell/JournalDocs.h"

#include <QApplication>
#include <QKeyEvent>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QMenuBar>
#include <QTableView>
#include <QToolBar>

using namespace maintest;

namespace {

// A March 2009 period with order АА 17 of 05.03.2009 holding two service lines.
void seedMarch2009(const std::function<void(const QString&)>& exec, bool open) {
    exec(QStringLiteral("INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (900, '2009-03-01', '2009-03-31', ") +
         (open ? QStringLiteral("'*')") : QStringLiteral("NULL)")));
    exec(QStringLiteral("INSERT INTO DOCU (ID, KINDDOC_ID, RPERIOD_ID, SERIES, NUMBER, DATEP, ZAKAZCH_ID, "
                        "PRIEMSCHIK_ID, TOTAL, OTKLTYPE, OTKLPROC, OTKLSUM, TOTAL_WOTKL, RECEIVED, DEBT, GARANT) "
                        "VALUES (9001, 1, 900, 'АА', 17, '2009-03-05', 1, 1, 100, 0, 0, 0, 100, 0, 100, 3)"));
    exec(QStringLiteral("INSERT INTO USLUGAGR (ID, PARENT_ID, NAME, LEVELI, KINDDOC_ID) VALUES (9000, 0, 'Т', 1, 1)"));
    exec(QStringLiteral("INSERT INTO USLUGA (ID, GR_ID, NAME, SUMMA) VALUES (9000, 9000, 'Набойки', 50)"));
    exec(QStringLiteral("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (9001, 9001, 1, 9000, 50, 1)"));
    exec(QStringLiteral("INSERT INTO UMOVES (ID, DOC_ID, NUM, USLUGA_ID, SUMMA, NPP) VALUES (9002, 9001, 2, 9000, 50, 2)"));
}

}  // namespace

TEST_F(MainWindowTest, WindowCarriesItsNamesCaptionsAndShortcuts) {
    EXPECT_EQ(main->windowTitle(), QStringLiteral("Обрикс"));
    EXPECT_EQ(main->minimumSize(), QSize(550, 250));
    const struct { const char* name; const char* caption; const char* hint; const char* key; } expected[] = {
        {"acDocsNew", "Создать документ", "Создать документ", "Ctrl+N"},
        {"acDocsDelete", "Удалить документ", "Удалить документ", "Ctrl+Del"},
        {"acDocsReload", "Обновить список документов", "Обновить список документов", "F5"},
        {"acChoosePeriod", "Выбрать рабочий период...", "Выбрать рабочий период", ""},
        {"acRepNalich", "Наличие на складе...", "Наличие на складе", ""},
        {"acHelpHelp", "Справка", "Справка", "F1"},
        {"acDBConnect", "Подключиться к базе данных...", "Подключиться к базе данных", ""},
    };
    for (const auto& e : expected) {
        QAction* a = main->action(QString::fromLatin1(e.name));
        ASSERT_NE(a, nullptr) << e.name;
        EXPECT_EQ(a->text(), QString::fromUtf8(e.caption)) << e.name;
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(e.hint)) << e.name;
        EXPECT_EQ(a->statusTip(), QString::fromUtf8(e.hint)) << e.name;
        EXPECT_EQ(a->shortcut(), QKeySequence(QString::fromLatin1(e.key))) << e.name;
    }
    QStringList menus;
    for (QAction* m : main->menuBar()->actions()) menus << m->text();
    EXPECT_EQ(menus, (QStringList{"Документы", "Справочники", "Отчеты", "Рабочие периоды", "Настройка", "Справка"}));
    QStringList tools;
    for (QAction* a : main->findChild<QToolBar*>("ToolBar")->actions()) tools << (a->isSeparator() ? "-" : a->objectName());
    EXPECT_EQ(tools, (QStringList{"acDocsNew", "acDocsEdit", "acDocsDelete", "-", "acDocsReload", "-", "acBookTovar",
                                  "acBookUsluga", "acBookProduct", "acBookColor", "acBookMaterial", "acBookZakazch",
                                  "acBookOperator", "-", "acHelpHelp"}));
}

TEST_F(MainWindowTest, WithoutConnectionOnlyTheFreeCommandsRunAndTheStatusSaysSo) {
    main->UpdateStatusBar();
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("<Соединения нет>"));
    for (const char* on : {"acOptionsApp", "acChoosePeriod", "acRPeriodMan", "acManagePrintForms", "acHelpHelp",
                           "acHelpAbout", "acDocsExit", "acDBConnect"})
        EXPECT_TRUE(enabled(on)) << on;
    for (const char* off : {"acDocsNew", "acDocsEdit", "acDocsDelete", "acDocsReload", "acBookTovar",
                            "acBookOperator", "acRepSummaKvit", "acOptionsUchet"})
        EXPECT_FALSE(enabled(off)) << off;

    ModalScript script;
    script.answerOk().answerOk();
    main->acChoosePeriodExecute();
    main->acRPeriodManExecute();
    EXPECT_EQ(script.messageTexts(),
              (QStringList{"Нет соединения с базой данных", "Нет соединения с базой данных"}));
    EXPECT_TRUE(script.dialogsShown().isEmpty());
}

TEST_F(MainWindowTest, CommandsFollowTheOperatorsRightsOnBothTabs) {
    connect();
    auto* tabs = main->findChild<QTabBar*>("TabControl");
    // A viewer of orders: may open them, not create or delete.
    GL.ZakInsert = GL.ZakEdit = GL.ZakDelete = false;
    GL.SklView = GL.SklInsert = GL.SklEdit = GL.SklDelete = false;
    GL.DostupBook = false;
    EXPECT_TRUE(enabled("acDocsEdit"));
    EXPECT_FALSE(enabled("acDocsNew"));
    EXPECT_FALSE(enabled("acDocsDelete"));
    EXPECT_FALSE(enabled("acBookTovar"));
    EXPECT_TRUE(enabled("acBookOperator"));
    EXPECT_FALSE(enabled("acDBConnect"));
    tabs->setCurrentIndex(1);
    EXPECT_FALSE(enabled("acDocsEdit"));
    GL.SklInsert = GL.SklDelete = true;
    EXPECT_TRUE(enabled("acDocsNew"));
    EXPECT_TRUE(enabled("acDocsDelete"));
    GL.Connected = false;
    EXPECT_FALSE(enabled("acDocsNew"));
    EXPECT_TRUE(enabled("acDBConnect"));
}

TEST_F(MainWindowTest, StatusBarCountsTheSelectedJournal) {
    connect();
    const qint64 orders = count(QStringLiteral("DOCU WHERE RPERIOD_ID=") + QString::number(GL.RPeriodID));
    const qint64 stock = count(QStringLiteral("DOCS WHERE RPERIOD_ID=") + QString::number(GL.RPeriodID));
    ASSERT_GT(orders, 0);
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("Документов в списке: %1").arg(orders));
    EXPECT_EQ(main->statusPanelText(1), QStringLiteral("Роль: Администратор"));
    EXPECT_TRUE(main->statusPanelText(2).startsWith(QStringLiteral("РП: ")));
    EXPECT_TRUE(main->statusPanelText(2).endsWith(QStringLiteral("(Открыт)")));
    main->findChild<QTabBar*>("TabControl")->setCurrentIndex(1);
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("Документов в списке: %1").arg(stock));
    EXPECT_EQ(main->findChild<QTableView*>("DBG")->model()->rowCount(), stock);

    GL.RPeriodID = -1;
    main->ReopenJournals();
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("Документов в списке: 0"));
    EXPECT_EQ(main->statusPanelText(2), QStringLiteral("РП: < не выбран >"));
}

TEST_F(MainWindowTest, JournalShowsSeriesAndNumberAndMoney) {
    connect();
    TClientDataSet& docu = *main->journalDocu();
    ASSERT_FALSE(docu.isEmpty());
    docu.first();
    const QString expected = docu.fieldByName("SERIES").asString() + " " +
                             ZeroPad(docu.fieldByName("NUMBER").asLargeInt(), 6);
    EXPECT_EQ(docu.fieldByName("SERNUM").asString(), expected);
    EXPECT_FALSE(docu.fieldByName("NUMBER").isVisible());
    EXPECT_EQ(docu.fieldByName("SERNUM").displayLabel(), QStringLiteral("№"));
    EXPECT_EQ(docu.fieldByName("KINDDOC_NAME").asString(),
              DM().cdsKindDoc->lookup("ID", docu.fieldByName("KINDDOC_ID").value(), "NAME").toString());
    EXPECT_EQ(docu.fieldByName("TOTAL").displayText(), FormatMoney(docu.fieldByName("TOTAL").asDecimal()));
    EXPECT_TRUE(docu.query().sql().startsWith(QStringLiteral("/*проверка комментария*/")));
}

TEST_F(EmptyDatabaseTest, FirstOrderIsNumberOneWithTheOrganisationsDefaults) {
    {
        fb::Attachment att(path);
        fb::Transaction tra(att);
        fb::exec(tra, "INSERT INTO RPERIOD (ID, DATE_1, DATE_2, ACT) VALUES (1, '2000-01-01', '2099-12-31', '*')");
        tra.commit();
        att.close();
    }
    connect();
    ModalScript script;
    chooseFirstKind(script);
    script.acceptDialog(QStringLiteral("frmDocu"));
    main->acDocsNewExecute();
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join("; ").toStdString();
    EXPECT_EQ(script.dialogsShown(), (QStringList{"frmNewDoc", "frmDocu"}));

    ASSERT_EQ(count(QStringLiteral("DOCU")), 1);
    const QDate today = QDate::currentDate();
    fb::Transaction tra(DM().connection());
    EXPECT_EQ(fb::scalar(tra, "SELECT NUMBER FROM DOCU").toInt(), 1);
    EXPECT_EQ(fb::scalar(tra, "SELECT KINDDOC_ID FROM DOCU").toInt(), 1);
    EXPECT_EQ(fb::scalar(tra, "SELECT DATEP FROM DOCU").toDate(), today);
    EXPECT_EQ(fb::scalar(tra, "SELECT DATEV FROM DOCU").toDate(), today.addDays(4));
    EXPECT_EQ(fb::scalar(tra, "SELECT DATEVYD FROM DOCU").toDate(), today.addDays(4));
    EXPECT_EQ(fb::scalar(tra, "SELECT SERIES FROM DOCU").toString(), QStringLiteral("АБ"));
    EXPECT_EQ(fb::scalar(tra, "SELECT VREMVYD FROM DOCU").toString(), QStringLiteral("после 17:00"));
    EXPECT_EQ(fb::scalar(tra, "SELECT GARANT FROM DOCU").toInt(), 3);
    EXPECT_EQ(fb::scalar(tra, "SELECT ZAKAZCH_ID FROM DOCU").toInt(), 1);
    EXPECT_EQ(fb::scalar(tra, "SELECT PRIEMSCHIK_ID FROM DOCU").toInt(), 1);
    EXPECT_EQ(fb::scalar(tra, "SELECT RPERIOD_ID FROM DOCU").toInt(), 1);
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("Документов в списке: 1"));
    EXPECT_FALSE(main->journalDocu()->updatesPending());
}

TEST_F(MainWindowTest, NextOrderAndStockNumbersFollowTheGreatest) {
    connect();
    const qint64 maxOrder = scalar("SELECT MAX(NUMBER) FROM DOCU").toInt();
    AppendNewDocuRow(*main->journalDocu(), 2, demoToday());
    // the database draws the number as the row is stored, and the journal shows it
    EXPECT_EQ(ApplyJournal(*main->journalDocu()), QString());
    EXPECT_EQ(main->journalDocu()->fieldByName("NUMBER").asLargeInt(), maxOrder + 1);
    EXPECT_FALSE(main->journalDocu()->updatesPending());

    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) "
         "SELECT 99001, 101, ID, DATE_1, '41000', 0 FROM RPERIOD WHERE ID=" + QString::number(GL.RPeriodID));
    exec("INSERT INTO DOCS (ID, KINDDOC_ID, RPERIOD_ID, DATEDOC, NUMBER, SUMMA) "
         "SELECT 99002, 101, ID, DATE_1, 'Б/Н', 0 FROM RPERIOD WHERE ID=" + QString::number(GL.RPeriodID));
    main->findChild<QTabBar*>("TabControl")->setCurrentIndex(1);
    ModalScript script;
    script.onDialog(QStringLiteral("frmNewDoc"), [](QDialog* d) {
        auto* list = d->findChild<QListWidget*>("ListBox");
        QStringList kinds;
        for (int i = 0; i < list->count(); ++i) kinds << list->item(i)->text();
        EXPECT_EQ(kinds, (QStringList{"Приход", "Списание", "Реализация", "Возврат от покупателя", "Возврат поставщику"}));
        list->setCurrentRow(2);
        d->findChild<QPushButton*>("Ok")->click();
    });
    script.acceptDialog(QStringLiteral("frmDocs"));
    main->acDocsNewExecute();
    EXPECT_EQ(scalar("SELECT NUMBER FROM DOCS WHERE ID=(SELECT MAX(ID) FROM DOCS WHERE ID<99001 OR ID>99002)")
                  .toString(), QStringLiteral("41001"));
    EXPECT_EQ(scalar("SELECT KINDDOC_ID FROM DOCS WHERE NUMBER='41001'").toInt(), 103);
    EXPECT_EQ(scalar("SELECT SUMMA FROM DOCS WHERE NUMBER='41001'").toDecimal(), fb::Decimal());
    EXPECT_FALSE(DM().cdsKindDoc->isFiltered());
}

TEST_F(MainWindowTest, NewDocumentDateStaysInsideThePeriod) {
    const QDate first(2009, 3, 1), last(2009, 3, 31);
    EXPECT_EQ(NewDocumentDate(QDate(2009, 3, 15), first, last), QDate(2009, 3, 15));
    EXPECT_EQ(NewDocumentDate(QDate(2009, 4, 10), first, last), last);
    EXPECT_EQ(NewDocumentDate(QDate(2009, 2, 10), first, last), first);
    EXPECT_EQ(NewDocumentDate(first, first, last), first);
    EXPECT_EQ(NewDocumentDate(last, first, last), last);

    connect();
    seedMarch2009([this](const QString& s) { exec(s); }, true);
    GL.RPeriodID = 900;
    GL.RPeriodDate1 = first;
    GL.RPeriodDate2 = last;
    GL.RPeriodOpen = true;
    main->ReopenJournals();
    const struct { QDate today; QDate expected; } cases[] = {
        {QDate(2009, 4, 10), last}, {QDate(2009, 2, 10), first}, {QDate(2009, 3, 20), QDate(2009, 3, 20)}};
    for (const auto& c : cases) {
        AppendNewDocuRow(*main->journalDocu(), 1, c.today);
        const int id = main->journalDocu()->fieldByName("ID").asInteger();
        ASSERT_EQ(ApplyJournal(*main->journalDocu()), QString());
        EXPECT_EQ(scalar("SELECT DATEP FROM DOCU WHERE ID=?", {id}).toDate(), c.expected);
        EXPECT_EQ(scalar("SELECT DATEV FROM DOCU WHERE ID=?", {id}).toDate(), c.expected.addDays(4));
        EXPECT_EQ(scalar("SELECT DATEVYD FROM DOCU WHERE ID=?", {id}).toDate(), c.expected.addDays(4));
        AppendNewDocsRow(*main->journalDocs(), 101, c.today);
        const int sid = main->journalDocs()->fieldByName("ID").asInteger();
        ASSERT_EQ(ApplyJournal(*main->journalDocs()), QString());
        EXPECT_EQ(scalar("SELECT DATEDOC FROM DOCS WHERE ID=?", {sid}).toDate(), c.expected);
    }
}

TEST_F(MainWindowTest, DeleteAsksItsQuestionAndTakesTheLinesAlong) {
    connect();
    seedMarch2009([this](const QString& s) { exec(s); }, true);
    GL.RPeriodID = 900;
    GL.RPeriodDate1 = QDate(2009, 3, 1);
    GL.RPeriodDate2 = QDate(2009, 3, 31);
    GL.RPeriodOpen = true;
    main->ReopenJournals();
    ASSERT_EQ(main->journalDocu()->recordCount(), 1);
    const QString question = QStringLiteral("Удалить документ от 05.03.2009 № 17 ?");
    {
        ModalScript script;
        script.answerNo();
        main->acDocsDeleteExecute();
        ASSERT_EQ(script.messages().size(), 1);
        EXPECT_EQ(script.messages()[0].text, question) << script.messages()[0].text.toStdString();
        EXPECT_EQ(script.messages()[0].flags, 36 | 256) << "No is the default answer";
        EXPECT_EQ(count("DOCU WHERE ID=9001"), 1);
    }
    {
        ModalScript script;
        script.answerYes();
        main->acDocsDeleteExecute();
        EXPECT_EQ(script.messageTexts(), QStringList{question});
        EXPECT_EQ(count("DOCU WHERE ID=9001"), 0);
        EXPECT_EQ(count("UMOVES WHERE DOC_ID=9001"), 0);
        EXPECT_EQ(main->statusPanelText(0), QStringLiteral("Документов в списке: 0"));
    }
}

TEST_F(MainWindowTest, NoPeriodRefusesNewDocuments) {
    connect();
    GL.RPeriodID = -1;
    main->ReopenJournals();
    const qint64 before = count("DOCU");
    ModalScript script;
    script.answerOk();
    main->acDocsNewExecute();
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].text.startsWith(QStringLiteral("Нет рабочего периода")));
    EXPECT_TRUE(script.dialogsShown().isEmpty());
    EXPECT_EQ(count("DOCU"), before);
}

TEST_F(MainWindowTest, ClosedPeriodRefusesDelete) {
    connect();
    seedMarch2009([this](const QString& s) { exec(s); }, false);
    GL.RPeriodID = 900;
    GL.RPeriodDate1 = QDate(2009, 3, 1);
    GL.RPeriodDate2 = QDate(2009, 3, 31);
    GL.RPeriodOpen = false;
    main->ReopenJournals();
    ModalScript script;
    script.answerOk();
    main->acDocsDeleteExecute();
    ASSERT_EQ(script.messages().size(), 1);
    EXPECT_TRUE(script.messages()[0].text.startsWith(QStringLiteral("Рабочий период документа закрыт")));
    EXPECT_EQ(script.messages()[0].flags, 48);
    EXPECT_EQ(count("DOCU WHERE ID=9001"), 1);
    EXPECT_EQ(count("UMOVES WHERE DOC_ID=9001"), 2);
}

TEST_F(MainWindowTest, FailedDeleteIsReportedAndTheJournalReread) {
    connect();
    TClientDataSet& docu = *main->journalDocu();
    const int before = docu.recordCount();
    ASSERT_GT(before, 1);
    docu.first();
    const int id = docu.fieldByName("ID").asInteger();
    // Another workstation changes the order first: the journal's row no longer matches.
    exec("UPDATE DOCU SET COMMENT='изменено другим' WHERE ID=?", {id});

    ModalScript script;
    script.answerYes();
    QString shown;
    script.onDialog(QStringLiteral("frmErrorDB"), [&](QDialog* d) {
        shown = d->findChild<QPlainTextEdit*>("MemoOriginal") ? d->findChild<QPlainTextEdit*>("MemoOriginal")->toPlainText()
                                                              : QString();
        d->accept();
    });
    main->acDocsDeleteExecute();
    EXPECT_EQ(script.dialogsShown(), QStringList{"frmErrorDB"});
    EXPECT_TRUE(shown.contains(QStringLiteral("Record not found or changed by another user"))) << shown.toStdString();
    EXPECT_TRUE(script.unexpected().isEmpty()) << script.unexpected().join("; ").toStdString();
    EXPECT_EQ(count("DOCU WHERE ID=" + QString::number(id)), 1);
    EXPECT_FALSE(docu.updatesPending());
    EXPECT_EQ(docu.recordCount(), before);
    ASSERT_TRUE(docu.locate("ID", id));
    EXPECT_EQ(docu.fieldByName("COMMENT").asString(), QStringLiteral("изменено другим"));
}

TEST_F(MainWindowTest, FailedNewDocumentIsReportedAndNothingStaysPending) {
    connect();
    const qint64 before = count("DOCS");
    // A period that the database no longer has: the insert is refused by the reference.
    GL.RPeriodID = 424242;
    main->findChild<QTabBar*>("TabControl")->setCurrentIndex(1);
    ModalScript script;
    chooseFirstKind(script);
    script.acceptDialog(QStringLiteral("frmErrorDB"));
    main->acDocsNewExecute();
    EXPECT_EQ(script.dialogsShown(), (QStringList{"frmNewDoc", "frmErrorDB"}));
    EXPECT_EQ(count("DOCS"), before);
    EXPECT_FALSE(main->journalDocs()->updatesPending());
}

TEST_F(MainWindowTest, StockTabRereadsAndKeepsTheSelectedDocument) {
    connect();
    auto* tabs = main->findChild<QTabBar*>("TabControl");
    tabs->setCurrentIndex(1);
    TClientDataSet& docs = *main->journalDocs();
    ASSERT_GT(docs.recordCount(), 2);
    docs.setRecNo(2);
    const int id = docs.fieldByName("ID").asInteger();
    exec("UPDATE DOCS SET COMMENT='после сверки' WHERE ID=?", {id});
    tabs->setCurrentIndex(0);
    tabs->setCurrentIndex(1);
    EXPECT_EQ(docs.fieldByName("ID").asInteger(), id);
    EXPECT_EQ(docs.fieldByName("COMMENT").asString(), QStringLiteral("после сверки"));
    EXPECT_EQ(main->findChild<QTableView*>("DBG")->model()->rowCount(), docs.recordCount());
}

TEST_F(MainWindowTest, EnterAndDoubleClickOpenTheEditorOfTheTab) {
    connect();
    auto* grid = main->findChild<QTableView*>("DBG");
    ModalScript script;
    script.acceptDialog(QStringLiteral("frmDocu")).acceptDialog(QStringLiteral("frmDocs"));
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(grid, &enter);
    main->findChild<QTabBar*>("TabControl")->setCurrentIndex(1);
    emit grid->doubleClicked(grid->model()->index(0, 0));
    EXPECT_EQ(script.dialogsShown(), (QStringList{"frmDocu", "frmDocs"}));

    // Without the right to open, Enter does nothing.
    GL.SklView = GL.SklEdit = false;
    QApplication::sendEvent(grid, &enter);
    EXPECT_EQ(script.dialogsShown().size(), 2);
}

TEST_F(MainWindowTest, ChosenPeriodReopensTheJournals) {
    connect();
    seedMarch2009([this](const QString& s) { exec(s); }, true);
    ModalScript script;
    script.onDialog(QStringLiteral("frmChoosePeriod"), [](QDialog* d) {
        GL.RPeriodID = 900;
        GL.RPeriodDate1 = QDate(2009, 3, 1);
        GL.RPeriodDate2 = QDate(2009, 3, 31);
        GL.RPeriodOpen = true;
        d->accept();
    });
    main->acChoosePeriodExecute();
    EXPECT_EQ(main->journalDocu()->recordCount(), 1);
    EXPECT_EQ(main->statusPanelText(2), QStringLiteral("РП: 01.03.2009 - 31.03.2009 (Открыт)"));

    // Period management deleting the current period: the journals follow at once.
    script.onDialog(QStringLiteral("frmPeriodMan"), [this](QDialog* d) {
        exec("DELETE FROM RPERIOD WHERE ID=900");
        GL.RPeriodID = -1;
        d->accept();
    });
    main->acRPeriodManExecute();
    EXPECT_EQ(main->journalDocu()->recordCount(), 0);
    EXPECT_EQ(main->statusPanelText(2), QStringLiteral("РП: < не выбран >"));
}

TEST_F(MainWindowTest, FailedConnectionAtStartLeavesTheProgramUpWithoutLogin) {
    AppOptions.ConnectKind = 1;
    AppOptions.LocalDBName = path + QStringLiteral(".missing");
    StartupHooks hooks = main->defaultStartupHooks();
    bool loginAsked = false;
    hooks.login = [&] { loginAsked = true; return true; };
    ModalScript script;
    script.answerOk().answerOk();
    EXPECT_EQ(RunFirstShow(hooks), StartupResult::NotConnected);
    EXPECT_FALSE(loginAsked);
    EXPECT_FALSE(GL.Connected);
    EXPECT_FALSE(script.messages().isEmpty());
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("<Соединения нет>"));
    EXPECT_TRUE(enabled("acDBConnect"));
    EXPECT_FALSE(enabled("acDocsNew"));
}

TEST_F(MainWindowTest, StartUpConnectsOpensTheJournalsAndAsksForTheOperator) {
    AppOptions.ConnectKind = 1;
    AppOptions.LocalDBName = path;
    StartupHooks hooks = main->defaultStartupHooks();
    ModalScript script;
    script.acceptDialog(QStringLiteral("frmChooseOperator"));
    EXPECT_EQ(RunFirstShow(hooks), StartupResult::Working);
    EXPECT_TRUE(GL.Connected);
    EXPECT_EQ(script.dialogsShown(), QStringList{"frmChooseOperator"});
    EXPECT_TRUE(main->journalDocu()->isActive());
    EXPECT_TRUE(main->journalDocs()->isActive());
    EXPECT_EQ(main->statusPanelText(0),
              QStringLiteral("Документов в списке: %1").arg(main->journalDocu()->recordCount()));
    hooks.closeConnection();
    EXPECT_FALSE(DM().isConnected());
}

TEST_F(MainWindowTest, DeletingWhatAnotherAttachmentDeletedIsReported) {
    connect();
    TClientDataSet& docu = *main->journalDocu();
    const int before = docu.recordCount();
    docu.last();
    const int id = docu.fieldByName("ID").asInteger();
    {
        fb::Attachment other(path);
        fb::Transaction tra(other);
        fb::exec(tra, "DELETE FROM DOCU WHERE ID=?", {id});
        tra.commit();
        other.close();
    }
    ModalScript script;
    script.answerYes().acceptDialog(QStringLiteral("frmErrorDB"));
    main->acDocsDeleteExecute();
    EXPECT_EQ(script.dialogsShown(), QStringList{"frmErrorDB"});
    EXPECT_FALSE(docu.updatesPending());
    EXPECT_EQ(docu.recordCount(), before - 1);
    EXPECT_FALSE(docu.locate("ID", id));
    EXPECT_EQ(main->statusPanelText(0), QStringLiteral("Документов в списке: %1").arg(before - 1));
}

TEST_F(MainWindowTest, ACommandsErrorStopsAtTheCommandAndReachesTheErrorHandler) {
    connect();
    ASSERT_TRUE(main->journalDocu()->isActive());
    QStringList seen;
    setUiErrorHandler([&](std::exception_ptr e) { seen << errorMessage(e); });
    main->UpdateActionsWorkingWithDB();
    ASSERT_TRUE(main->action(QStringLiteral("acDocsReload"))->isEnabled());
    const QString sql = main->journalDocu()->query().sql();
    main->journalDocu()->setCommandText(QStringLiteral("SELECT * FROM NO_SUCH_TABLE"));  // the reread now fails
    EXPECT_NO_THROW(main->action(QStringLiteral("acDocsReload"))->trigger());
    setUiErrorHandler({});
    main->journalDocu()->setCommandText(sql);  // the window lives on into the next test
    ASSERT_EQ(seen.size(), 1);
    EXPECT_TRUE(seen[0].contains(QStringLiteral("NO_SUCH_TABLE"))) << seen[0].toStdString();
}
