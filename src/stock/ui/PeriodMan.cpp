#include "stock/ui/PeriodMan.h"

#include "ui/Application.h"
#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "ui/DataSetModel.h"
#include "ui/EditorWidgets.h"
#include "ui/ErrorDB.h"
#include "ui/Help.h"
#include "stock/core/PeriodList.h"
#include "stock/core/PeriodRules.h"
#include "stock/ui/PeriodNew.h"

#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeySequence>
#include <QScreen>
#include <QScrollBar>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {

// The wait cursor while the database works out the stock.
struct WaitCursor {
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// Runs the work under the wait cursor; what it returns is shown without it.
template <class F>
TPeriodOutcome withWaitCursor(F&& work) {
    const WaitCursor wait;
    return work();
}

// The dates of the very first period, from the dates dialog.
std::optional<TPeriodDates> askFirstPeriodDates() {
    auto* dlg = Window<TfrmPeriodNew>(QStringLiteral("frmPeriodNew"));
    std::unique_ptr<TfrmPeriodNew> own;
    if (!dlg) {
        own = std::make_unique<TfrmPeriodNew>();
        dlg = own.get();
    }
    if (execModal(dlg) != QDialog::Accepted) return std::nullopt;
    return dlg->dates();
}

}  // namespace

TfrmPeriodMan::TfrmPeriodMan(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPeriodMan"));
    setWindowTitle(QStringLiteral("Управление рабочими периодами"));
    setModal(true);
    setSizeGripEnabled(true);

    cdsPeriod = MakePeriodManList(this);
    service = new PeriodService(*cdsPeriod, this);
    xpGetRPeriodId = service->xpGetRPeriodId;
    xpPeriodClose = service->xpPeriodClose;
    xpPeriodOpen = service->xpPeriodOpen;

    ToolBar1 = new QToolBar(this);
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setToolButtonStyle(Qt::ToolButtonTextOnly);
    QAction** members[] = {&acPeriodClose,  &acPeriodOpen,   &acPeriodNew,
                           &acPeriodDelete, &acPeriodReload, &acHelp};  // in the table's order
    for (size_t i = 0; i < PeriodManCommands().size(); ++i) {
        const TEditorCommand& c = PeriodManCommands()[i];
        *members[i] = commandAction(this, c);
        if (c.separatorBefore) ToolBar1->addSeparator();
        ToolBar1->addAction(*members[i]);
    }

    DBGrid = new QTableView(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    m_model = new DataSetModel(cdsPeriod, this);
    m_model->attachView(DBGrid);

    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(0, 0, 0, 0);
    lay->setSpacing(0);
    lay->addWidget(ToolBar1);
    lay->addWidget(DBGrid, 1);
    resize(720, 360);

    connect(acPeriodClose, &QAction::triggered, this, &TfrmPeriodMan::acPeriodCloseExecute);
    connect(acPeriodOpen, &QAction::triggered, this, &TfrmPeriodMan::acPeriodOpenExecute);
    connect(acPeriodNew, &QAction::triggered, this, &TfrmPeriodMan::acPeriodNewExecute);
    connect(acPeriodDelete, &QAction::triggered, this, &TfrmPeriodMan::acPeriodDeleteExecute);
    connect(acPeriodReload, &QAction::triggered, this, &TfrmPeriodMan::acPeriodReloadExecute);
    connect(acHelp, &QAction::triggered, this, &TfrmPeriodMan::acHelpExecute);
}

TCurrentPeriod TfrmPeriodMan::currentPeriod() const {
    return {GL.RPeriodID, GL.RPeriodOpen};
}

template <class F>
void TfrmPeriodMan::guarded(F&& fn) {
    try {
        fn();
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
}

void TfrmPeriodMan::report(const TPeriodOutcome& outcome) {
    // The program's current period follows what the change left.
    GL.RPeriodID = outcome.current.id;
    GL.RPeriodOpen = outcome.current.open;
    switch (outcome.kind) {
    case TPeriodOutcome::NoPeriods: TitledMessageBox(outcome.message, mbWarningOk); break;
    case TPeriodOutcome::Refused: ShowErrorWindow(outcome.message); break;
    case TPeriodOutcome::Done:
    case TPeriodOutcome::Cancelled: break;
    }
}

void TfrmPeriodMan::showEvent(QShowEvent* e) {
    guarded([this] {
        // The commands act on the selected period: start on the current one.
        ReopenPeriodList(*cdsPeriod, GL.RPeriodID, TPeriodFallback::Last);
    });
    if (!m_sized) {
        // The first size shows every column.
        m_sized = true;
        int needed = 2 * DBGrid->frameWidth() + DBGrid->verticalScrollBar()->sizeHint().width() + 4;
        if (DBGrid->verticalHeader()->isVisible()) needed += DBGrid->verticalHeader()->sizeHint().width();
        needed += m_model->columnsWidth(DBGrid);
        needed += layout()->contentsMargins().left() + layout()->contentsMargins().right();
        if (needed > width()) resize(needed, height());
    }
    QDialog::showEvent(e);
}

void TfrmPeriodMan::done(int result) {
    cdsPeriod->close();
    QDialog::done(result);
}

void TfrmPeriodMan::acPeriodCloseExecute() {
    guarded([this] {
        if (const auto none = service->missingPeriods(currentPeriod())) return report(*none);
        if (TitledMessageBox(PeriodCloseQuestion(), mbQuestionYesNo) != idYes) return;
        report(withWaitCursor([this] { return service->closeSelected(currentPeriod()); }));
    });
}

void TfrmPeriodMan::acPeriodOpenExecute() {
    guarded([this] {
        report(withWaitCursor([this] { return service->reopenSelected(currentPeriod()); }));
    });
}

void TfrmPeriodMan::acPeriodNewExecute() {
    guarded([this] { report(service->create(askFirstPeriodDates, currentPeriod())); });
}

void TfrmPeriodMan::acPeriodDeleteExecute() {
    guarded([this] {
        if (const auto none = service->missingPeriods(currentPeriod())) return report(*none);
        if (TitledMessageBox(PeriodDeleteQuestion(), mbQuestionYesNo | mbDefaultNo) != idYes) return;
        report(withWaitCursor([this] { return service->deleteSelected(currentPeriod()); }));
    });
}

void TfrmPeriodMan::acPeriodReloadExecute() {
    guarded([this] { service->reload(); });
}

void TfrmPeriodMan::acHelpExecute() { HelpContext(this, QStringLiteral("_rabper_uprav.htm")); }
