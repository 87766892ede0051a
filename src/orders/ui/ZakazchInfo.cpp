#include "orders/ui/ZakazchInfo.h"

#include "data/ClientDataSet.h"
#include "ui/DataSetModel.h"
#include "data/FieldMoneyText.h"

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
    cdsZak->setCommandText(QStringLiteral(
        "SELECT EXTRACT(YEAR FROM D.DATEP) AS YEARP, COUNT(D.ID) AS DOCU_CNT,\n"
        "  SUM( (SELECT COUNT(*) FROM PMOVES WHERE DOC_ID=D.ID )) AS IZD_CNT,\n"
        "  SUM(D.TOTAL) AS TOTAL\n"
        "FROM DOCU D WHERE D.ZAKAZCH_ID=:ZAKAZCH_ID\n"
        "GROUP BY YEARP ORDER BY YEARP"));
    cdsZak->setKeepServerOrder(true);
    cdsZak->setReadOnly(true);
    cdsZak->addField(QStringLiteral("YEARP"), TFieldType::SmallInt).setDisplayLabel(QStringLiteral("Год"));
    cdsZak->addField(QStringLiteral("DOCU_CNT"), TFieldType::Integer).setDisplayLabel(QStringLiteral("Заказы"));
    cdsZak->addField(QStringLiteral("IZD_CNT"), TFieldType::Decimal).setScale(0).setDisplayLabel(QStringLiteral("Изделия"));
    cdsZak->addField(QStringLiteral("TOTAL"), TFieldType::Decimal)
        .setScale(2)
        .setDisplayLabel(QStringLiteral("Сумма"))
        .setOnGetText([](const TField& f) { return FieldMoneyText(f); });

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
    cdsZak->close();
    cdsZak->query().setParam(QStringLiteral("ZAKAZCH_ID"), ZakazchID);
    cdsZak->open();
}

void TfrmZakazchInfo::done(int r) {
    cdsZak->close();
    QDialog::done(r);
}
