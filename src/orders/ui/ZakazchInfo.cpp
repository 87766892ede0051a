#include "orders/ui/ZakazchInfo.h"

#include "data/ClientDataSet.h"
#include "orders/core/CustomerOrders.h"
#include "ui/DataSetModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

TfrmZakazchInfo::TfrmZakazchInfo(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmZakazchInfo"));
    setWindowTitle(QStringLiteral("Информация о заказчике"));
    setSizeGripEnabled(true);
    resize(480, 320);

    cdsZak = new TClientDataSet(this, QStringLiteral("cdsZak"));
    cdsZak->query().setObjectName(QStringLiteral("xqZak"));
    DefineCustomerOrders(*cdsZak);

    lbZakazchName = new QLabel(this);
    lbZakazchName->setObjectName(QStringLiteral("lbZakazchName"));
    QFont bold = lbZakazchName->font();
    bold.setBold(true);
    lbZakazchName->setFont(bold);
    DBGrid1 = new QTableView(this);
    DBGrid1->setObjectName(QStringLiteral("DBGrid1"));
    DBGrid1->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_model = new DataSetModel(cdsZak, this);
    m_model->attachView(DBGrid1);
    btnClose = new QPushButton(QStringLiteral("Закрыть"), this);
    btnClose->setObjectName(QStringLiteral("btnClose"));
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);  // Escape as well

    auto* v = new QVBoxLayout(this);
    v->addWidget(lbZakazchName);
    v->addWidget(new QLabel(QStringLiteral("Заказы сгруппированные по годам"), this));
    v->addWidget(DBGrid1, 1);
    auto* h = new QHBoxLayout;
    h->addStretch();
    h->addWidget(btnClose);
    v->addLayout(h);
}

void TfrmZakazchInfo::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    lbZakazchName->setText(ZakazchName);
    OpenCustomerOrders(*cdsZak, ZakazchID);
}

void TfrmZakazchInfo::done(int r) {
    cdsZak->close();
    QDialog::done(r);
}
