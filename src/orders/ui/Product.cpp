#include "orders/ui/Product.h"

#include "orders/core/DocuEditRules.h"

#include "ui/DataRoutines.h"
#include "session/Global.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/FieldBinding.h"

#include <QComboBox>
#include <QCompleter>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QComboBox* freeTextCombo(QWidget* parent, const char* name) {
    auto* cb = new QComboBox(parent);
    cb->setObjectName(QString::fromLatin1(name));
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->completer()->setCompletionMode(QCompleter::InlineCompletion);
    cb->completer()->setCaseSensitivity(Qt::CaseInsensitive);
    return cb;
}
}  // namespace

TfrmProduct::TfrmProduct(QWidget* parent) : TLineDialog(parent) {
    setObjectName(QStringLiteral("frmProduct"));
    setWindowTitle(QStringLiteral("Добавить изделие"));
    edNum = new QLineEdit(this);
    edNum->setObjectName(QStringLiteral("edNum"));
    cbPpara = new QComboBox(this);
    cbPpara->setObjectName(QStringLiteral("cbPpara"));
    cbProduct = freeTextCombo(this, "cbProduct");
    cbColor = freeTextCombo(this, "cbColor");
    cbMaterial = freeTextCombo(this, "cbMaterial");
    edProcizn = new QLineEdit(this);
    edProcizn->setObjectName(QStringLiteral("edProcizn"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Номер"), edNum);
    lbPpara = new QLabel(QStringLiteral("Полупара"), this);
    form->addRow(lbPpara, cbPpara);
    form->addRow(QStringLiteral("Изделие"), cbProduct);
    lbColor = new QLabel(QStringLiteral("Цвет"), this);
    form->addRow(lbColor, cbColor);
    lbMaterial = new QLabel(QStringLiteral("Материал"), this);
    form->addRow(lbMaterial, cbMaterial);
    form->addRow(QStringLiteral("% износа"), edProcizn);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(makeButtons());
    v->setSizeConstraint(QLayout::SetFixedSize);

    // Top to bottom, then the buttons.
    setTabOrder(edNum, cbPpara);
    setTabOrder(cbPpara, cbProduct);
    setTabOrder(cbProduct, cbColor);
    setTabOrder(cbColor, cbMaterial);
    setTabOrder(cbMaterial, edProcizn);
    setTabOrder(edProcizn, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, BitBtn1);

    for (QComboBox* box : {cbProduct, cbColor, cbMaterial})
        connect(box, &QComboBox::currentTextChanged, this, [this, box] { cbProductChange(box); });
    connect(btnOk, &QPushButton::clicked, this, &TfrmProduct::btnOkClick);
}

QString TfrmProduct::targetField(QComboBox* box) const {
    if (box == cbColor) return QStringLiteral("COLOR_ID");
    if (box == cbMaterial) return QStringLiteral("MATERIAL_ID");
    return QStringLiteral("PRODUCT_ID");
}

void TfrmProduct::cbProductChange(QComboBox* box) {
    if (m_filling || !m_lines || !m_lines->isActive()) return;
    // Typing picks an entry only when the text names one of the items.
    const int idx = box->currentText().isEmpty() ? -1 : box->findText(box->currentText(), Qt::MatchFixedString);
    SetDocuLineChoice(*m_lines, targetField(box),
                      idx >= 0 ? std::optional<int>(box->itemData(idx, kItemIdRole).toInt()) : std::nullopt);
}

QList<TFieldBinding*> TfrmProduct::makeBindings(TClientDataSet* lines) {
    return QList<TFieldBinding*>{}
           << bindLineEdit(edNum, lines, QStringLiteral("NUM"))
               << bindComboBox(cbPpara, lines, QStringLiteral("PPARA"), DM().cdsPparaLU, QStringLiteral("NAME"))
               << bindLineEdit(edProcizn, lines, QStringLiteral("PROCIZN"));
}

void TfrmProduct::showEvent(QShowEvent* e) {
    TLineDialog::showEvent(e);
    bindFields();
    m_filling = true;
    TClientDataSet& products = *DM().cdsProductLU;
    products.setFilter(DocuKindFilter(m_kindDocId));
    products.setFiltered(true);
    FillComboBox(cbProduct, products, QStringLiteral("NAME"));
    products.setFiltered(false);
    FillComboBox(cbColor, *DM().cdsColorLU, QStringLiteral("NAME"));
    FillComboBox(cbMaterial, *DM().cdsMaterialLU, QStringLiteral("NAME"));
    setWindowTitle(DocuLineDialogTitle(TDocuLineKind::Product, GL.LineAppendMode));
    if (GL.LineAppendMode) {
        for (QComboBox* box : {cbProduct, cbColor, cbMaterial}) {
            box->setCurrentIndex(-1);
            box->clearEditText();
        }
        cbPpara->setFocus();
    } else {
        for (QComboBox* box : {cbProduct, cbColor, cbMaterial}) {
            const TField& f = m_lines->fieldByName(targetField(box));
            const int idx = f.isNull() ? -1 : ComboIndexOfID(box, f.asInteger());
            box->setCurrentIndex(idx);
            if (idx < 0) box->clearEditText();
        }
    }
    m_filling = false;
    // The kind decides the half-pair, colour and material boxes as it decides the grid's columns.
    const TDocuKindLayout layout = DocuKindLayout(m_kindDocId);
    if (layout.setsShoeColumns) {
        for (QWidget* w : std::initializer_list<QWidget*>{lbPpara, cbPpara, lbColor, cbColor, lbMaterial, cbMaterial})
            w->setVisible(layout.shoeColumns);
    }
}

void TfrmProduct::btnOkClick() {
    if (m_lines) m_lines->updateRecord();
    if (!CheckFilled(TDocuLineKind::Product)) return;
    AddZapis();
    accept();
}
