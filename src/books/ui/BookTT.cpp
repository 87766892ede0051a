#include "books/ui/BookTT.h"

#include "books/core/BookCommands.h"
#include "books/core/GroupCommands.h"

#include "ui/DataRoutines.h"
#include "data/DataSetRoutines.h"
#include "ui/MessageBoxes.h"
#include "ui/WindowRegistry.h"
#include "ui/DBTreeView.h"
#include "books/ui/ExchangeWindows.h"
#include "books/ui/FrameFastFind.h"
#include "books/ui/RecordDialogs.h"
#include "data/ClientDataSet.h"
#include "ui/DataSetModel.h"
#include "data/StoredProc.h"
#include "ui/AppErrorHandler.h"

#include <QAction>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QVBoxLayout>

namespace {
const QString kId = QStringLiteral("ID");

}  // namespace

TfrmBookTT::TfrmBookTT(const books::TreeBookConfig& c, QWidget* parent) : TBookBase(c, parent), m_config(c) {
    setWindowTitle(QStringLiteral("Справочник: ") + c.bookTitle);
    cdsBook->setCommandText(c.recordsSql);
    cdsBookGroup = new TClientDataSet(this, QStringLiteral("cdsBookGroup"));
    cdsBookGroup->setCommandText(c.groupsSql);
    cdsBookGroup->setTableName(c.groupTable);
    cdsBookGroup->setOnReconcileError(
        [this](TClientDataSet& ds, const TApplyFailure& f) { return BookReconcileError(ds, f); });
    cdsBookGroupLU = new TClientDataSet(this, QStringLiteral("cdsBookGroupLU"));
    cdsBookGroupLU->setCommandText(c.groupsLookupSql);
    cdsBookGroupLU->setReadOnly(true);
    xpGetGroupId = new TStoredProc(this, QStringLiteral("xpGetGroupId"));
    xpGetGroupId->setStoredProcName(c.groupIdProc);

    buildCommands(true);
    acTreeNew = command("acTreeNew");
    acTreeDelete = command("acTreeDelete");
    acTreeRename = command("acTreeRename");
    acViewTree = command("acViewTree");
    acViewPlain = command("acViewPlain");
    for (QAction* a : {acViewTree, acViewPlain}) connect(a, &QAction::triggered, this, &TfrmBookTT::acViewTreeExecute);
    connect(acTreeNew, &QAction::triggered, this, &TfrmBookTT::acTreeNewExecute);
    connect(acTreeDelete, &QAction::triggered, this, &TfrmBookTT::acTreeDeleteExecute);
    connect(acTreeRename, &QAction::triggered, this, &TfrmBookTT::acTreeRenameExecute);
    miSort[2]->setVisible(false);
    miSort[3]->setVisible(false);

    auto* splitter = new QSplitter(this);
    splitter->setObjectName(QStringLiteral("Splitter2"));
    PanelLeft = new QWidget(splitter);
    PanelLeft->setObjectName(QStringLiteral("PanelLeft"));
    auto* lv = new QVBoxLayout(PanelLeft);
    lv->setContentsMargins(0, 0, 0, 0);
    DBTV = new TDBTreeView(PanelLeft);
    DBTV->setObjectName(QStringLiteral("DBTV"));
    DBTV->setIndentation(19);
    DBTV->setRootIsDecorated(false);
    DBTV->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBTV->setDataSource(cdsBookGroup);
    DBTV->setDisplayField(QStringLiteral("NAME"));
    DBTV->setIDField(kId);
    DBTV->setParentIDField(QStringLiteral("PARENT_ID"));
    DBTV->setRootID(-1);
    lv->addWidget(DBTV);
    connect(DBTV, &TDBTreeView::OnChange, this, &TfrmBookTT::DBTVChange);
    PanelMain = new QWidget(splitter);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    auto* mv = new QVBoxLayout(PanelMain);
    mv->setContentsMargins(0, 0, 0, 0);
    mv->addWidget(FrameFastFind);
    mv->addWidget(DBG, 1);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 540});
    m_main->addWidget(ToolBar);
    m_main->addWidget(splitter, 1);
    m_main->addWidget(StatusBar);
    model->setStretchField(QStringLiteral("NAME"));
}

bool TfrmBookTT::groupView() const { return acViewTree->isChecked(); }

void TfrmBookTT::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TfrmBookTT::FormShow() {
    try {
        if (m_config.kindFilter) cdsBookGroup->query().setParam(QStringLiteral("KINDDOC_ID"), KindFilter);
        cdsBookGroup->open();
        DBTV->setEnabled(groupView());
        if (groupView()) DBTV->setFocus();
        showRecords();
        cdsBookGroupLU->close();
        cdsBookGroupLU->open();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    attachDialog();
    if (auto* d = dynamic_cast<TfrmNewRecord*>(EditDialog())) d->GroupList = cdsBookGroupLU;
    if (auto* g = Window<TfrmNewGroup>(QStringLiteral("frmNewGroup"))) {
        g->bindTo(cdsBookGroup, cdsBookGroupLU, m_config.showsKindDoc);
        DBTV->EditForm = g;
    }
    ActionListUpdate();
    UpdateStatusBar();
}

void TfrmBookTT::UpdateStatusBar() {
    TClientDataSet* lu = LookupToRefresh();
    const int inGroup = cdsBook->isActive() ? cdsBook->recordCount() : 0;
    StatusBar->setText(books::BookStatusText(lu && lu->isActive() ? lu->recordCount() : 0,
                                             groupView() ? std::optional<int>(inGroup) : std::nullopt));
}

void TfrmBookTT::showRecords() {
    if (!cdsBookGroup->isActive()) return;
    RefreshGroupAndLocate(*cdsBook, cdsBook->query(), *cdsBookGroup, groupView());
    ActionListUpdate();
    UpdateStatusBar();
}

void TfrmBookTT::DBTVChange() {
    try {
        showRecords();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void TfrmBookTT::reloadRecords() {
    books::ReadGroupsAgain(*cdsBookGroup, books::GroupInView(*cdsBookGroup));
    showRecords();
}

void TfrmBookTT::reopenGroupList() {
    cdsBookGroupLU->close();
    cdsBookGroupLU->open();
}

void TfrmBookTT::acViewTreeExecute() {
    DBTV->setEnabled(groupView());
    acReloadExecute();
}

books::FieldValues TfrmBookTT::newRowValues() const {
    return {{QStringLiteral("GR_ID"), books::GroupInView(*cdsBookGroup)}};
}

void TfrmBookTT::afterEditSaved() { acReloadExecute(); }

void TfrmBookTT::groupStored(const books::GroupStored& stored) {
    if (stored.refusal) ReportJournalApplyError(*stored.refusal);
    // Confirmed or refused, the tree is built again from what the database holds.
    books::ReadGroupsAgain(*cdsBookGroup, stored.returnTo);
    showRecords();
}

void TfrmBookTT::acTreeNewExecute() {
    if (!cdsBookGroup->isActive()) return;
    try {
        const fb::Value selected = books::GroupInView(*cdsBookGroup);
        const int id = books::DrawGroupID(*xpGetGroupId);
        if (DBTV->InsertNode(DBTV->currentItem(), id))
            groupStored(books::StoreAddedGroup(*cdsBookGroup, m_config.groupTable, id, selected));
    } catch (...) {
        if (cdsBookGroup->isEditing()) cdsBookGroup->cancel();
        ShowApplicationError(std::current_exception());
    }
    try {
        reopenGroupList();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void TfrmBookTT::acTreeRenameExecute() {
    if (!DBTV->currentItem() || !books::HasRows(*cdsBookGroup)) return;
    try {
        if (DBTV->EditCurrentNode()) {
            groupStored(books::StoreEditedGroup(*cdsBookGroup, m_config.groupTable));
            reopenGroupList();
        }
    } catch (...) {
        if (cdsBookGroup->isEditing()) cdsBookGroup->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TfrmBookTT::acTreeDeleteExecute() {
    QTreeWidgetItem* node = DBTV->currentItem();
    if (!node || !books::HasRows(*cdsBookGroup)) return;
    const books::GroupDeleteAsk ask = books::AskDeleteGroup(
        *cdsBookGroup, node->childCount() > 0, cdsBook->isActive() ? cdsBook->recordCount() : 0, node->text(0));
    if (!ask.refusal.isEmpty()) {
        VendorMessageBox(ask.refusal, mbWarningOk);
        return;
    }
    if (VendorMessageBox(ask.question, mbQuestionYesNo | mbDefaultNo) != idYes) return;
    try {
        DBTV->DeleteNode(node);
        const fb::Value back = books::StoreDeletedGroup(*cdsBookGroup, ask.id);
        if (!back.isNull()) books::ReadGroupsAgain(*cdsBookGroup, back);
        showRecords();
        reopenGroupList();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void TfrmBookTT::closeBook() {
    TBookBase::closeBook();
    cdsBookGroup->close();
    cdsBookGroupLU->close();
    // The next opening from the main window shows every group again.
    KindFilter = 0;
}

void TfrmBookTT::acExportExecute() { ExportTreeBook(this, m_config); }

void TfrmBookTT::acImportExecute() {
    if (!ImportTreeBook(this, m_config)) return;
    try {
        reloadRecords();
        reopenGroupList();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    UpdateStatusBar();
}
