#include "orders/ui/Usluga.h"

#include "session/Global.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/FieldBinding.h"
#include "orders/ui/BookChooser.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

TfrmUsluga::TfrmUsluga(QWidget* parent) : TLineDialog(parent) {
    setObjectName(QStringLiteral("frmUsluga"));
    setWindowTitle(QStringLiteral("Добавить услугу"));
    edNum = new QLineEdit(this);
    edNum->setObjectName(QStringLiteral("edNum"));
    cbUsluga = new QComboBox(this);
    cbUsluga->setObjectName(QStringLiteral("cbUsluga"));
    cbUsluga->setMinimumContentsLength(40);
    sbBookUsluga = new QToolButton(this);
    sbBookUsluga->setObjectName(QStringLiteral("sbBookUsluga"));
    sbBookUsluga->setText(QStringLiteral("..."));
    sbBookUsluga->setToolTip(QStringLiteral("Справочник услуг"));
    edSumma = new QLineEdit(this);
    edSumma->setObjectName(QStringLiteral("edSumma"));

    auto* uslRow = new QHBoxLayout;
    uslRow->addWidget(cbUsluga, 1);
    uslRow->addWidget(sbBookUsluga);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер"), edNum);
    form->addRow(QStringLiteral("Услуга"), uslRow);
    form->addRow(QStringLiteral("Стоимость"), edSumma);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(makeButtons());
    v->setSizeConstraint(QLayout::SetFixedSize);

    setTabOrder(edNum, cbUsluga);
    setTabOrder(cbUsluga, sbBookUsluga);
    setTabOrder(sbBookUsluga, edSumma);
    setTabOrder(edSumma, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, BitBtn1);

    connect(btnOk, &QPushButton::clicked, this, &TfrmUsluga::btnOkClick);
    connect(sbBookUsluga, &QToolButton::clicked, this, &TfrmUsluga::sbBookUslugaClick);
}

QList<TFieldBinding*> TfrmUsluga::makeBindings(TClientDataSet* lines) {
    return QList<TFieldBinding*>{}
           << bindLineEdit(edNum, lines, QStringLiteral("NUM"))
               << bindComboBox(cbUsluga, lines, QStringLiteral("USLUGA_ID"), DM().cdsUslugaLU, QStringLiteral("NAME"))
               << bindLineEdit(edSumma, lines, QStringLiteral("SUMMA"));
}

void TfrmUsluga::showEvent(QShowEvent* e) {
    TLineDialog::showEvent(e);
    // Only the services of the order's kind, while the dialog is open.
    DM().cdsUslugaLU->setFilter(DocuKindFilter(m_kindDocId));
    DM().cdsUslugaLU->setFiltered(true);
    bindFields();
    for (TFieldBinding* b : m_bindings) b->refresh();
    setWindowTitle(DocuLineDialogTitle(TDocuLineKind::Service, GL.LineAppendMode));
    if (GL.LineAppendMode) cbUsluga->setFocus();
}

void TfrmUsluga::beforeClose() { DM().cdsUslugaLU->setFiltered(false); }

void TfrmUsluga::sbBookUslugaClick() {
    const std::optional<int> id =
        ChooseFromBook(QStringLiteral("frmBookUsluga"), *DM().cdsUslugaLU, QStringLiteral("NAME"), m_kindDocId);
    if (id && m_lines) SetDocuLineChoice(*m_lines, QStringLiteral("USLUGA_ID"), *id);  // the price follows the service
}

void TfrmUsluga::btnOkClick() {
    if (m_lines) m_lines->updateRecord();
    if (!CheckFilled(TDocuLineKind::Service)) return;
    AddZapis();
    accept();
}
