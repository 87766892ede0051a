#pragma once
// Period management: the list of all work periods with commands to close,
// reopen, create, delete and reread them. The work itself is PeriodService's;
// this window asks the questions and shows what came of it.
#include "stock/core/PeriodService.h"

#include <QDialog>

class QAction;
class QTableView;
class QToolBar;
class TClientDataSet;
class DataSetModel;
class TStoredProc;

class TfrmPeriodMan : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPeriodMan(QWidget* parent = nullptr);

    TClientDataSet* cdsPeriod;
    PeriodService* service;
    TStoredProc* xpGetRPeriodId;
    TStoredProc* xpPeriodClose;
    TStoredProc* xpPeriodOpen;
    QToolBar* ToolBar1;
    QTableView* DBGrid;

    QAction* acPeriodClose;
    QAction* acPeriodOpen;
    QAction* acPeriodNew;
    QAction* acPeriodDelete;
    QAction* acPeriodReload;
    QAction* acHelp;

    void done(int result) override;

public slots:
    void acPeriodCloseExecute();
    void acPeriodOpenExecute();
    void acPeriodNewExecute();
    void acPeriodDeleteExecute();
    void acPeriodReloadExecute();
    void acHelpExecute();

protected:
    void showEvent(QShowEvent* e) override;

private:
    // Runs a command; an error goes to the application-wide handler.
    template <class F>
    void guarded(F&& fn);
    // A result the user must hear about: why nothing was done, or the refusal.
    void report(const TPeriodOutcome& outcome);
    // The program's current work period, as the service is given it.
    TCurrentPeriod currentPeriod() const;

    DataSetModel* m_model;
    bool m_sized = false;
};


