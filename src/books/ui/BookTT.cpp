#include "books/ui/BookTT.h"

#include "books/core/BookCommands.h"

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
#include <QActionGroup>
#include <QLabel>
#include <QSplitter>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
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

    buildCommands(QKeySequence(Qt::Key_Delete));
    const auto make = [this](const char* name, const QString& caption, QStyle::StandardPixmap icon) {
        auto* a = new QAction(style()->standardIcon(icon), caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(caption);
        return a;
    };
    acTreeNew = make("acTreeNew", QStringLiteral("Добавить группу"), QStyle::SP_FileDialogNewFolder);
    acTreeDelete = make("acTreeDelete", QStringLiteral("Удалить группу"), QStyle::SP_DialogDiscardButton);
    acTreeRename = make("acTreeRename", QStringLiteral("Редактировать группу"), QStyle::SP_FileDialogInfoView);
    acViewTree = make("acViewTree", QStringLiteral("Просмотр по группам"), QStyle::SP_DirOpenIcon);
    acViewPlain = make("acViewPlain", QStringLiteral("Просмотр списком"), QStyle::SP_FileDialogListView);
    auto* views = new QActionGroup(this);
    views->setExclusive(true);
    for (QAction* a : {acViewTree, acViewPlain}) {
        a->setCheckable(true);
        views->addAction(a);
        connect(a, &QAction::triggered, this, &TfrmBookTT::acViewTreeExecute);
    }
    acViewTree->setChecked(true);
    connect(acTreeNew, &QAction::triggered, this, &TfrmBookTT::acTreeNewExecute);
    connect(acTreeDelete, &QAction::triggered, this, &TfrmBookTT::acTreeDeleteExecute);
    connect(acTreeRename, &QAction::triggered, this, &TfrmBookTT::acTreeRenameExecute);

    ToolBar->setObjectName(QStringLiteral("ToolBar2"));
    ToolBar->addAction(acTreeNew);
    ToolBar->addAction(acTreeDelete);
    ToolBar->addAction(acTreeRename);
    ToolBar->addSeparator();
    ToolBar->addAction(acViewTree);
    ToolBar->addAction(acViewPlain);
    ToolBar->addSeparator();
    ToolBar->addAction(acAppend);
    ToolBar->addAction(acAppendCopy);
    ToolBar->addAction(acDelete);
    ToolBar->addAction(acEdit);
    ToolBar->addSeparator();
    ToolBar->addAction(acReload);
    ToolBar->addSeparator();
    ToolBar->addWidget(sbSort);
    ToolBar->addAction(acFastFind);
    ToolBar->addAction(acExport);
    ToolBar->addAction(acImport);
    ToolBar->addSeparator();
    ToolBar->addAction(acHelp);
    ToolBar->addSeparator();
    ToolBar->addAction(acEnter);
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
    reloadGroups(cdsBookGroup->isActive() && !cdsBookGroup->isEmpty() ? cdsBookGroup->fieldByName(kId).value()
                                                                      : fb::Value());
    showRecords();
}

void TfrmBookTT::reloadGroups(const fb::Value& id) {
    cdsBookGroup->close();
    cdsBookGroup->open();
    if (!id.isNull()) cdsBookGroup->locate(kId, id);
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

bool TfrmBookTT::applyGroups() {
    const int id = int(cdsBookGroup->fieldByName(kId).value().toInt());
    const std::optional<QString> refusal = books::SaveGroups(*cdsBookGroup, m_config.groupTable, id);
    if (refusal) ReportJournalApplyError(*refusal);
    return !refusal;
}

void TfrmBookTT::acTreeNewExecute() {
    if (!cdsBookGroup->isActive()) return;
    try {
        const fb::Value selected = cdsBookGroup->isEmpty() ? fb::Value() : cdsBookGroup->fieldByName(kId).value();
        xpGetGroupId->execute();
        const int id = int(xpGetGroupId->paramByName(kId).toInt());
        if (DBTV->InsertNode(DBTV->currentItem(), id)) {
            const fb::Value back = applyGroups() ? fb::Value(id) : fb::Value();
            // The tree is built again from what the database holds (a refused
            // group leaves no node behind); the new group is selected.
            reloadGroups(back.isNull() ? selected : back);
            showRecords();
        }
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
    if (!DBTV->currentItem() || !cdsBookGroup->isActive() || cdsBookGroup->isEmpty()) return;
    const fb::Value id = cdsBookGroup->fieldByName(kId).value();
    try {
        if (DBTV->EditCurrentNode()) {
            applyGroups();
            // Confirmed or refused, the tree shows what the database holds.
            reloadGroups(id);
            showRecords();
            reopenGroupList();
        }
    } catch (...) {
        if (cdsBookGroup->isEditing()) cdsBookGroup->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TfrmBookTT::acTreeDeleteExecute() {
    QTreeWidgetItem* node = DBTV->currentItem();
    if (!node || !cdsBookGroup->isActive() || cdsBookGroup->isEmpty()) return;
    const int id = int(cdsBookGroup->fieldByName(kId).asInteger());
    const int records = cdsBook->isActive() ? cdsBook->recordCount() : 0;
    const QString refusal = books::GroupDeleteRefusal(books::CanDeleteGroup(id, node->childCount() > 0, records), node->text(0));
    if (!refusal.isEmpty()) {
        VendorMessageBox(refusal, mbWarningOk);
        return;
    }
    if (VendorMessageBox(books::GroupDeleteQuestion(node->text(0)), mbQuestionYesNo | mbDefaultNo) != idYes) return;
    try {
        DBTV->DeleteNode(node);
        if (cdsBookGroup->applyUpdates() != 0) reloadGroups(fb::Value(id));
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
