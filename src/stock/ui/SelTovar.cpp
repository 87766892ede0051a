#include "stock/ui/SelTovar.h"

#include "ui/Application.h"
#include "ui/DBTreeView.h"
#include "data/ClientDataSet.h"
#include "ui/DataSetModel.h"
#include "stock/core/GoodsChoice.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

namespace {

TClientDataSet* groupsDataSet(QObject* owner, const char* name) {
    auto* ds = new TClientDataSet(owner, QString::fromLatin1(name));
    DefineGoodsGroupsList(*ds);
    return ds;
}

TDBTreeView* groupTree(QWidget* parent, TClientDataSet* ds) {
    auto* tv = new TDBTreeView(parent);
    tv->setObjectName(QStringLiteral("DBTreeView"));
    tv->setIndentation(19);
    tv->setRootIsDecorated(false);
    tv->setDataSource(ds);
    tv->setIDField(QStringLiteral("ID"));
    tv->setParentIDField(QStringLiteral("PARENT_ID"));
    tv->setDisplayField(QStringLiteral("NAME"));
    tv->setRootID(-1);
    return tv;
}

QHBoxLayout* buttonRow(QDialog* dlg, const QString& okText, QPushButton*& ok, QPushButton*& cancel) {
    ok = new QPushButton(okText, dlg);
    ok->setObjectName(QStringLiteral("btnOk"));
    ok->setDefault(true);
    cancel = new QPushButton(QStringLiteral("Отмена"), dlg);
    cancel->setObjectName(QStringLiteral("btnCancel"));
    cancel->setAutoDefault(false);
    QObject::connect(ok, &QPushButton::clicked, dlg, &QDialog::accept);
    QObject::connect(cancel, &QPushButton::clicked, dlg, &QDialog::reject);
    auto* row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(ok);
    row->addWidget(cancel);
    return row;
}

}  // namespace

TfrmSelTovar::TfrmSelTovar(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("Выбор товара"));
    setModal(true);
    resize(720, 420);

    cdsTovarGr = groupsDataSet(this, "cdsTovarGr");
    cdsTovar = new TClientDataSet(this, QStringLiteral("cdsTovar"));
    DefineGroupGoodsList(*cdsTovar);

    auto* splitter = new QSplitter(this);
    PanelTree = new QWidget(splitter);
    PanelTree->setObjectName(QStringLiteral("PanelTree"));
    auto* tl = new QVBoxLayout(PanelTree);
    tl->setContentsMargins(0, 0, 0, 0);
    DBTreeView = groupTree(PanelTree, cdsTovarGr);
    tl->addWidget(DBTreeView);
    DBGrid = new QTableView(splitter);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model = new DataSetModel(cdsTovar, this);
    m_model->attachView(DBGrid);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({220, 500});

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(splitter, 1);
    lay->addLayout(buttonRow(this, QStringLiteral("Выбрать"), btnOk, btnCancel));

    connect(DBTreeView, &TDBTreeView::OnChange, this, &TfrmSelTovar::DBTreeViewChange);
    connect(DBGrid, &QTableView::doubleClicked, this, &QDialog::accept);
}

void TfrmSelTovar::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    try {
        cdsTovarGr->close();
        cdsTovarGr->open();
        LocateOrFirst(*cdsTovarGr, SelGroupID);
        DBTreeView->SelectCurrentNode();
        reloadGoods();
        LocateOrFirst(*cdsTovar, SelTovarID);
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
}

void TfrmSelTovar::reloadGoods() { OpenGroupGoods(*cdsTovar, *cdsTovarGr); }

void TfrmSelTovar::DBTreeViewChange() {
    try {
        reloadGoods();
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
}

void TfrmSelTovar::done(int result) {
    SelTovarID = CurrentListId(*cdsTovar).value_or(0);
    cdsTovar->close();
    cdsTovarGr->close();
    QDialog::done(result);
}

TfrmSelGroup::TfrmSelGroup(QWidget* parent) : QDialog(parent, Qt::Tool) {
    setWindowTitle(QStringLiteral("Группа товаров"));
    setModal(true);
    resize(320, 400);
    cdsGroup = groupsDataSet(this, "cdsGroup");
    Panel = new QWidget(this);
    Panel->setObjectName(QStringLiteral("Panel"));
    auto* pl = new QVBoxLayout(Panel);
    pl->setContentsMargins(0, 0, 0, 0);
    DBTreeView = groupTree(Panel, cdsGroup);
    pl->addWidget(DBTreeView);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(Panel, 1);
    lay->addLayout(buttonRow(this, QStringLiteral("Ok"), btnOk, btnCancel));
}

void TfrmSelGroup::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    try {
        cdsGroup->close();
        cdsGroup->open();
        LocateOrFirst(*cdsGroup, SelGroupID);
        DBTreeView->SelectCurrentNode();
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
}

void TfrmSelGroup::done(int result) {
    SelGroupID = CurrentListId(*cdsGroup).value_or(SelGroupID);
    cdsGroup->close();
    QDialog::done(result);
}
