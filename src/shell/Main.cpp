#include "shell/Main.h"
#include "stock/core/DocsJournal.h"
#include "orders/core/DocuJournal.h"
#include "data/Journal.h"

#include "reports/engine/ReportShared.h"

#include "ui/DataRoutines.h"
#include "data/DataSetRoutines.h"
#include "data/DataErrors.h"
#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/DataSetModel.h"
#include "shell/About.h"
#include "ui/AppErrorHandler.h"
#include "shell/Backup.h"
#include "ui/ErrorDB.h"
#include "ui/Help.h"
#include "shell/JournalDocs.h"
#include "shell/KeyboardState.h"
#include "shell/NewDoc.h"
#include "session/StatusText.h"
#include "shell/ConnectCommand.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QTabBar>
#include <QTableView>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

const QString kTitle = QStringLiteral("Обрикс");
const QString kNoConnection = QStringLiteral("Нет соединения с базой данных");

QIcon themed(const char* name, QStyle::StandardPixmap fallback, const QStyle* style) {
    return QIcon::fromTheme(QString::fromLatin1(name), style->standardIcon(fallback));
}

}  // namespace

TfrmMain::TfrmMain(QWidget* parent) : QMainWindow(parent) {
    setObjectName(QStringLiteral("frmMain"));
    setWindowTitle(kTitle);
    setMinimumSize(550, 250);
    QApplication::setWindowIcon(ProgramIcon());
    GL.HelpFile = HelpFileBesideExecutable();
    frCreateReportObjects();  // the shared report and its three datasets, once

    cdsDocu = new TClientDataSet(this, QStringLiteral("cdsDocu"));
    cdsDocs = new TClientDataSet(this, QStringLiteral("cdsDocs"));
    DefineDocuJournal(*cdsDocu, GL.RPeriodID);
    DefineDocsJournal(*cdsDocs, GL.RPeriodID);

    createActions();
    createMenus();
    createToolBar();
    createCentral();
    createStatusBar();

    m_idle = new QTimer(this);
    m_idle->setInterval(200);
    connect(m_idle, &QTimer::timeout, this, &TfrmMain::onIdle);
    m_idle->start();
    UpdateActionsWorkingWithDB();
}

TfrmMain::~TfrmMain() = default;

namespace {

// A command runs to its end or hands its error to the program's error handler
// at its own boundary: no exception travels through Qt's signal code.
template <class F>
auto command(F f) {
    return [f]() {
        try {
            f();
        } catch (...) {
            handleUiError(std::current_exception());
        }
    };
}

}  // namespace

// --- building -----------------------------------------------------------------

QAction* TfrmMain::makeAction(const char* name, const QString& caption, const QString& hint,
                              const QKeySequence& key, const QIcon& icon) {
    auto* a = new QAction(icon, caption, this);
    a->setObjectName(QString::fromLatin1(name));
    a->setToolTip(hint);
    a->setStatusTip(hint);
    if (!key.isEmpty()) a->setShortcut(key);
    m_actions.insert(a->objectName(), a);
    return a;
}

void TfrmMain::createActions() {
    const QStyle* s = style();
    const auto same = [this](const char* name, const QString& caption, const QKeySequence& key = {},
                                const QIcon& icon = {}) { return makeAction(name, caption, caption, key, icon); };
    const auto dots = [this](const char* name, const QString& caption) {
        QString hint = caption;
        if (hint.endsWith(QStringLiteral("..."))) hint.chop(3);
        return makeAction(name, caption, hint, {}, {});
    };

    connect(same("acDocsNew", QStringLiteral("Создать документ"), QKeySequence(Qt::CTRL | Qt::Key_N),
                 themed("document-new", QStyle::SP_FileIcon, s)),
            &QAction::triggered, this, command([this] { acDocsNewExecute(); }));
    connect(same("acDocsEdit", QStringLiteral("Редактировать документ"), {},
                 themed("document-open", QStyle::SP_DialogOpenButton, s)),
            &QAction::triggered, this, command([this] { acDocsEditExecute(); }));
    connect(same("acDocsDelete", QStringLiteral("Удалить документ"), QKeySequence(Qt::CTRL | Qt::Key_Delete),
                 themed("edit-delete", QStyle::SP_TrashIcon, s)),
            &QAction::triggered, this, command([this] { acDocsDeleteExecute(); }));
    connect(same("acDocsReload", QStringLiteral("Обновить список документов"), QKeySequence(Qt::Key_F5),
                 themed("view-refresh", QStyle::SP_BrowserReload, s)),
            &QAction::triggered, this, command([this] { acDocsReloadExecute(); }));
    connect(dots("acChoosePeriod", QStringLiteral("Выбрать рабочий период...")), &QAction::triggered, this,
            command([this] { acChoosePeriodExecute(); }));
    connect(makeAction("acDocsExit", QStringLiteral("Выход"), QString(), {},
                       themed("application-exit", QStyle::SP_DialogCloseButton, s)),
            &QAction::triggered, this, command([this] { close(); }));

    const struct { const char* action; const char* caption; const char* window; const char* icon;
                   QStyle::StandardPixmap fallback; } books[] = {
        {"acBookTovar", "Справочник товаров", "frmBookTovar", "package-x-generic", QStyle::SP_DirIcon},
        {"acBookUsluga", "Справочник услуг", "frmBookUsluga", "preferences-system", QStyle::SP_FileDialogListView},
        {"acBookProduct", "Справочник изделий", "frmBookProduct", "folder", QStyle::SP_DirClosedIcon},
        {"acBookColor", "Справочник цветов", "frmBookColor", "preferences-desktop-theme", QStyle::SP_DesktopIcon},
        {"acBookMaterial", "Справочник материалов", "frmBookMaterial", "text-x-generic", QStyle::SP_FileDialogDetailedView},
        {"acBookComment", "Справочник особых отметок", "frmBookComment", "mail-attachment", QStyle::SP_FileDialogInfoView},
        {"acBookZakazch", "Справочник заказчиков", "frmBookZakazch", "system-users", QStyle::SP_DirHomeIcon},
        {"acBookOperator", "Справочник операторов", "frmBookOperator", "preferences-desktop-personal", QStyle::SP_ComputerIcon},
    };
    for (const auto& b : books) {
        const QString window = QString::fromLatin1(b.window);
        connect(same(b.action, QString::fromUtf8(b.caption), {}, themed(b.icon, b.fallback, s)), &QAction::triggered,
                this, command([this, window] { openModal(window); }));
    }

    const struct { const char* action; const char* caption; const char* window; } reports[] = {
        {"acRepSummaKvit", "Сумма заказов по дням...", "frmRpSummaKvit"},
        {"acRepUslugaKind", "Предоставленные услуги по видам...", "frmRpUslugaKind"},
        {"acRepKartaZak", "Карточка заказчика...", "frmRpKartaZak"},
        {"acRepPrihod", "Приход на склад за период...", "frmRpPrihod"},
        {"acRepRashod", "Расход со склада за период...", "frmRpRashod"},
        {"acRepRealiz", "Реализация со склада за период...", "frmRpRealiz"},
        {"acRepNalich", "Наличие на складе...", "frmRpNalich"},
        {"acOptionsUchet", "Настройка параметров...", "frmOptionsUchet"},
        {"acHelpAbout", "О программе...", "frmAbout"},
    };
    for (const auto& r : reports) {
        const QString window = QString::fromLatin1(r.window);
        connect(dots(r.action, QString::fromUtf8(r.caption)), &QAction::triggered, this,
                command([this, window] { openModal(window); }));
    }
    connect(makeAction("acManagePrintForms", QStringLiteral("Управление печатными формами"), QString(), {}, {}),
            &QAction::triggered, this, command([this] { openModal(QStringLiteral("frmSelectRep")); }));
    connect(same("acRPeriodMan", QStringLiteral("Управление рабочими периодами")), &QAction::triggered, this,
            command([this] { acRPeriodManExecute(); }));
    QAction* options = makeAction("acOptionsApp", QStringLiteral("Настройка программы..."),
                                  QStringLiteral("Настройка программы"), {},
                                  themed("preferences-other", QStyle::SP_FileDialogContentsView, s));
    connect(options, &QAction::triggered, this, command([this] { openModal(QStringLiteral("frmOptions")); }));
    // The administrator's backup of the database (the rule in Backup.h).
    connect(makeAction("acBackup", QStringLiteral("Резервная копия…"), QStringLiteral("Резервная копия базы данных"),
                       {}, themed("document-save-as", QStyle::SP_DriveHDIcon, s)),
            &QAction::triggered, this, command([this] {
                if (requireConnection()) RunBackupCommand(this);
            }));
    connect(same("acHelpHelp", QStringLiteral("Справка"), QKeySequence(Qt::Key_F1),
                 themed("help-browser", QStyle::SP_DialogHelpButton, s)),
            &QAction::triggered, this, command([] { OpenHelpFile(); }));
    connect(dots("acDBConnect", QStringLiteral("Подключиться к базе данных...")), &QAction::triggered, this,
            command([this] { acDBConnectExecute(); }));
    // Shortcuts work while the tool bar or menu is elsewhere.
    for (QAction* a : std::as_const(m_actions)) addAction(a);
}

void TfrmMain::createMenus() {
    const auto fill = [this](const QString& title, const char* const* items) {
        QMenu* menu = menuBar()->addMenu(title);
        for (; *items; ++items) {
            if (qstrcmp(*items, "-") == 0) menu->addSeparator();
            else menu->addAction(m_actions.value(QString::fromLatin1(*items)));
        }
    };
    static const char* const docs[] = {"acDocsNew", "acDocsEdit", "acDocsDelete", "-", "acDocsReload", "-",
                                       "acChoosePeriod", "-", "acDocsExit", nullptr};
    static const char* const books[] = {"acBookTovar", "acBookUsluga", "acBookProduct", "acBookColor",
                                        "acBookMaterial", "acBookComment", "acBookZakazch", "acBookOperator",
                                        nullptr};
    static const char* const reps[] = {"acRepSummaKvit", "acRepUslugaKind", "-", "acRepKartaZak", "-",
                                       "acRepPrihod", "acRepRashod", "acRepRealiz", "acRepNalich", "-",
                                       "acManagePrintForms", nullptr};
    static const char* const periods[] = {"acRPeriodMan", nullptr};
    static const char* const opts[] = {"acOptionsUchet", "acOptionsApp", "-", "acBackup", nullptr};
    static const char* const help[] = {"acHelpHelp", "-", "acHelpAbout", nullptr};
    fill(QStringLiteral("Документы"), docs);
    fill(QStringLiteral("Справочники"), books);
    fill(QStringLiteral("Отчеты"), reps);
    fill(QStringLiteral("Рабочие периоды"), periods);
    fill(QStringLiteral("Настройка"), opts);
    fill(QStringLiteral("Справка"), help);
}

void TfrmMain::createToolBar() {
    ToolBar = addToolBar(QStringLiteral("ToolBar"));
    ToolBar->setObjectName(QStringLiteral("ToolBar"));
    ToolBar->setMovable(false);
    static const char* const items[] = {"acDocsNew", "acDocsEdit", "acDocsDelete", "-", "acDocsReload", "-",
                                        "acBookTovar", "acBookUsluga", "acBookProduct", "acBookColor",
                                        "acBookMaterial", "acBookZakazch", "acBookOperator", "-", "acHelpHelp"};
    for (const char* item : items) {
        if (qstrcmp(item, "-") == 0) ToolBar->addSeparator();
        else ToolBar->addAction(m_actions.value(QString::fromLatin1(item)));
    }
}

void TfrmMain::createCentral() {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    LabelAllScreen = new QLabel(central);
    LabelAllScreen->setObjectName(QStringLiteral("LabelAllScreen"));
    LabelAllScreen->hide();

    DBG = new QTableView(central);
    DBG->setObjectName(QStringLiteral("DBG"));
    DBG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBG->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBG->setSelectionMode(QAbstractItemView::SingleSelection);
    DBG->setShowGrid(true);
    DBG->verticalHeader()->hide();
    DBG->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    DBG->installEventFilter(this);
    connect(DBG, &QTableView::doubleClicked, this, [this] {
        UpdateActionsWorkingWithDB();
        action(QStringLiteral("acDocsEdit"))->trigger();
    });

    TabControl = new QTabBar(central);
    TabControl->setObjectName(QStringLiteral("TabControl"));
    TabControl->setShape(QTabBar::RoundedSouth);
    TabControl->setExpanding(false);
    TabControl->addTab(QStringLiteral("Предоставление услуг"));
    TabControl->addTab(QStringLiteral("Складские операции"));
    TabControl->setCurrentIndex(0);

    m_model = new DataSetModel(cdsDocu, this);
    m_model->attachView(DBG);
    connect(TabControl, &QTabBar::currentChanged, this, [this](int index) { command([this, index] { TabControlChange(index); })(); });

    layout->addWidget(LabelAllScreen);
    layout->addWidget(DBG, 1);
    layout->addWidget(TabControl);
    setCentralWidget(central);
}

void TfrmMain::createStatusBar() {
    SB = new QStatusBar(this);
    SB->setObjectName(QStringLiteral("SB"));
    SB->setSizeGripEnabled(true);
    for (int i = 0; i < 6; ++i) {
        auto* panel = new QLabel(SB);
        panel->setObjectName(QStringLiteral("SBPanel%1").arg(i));
        panel->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        SB->addPermanentWidget(panel);
        m_panels << panel;
    }
    setStatusBar(SB);
    layoutStatusPanels();
}

int TfrmMain::statusPanelTextWidth(int panel) const {
    QLabel* p = m_panels[panel];
    return p->fontMetrics().horizontalAdvance(p->text()) + 2 * p->frameWidth() + 2 * p->margin() + 10;
}

void TfrmMain::layoutStatusPanels() {
    std::array<int, 6> text;
    for (int i = 0; i < 6; ++i) text[size_t(i)] = statusPanelTextWidth(i);
    const int gaps = 6 * (SB->layout() ? SB->layout()->spacing() + 4 : 8);
    const int grip = style()->pixelMetric(QStyle::PM_SizeGripSize) + 8;
    const std::array<int, 6> w = StatusPanelWidths(text, SB->width() - gaps - grip);
    for (int i = 0; i < 6; ++i) m_panels[i]->setFixedWidth(w[size_t(i)]);
}

// --- journals and status ----------------------------------------------------

TJournalTab TfrmMain::currentTab() const { return JournalTabOfIndex(TabControl->currentIndex()); }

TClientDataSet* TfrmMain::currentJournal() const { return currentTab() == TJournalTab::Docs ? cdsDocs : cdsDocu; }

QString TfrmMain::statusPanelText(int panel) const {
    return panel >= 0 && panel < m_panels.size() ? m_panels[panel]->text() : QString();
}

void TfrmMain::UpdateStatusBar() {
    setWindowTitle(kTitle);
    TClientDataSet* journal = currentJournal();
    m_panels[0]->setText(StatusCountText(GL.Connected, journal->isActive() ? journal->recordCount() : 0));
    if (GL.Connected) {
        m_panels[1]->setText(StatusRoleText(GL));
        m_panels[2]->setText(StatusPeriodText(GL));
    }
    layoutStatusPanels();
}

void TfrmMain::OpenJournals() {
    if (!m_lookupsBound) {
        BindJournalLookups(*cdsDocu, *cdsDocs, DM());
        m_lookupsBound = true;
    }
    DM().openDocuLU(GL.RPeriodID);
    OpenJournalOnPeriod(*cdsDocu, GL.RPeriodID);
    OpenJournalOnPeriod(*cdsDocs, GL.RPeriodID);
    showJournal(currentJournal());
    UpdateStatusBar();
}

void TfrmMain::showJournal(TClientDataSet* journal) {
    m_model->setDataSet(journal);
    m_model->setStretchField(JournalStretchField(journal == cdsDocs ? TJournalTab::Docs : TJournalTab::Docu));
    m_model->applyColumnWidths(DBG);
}

void TfrmMain::ReopenJournals() {
    if (!DMExists() || !DM().isConnected()) {
        UpdateStatusBar();
        return;
    }
    OpenJournals();
}

void TfrmMain::TabControlChange(int index) {
    const TJournalTab tab = JournalTabOfIndex(index);
    TClientDataSet* journal = tab == TJournalTab::Docs ? cdsDocs : cdsDocu;
    showJournal(journal);
    if (journal->isActive()) {
        if (tab == TJournalTab::Docs) DM().openDocuLU(GL.RPeriodID);
        RefreshAndLocate(*journal);
    }
    UpdateStatusBar();
}

// --- commands ---------------------------------------------------------------

void TfrmMain::UpdateActionsWorkingWithDB() {
    const TClientDataSet* journal = currentJournal();
    const bool empty = !journal->isActive() || journal->isEmpty();
    const auto states = CommandEnabling(GL.Connected, currentTab(), empty, GL);
    for (auto it = states.cbegin(); it != states.cend(); ++it)
        if (QAction* a = m_actions.value(it.key())) a->setEnabled(it.value() && !m_commandsSuspended);
    action(QStringLiteral("acBackup"))->setEnabled(BackupCommandEnabled(GL.Connected, GL) && !m_commandsSuspended);
}

void TfrmMain::onIdle() {
    UpdateActionsWorkingWithDB();
    updateKeyboardIndicators();
}

void TfrmMain::updateKeyboardIndicators() {
    const TKeyboardLocks locks = ReadKeyboardLocks();
    const QString caps = locks.caps ? QStringLiteral("CAPS") : QString();
    const QString num = locks.num ? QStringLiteral("NUM") : QString();
    if (caps == m_panels[3]->text() && num == m_panels[4]->text()) return;
    m_panels[3]->setText(caps);
    m_panels[4]->setText(num);
    layoutStatusPanels();
}

bool TfrmMain::requireConnection() {
    if (GL.Connected && DMExists() && DM().isConnected()) return true;
    TitledMessageBox(kNoConnection, mbWarningOk);
    return false;
}

void TfrmMain::openModal(const QString& windowName) {
    if (auto* dlg = Window<QDialog>(windowName)) execModal(dlg);
}

void TfrmMain::openEditor(bool isNew) {
    auto* dlg = Window<QDialog>(DocumentEditorWindow(currentTab()));
    if (!dlg) return;
    if (auto* editor = dynamic_cast<IDocumentEditor*>(dlg)) editor->setIsNewDoc(isNew);
    execModal(dlg);
}

void TfrmMain::acDocsNewExecute() {
    if (!requireConnection()) return;
    const QString refusal = NewDocumentRefusal(GL);
    if (!refusal.isEmpty()) {
        TitledMessageBox(refusal, mbWarningOk);
        return;
    }
    auto* chooser = Window<TfrmNewDoc>(QStringLiteral("frmNewDoc"));
    if (!chooser) return;
    const bool stock = currentTab() == TJournalTab::Docs;
    chooser->setTypeDoc(NewDocumentTypeDoc(currentTab()));
    if (execModal(chooser) != QDialog::Accepted) return;
    const int kind = chooser->selectedKindId();
    if (kind < 0) return;
    if (stock) AppendNewDocs(kind);
    else AppendNewDocu(kind);
}

void TfrmMain::AppendNewDocu(int kind) {
    AppendNewDocuRow(*cdsDocu, kind);
    const QString error = ApplyJournal(*cdsDocu);
    if (!error.isEmpty()) {
        UpdateStatusBar();
        ReportJournalApplyError(error);
        return;
    }
    openEditor(true);
    UpdateStatusBar();
}

void TfrmMain::AppendNewDocs(int kind) {
    AppendNewDocsRow(*cdsDocs, kind);
    const QString error = ApplyJournal(*cdsDocs);
    if (!error.isEmpty()) {
        UpdateStatusBar();
        ReportJournalApplyError(error);
        return;
    }
    openEditor(true);
    UpdateStatusBar();
}

void TfrmMain::acDocsEditExecute() {
    TClientDataSet* journal = currentJournal();
    if (!journal->isActive() || journal->isEmpty()) return;
    openEditor(false);
}

void TfrmMain::acDocsDeleteExecute() {
    if (!requireConnection()) return;
    TClientDataSet* journal = currentJournal();
    if (!journal->isActive() || journal->isEmpty()) return;
    const QString refusal = DeleteDocumentRefusal(GL);
    if (!refusal.isEmpty()) {
        TitledMessageBox(refusal, mbWarningOk);
        return;
    }
    if (TitledMessageBox(DeleteDocumentQuestion(*journal), mbQuestionYesNo | mbDefaultNo) != idYes) return;
    DeleteJournalRow(*journal);
    const QString error = ApplyJournal(*journal);
    UpdateStatusBar();
    if (!error.isEmpty()) ReportJournalApplyError(error);
}

void TfrmMain::acDocsReloadExecute() {
    TClientDataSet* journal = currentJournal();
    if (journal->isActive()) RefreshAndLocate(*journal);
    UpdateStatusBar();
}

void TfrmMain::acChoosePeriodExecute() {
    if (!requireConnection()) return;
    auto* dlg = Window<QDialog>(QStringLiteral("frmChoosePeriod"));
    if (!dlg) return;
    if (execModal(dlg) == QDialog::Accepted) ReopenJournals();
}

void TfrmMain::acRPeriodManExecute() {
    if (!requireConnection()) return;
    openModal(QStringLiteral("frmPeriodMan"));
    // A period deleted, closed or reopened there shows at once.
    ReopenJournals();
}

void TfrmMain::acDBConnectExecute() {
    if (connectDatabase()) OpenJournals();
    UpdateStatusBar();
}

bool TfrmMain::connectDatabase() { return RunConnectCommand(); }

// --- start and stop ---------------------------------------------------------

StartupHooks TfrmMain::defaultStartupHooks() {
    StartupHooks h;
    h.clearCaption = [this] { LabelAllScreen->clear(); };
    // At start the journals are filled only after the login: nobody sees the
    // customers before an operator has logged in.
    h.connect = [this] {
        connectDatabase();
        UpdateStatusBar();
    };
    h.openJournals = [this] {
        if (GL.Connected && DMExists() && DM().isConnected()) OpenJournals();
    };
    h.updateStatusBar = [this] { UpdateStatusBar(); };
    h.setIdleHandler = [this] { m_idle->start(); };
    h.hideHintPanel = [] {
        auto* docu = Window<QWidget>(QStringLiteral("frmDocu"));
        if (!docu) return;
        if (auto* panel = docu->findChild<QWidget*>(QStringLiteral("PanelHint")); panel && panel->isVisibleTo(docu)) {
            const int h = panel->height();
            panel->hide();
            docu->resize(docu->width(), docu->height() - h);
        }
    };
    h.suspendCommands = [this] {
        m_commandsSuspended = true;
        UpdateActionsWorkingWithDB();
    };
    h.resumeCommands = [this] {
        m_commandsSuspended = false;
        UpdateActionsWorkingWithDB();
    };
    h.login = [] {
        auto* dlg = Window<QDialog>(QStringLiteral("frmChooseOperator"));
        return dlg && execModal(dlg) == QDialog::Accepted;
    };
    h.closeMainWindow = [this] { QTimer::singleShot(0, this, &QWidget::close); };
    h.closeConnection = [this] {
        cdsDocu->close();
        cdsDocs->close();
        if (DMExists()) DM().disconnectDatabase();
        GL.Connected = false;
    };
    return h;
}

void TfrmMain::setStartupHooks(const StartupHooks& hooks) {
    m_hooks = hooks;
    m_hasStartup = true;
}

void TfrmMain::showEvent(QShowEvent* e) {
    QMainWindow::showEvent(e);
    if (m_firstShown || !m_hasStartup) return;
    m_firstShown = true;
    // After the window is on screen, like the first showing's handler.
    QTimer::singleShot(0, this, [this] { m_startupResult = RunFirstShow(m_hooks); });
}

void TfrmMain::closeEvent(QCloseEvent* e) {
    if (m_hasStartup && !m_stopped) {
        m_stopped = true;
        RunStop(m_hooks);
    }
    QMainWindow::closeEvent(e);
}

void TfrmMain::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    layoutStatusPanels();
}

bool TfrmMain::eventFilter(QObject* watched, QEvent* event) {
    if (watched == DBG && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            UpdateActionsWorkingWithDB();
            action(QStringLiteral("acDocsEdit"))->trigger();
            return true;
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void RegisterMainWindow() {
    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmMain"), [] { return new TfrmMain; });
    reg.registerFactory(QStringLiteral("frmNewDoc"), [] { return new TfrmNewDoc; });
    reg.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
    reg.registerFactory(QStringLiteral("frmErrorMes"), [] { return new TfrmErrorMes; });
}
