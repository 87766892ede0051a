#pragma once
// The main window: the journals of the current work period in two tabs
// (service orders, stock documents), the commands that create, open, delete
// and reload documents, the entry points to the books, reports, work periods,
// settings and help, and the status bar.
#include "ui/JournalHost.h"
#include "ui/Startup.h"
#include "session/CommandRules.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QStatusBar;
class QTabBar;
class QTableView;
class QTimer;
class QToolBar;
class DataSetModel;
class TClientDataSet;

class TfrmMain : public QMainWindow, public IJournalHost {
    Q_OBJECT
public:
    explicit TfrmMain(QWidget* parent = nullptr);
    ~TfrmMain() override;

    // IJournalHost
    TClientDataSet* journalDocu() override { return cdsDocu; }
    TClientDataSet* journalDocs() override { return cdsDocs; }
    void UpdateStatusBar() override;
    void ReopenJournals() override;

    // After a successful connection: binds the journals to the data module's
    // lookups and opens both on GL.RPeriodID.
    void OpenJournals();
    TClientDataSet* currentJournal() const;
    TJournalTab currentTab() const;

    // Recomputes the enabled state of the commands (run whenever idle).
    void UpdateActionsWorkingWithDB();
    QAction* action(const QString& name) const { return m_actions.value(name); }
    QString statusPanelText(int panel) const;

    // The steps of the first showing and of closing; the program sets the
    // pieces it owns (placement, login) before the window is first shown.
    // Without them the first showing does nothing (tests drive the window).
    void setStartupHooks(const StartupHooks& hooks);
    StartupHooks defaultStartupHooks();
    StartupResult startupResult() const { return m_startupResult; }

    // The commands.
    void acDocsNewExecute();
    void acDocsEditExecute();
    void acDocsDeleteExecute();
    void acDocsReloadExecute();
    void acChoosePeriodExecute();
    void acRPeriodManExecute();
    void acDBConnectExecute();
    // New documents of a kind, as after the kind choice.
    void AppendNewDocu(int kind);
    void AppendNewDocs(int kind);

    // Selecting a tab: binds the grid and re-reads that journal.
    void TabControlChange(int index);

protected:
    void showEvent(QShowEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QAction* makeAction(const char* name, const QString& caption, const QString& hint, const QKeySequence& key,
                        const QIcon& icon);
    void createActions();
    void createMenus();
    void createToolBar();
    void createCentral();
    void createStatusBar();
    void openModal(const QString& windowName);
    void openEditor(bool isNew);
    bool requireConnection();
    void layoutStatusPanels();
    int statusPanelTextWidth(int panel) const;
    void showJournal(TClientDataSet* journal);
    bool connectDatabase();
    void updateKeyboardIndicators();
    void onIdle();

    QHash<QString, QAction*> m_actions;
    QToolBar* ToolBar = nullptr;
    QTabBar* TabControl = nullptr;
    QTableView* DBG = nullptr;
    QLabel* LabelAllScreen = nullptr;
    QStatusBar* SB = nullptr;
    QList<QLabel*> m_panels;
    DataSetModel* m_model = nullptr;
    TClientDataSet* cdsDocu = nullptr;
    TClientDataSet* cdsDocs = nullptr;
    QTimer* m_idle = nullptr;
    bool m_lookupsBound = false;
    bool m_commandsSuspended = false;
    bool m_firstShown = false;
    bool m_hasStartup = false;
    bool m_stopped = false;
    StartupHooks m_hooks;
    StartupResult m_startupResult = StartupResult::NotConnected;
};

// Registers frmMain, frmNewDoc and the error windows with the window registry.
void RegisterMainWindow();
