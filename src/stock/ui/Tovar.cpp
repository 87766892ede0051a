#include "stock/ui/Tovar.h"

#include "ui/EditorWidgets.h"

#include "ui/DataRoutines.h"
#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/FieldBinding.h"
#include "ui/Help.h"
#include "stock/core/StockKinds.h"
#include "stock/core/StockLine.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QFont>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStandardItemModel>
#include <QVBoxLayout>
#include <algorithm>

namespace {

QComboBox* goodsBox(QWidget* parent, const char* name, int maxLength) {
    auto* cb = new QComboBox(parent);
    cb->setObjectName(QString::fromLatin1(name));
    cb->setEditable(true);
    cb->setInsertPolicy(QComboBox::NoInsert);
    cb->setCompleter(nullptr);  // completion is the dialog's own (first item by prefix)
    cb->setMaxVisibleItems(20);
    cb->lineEdit()->setMaxLength(maxLength);
    // Sized by the longest text the field takes, not by measuring thousands of items.
    cb->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cb->setMinimumContentsLength(std::min(maxLength, 50));
    return cb;
}

QLineEdit* edit(QWidget* parent, const char* name) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}


// Fills a box from the goods list in one go: one item per goods, tagged with its ID.
void fillBox(QComboBox* box, const TGoodsPick& goods, TGoodsBox which) {
    auto* model = new QStandardItemModel(box);
    const auto& texts = goods.texts(which);
    QList<QStandardItem*> items;
    items.reserve(int(texts.size()));
    for (int i = 0; i < int(texts.size()); ++i) {
        auto* item = new QStandardItem(texts[size_t(i)]);
        item->setData(goods.id(i), kItemIdRole);
        items << item;
    }
    model->appendColumn(items);
    box->setModel(model);  // the box deletes the model it owned before
    box->setCurrentIndex(-1);
    box->setEditText(QString());
}

}  // namespace

TfrmTovar::TfrmTovar(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmTovar"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Добавить товар"));

    cdsNalich = new TClientDataSet(this, QStringLiteral("cdsNalich"));
    DefineStockOnHand(*cdsNalich);

    // Goods.
    auto* goods = new QWidget(this);
    goods->setObjectName(QStringLiteral("PanelTovar"));
    auto* heading = new QLabel(QStringLiteral("Товар"), goods);
    QFont bold = heading->font();
    bold.setBold(true);
    heading->setFont(bold);
    cbArtikul = goodsBox(goods, "cbArtikul", 20);
    cbEan13 = goodsBox(goods, "cbEan13", 14);
    cbTov = goodsBox(goods, "cbTov", 100);
    auto* g = new QGridLayout(goods);
    g->addWidget(heading, 0, 0, 1, 4);
    g->addWidget(labelFor(cbArtikul, QStringLiteral("Артикул"), goods), 1, 0);
    g->addWidget(cbArtikul, 1, 1);
    g->addWidget(labelFor(cbEan13, QStringLiteral("Штрих-код"), goods), 1, 2);
    g->addWidget(cbEan13, 1, 3);
    g->addWidget(labelFor(cbTov, QStringLiteral("Наименование"), goods), 2, 0);
    g->addWidget(cbTov, 2, 1, 1, 3);

    // Quantities and prices.
    auto* values = new QWidget(this);
    values->setObjectName(QStringLiteral("PanelValues"));
    edEdizm = greyEdit(values, "edEdizm", Qt::NoFocus);
    edKolvo = edit(values, "edKolvo");
    edCena = edit(values, "edCena");
    edSumma = greyEdit(values, "edSumma", Qt::NoFocus);
    edCenaRealiz = edit(values, "edCenaRealiz");
    edSummaRealiz = greyEdit(values, "edSummaRealiz", Qt::NoFocus);
    edNalichKol = greyEdit(values, "edNalichKol", Qt::NoFocus);
    edNalichKol->setStyleSheet(QStringLiteral("color: green"));
    for (QLineEdit* e : {edKolvo, edCena, edSumma, edCenaRealiz, edSummaRealiz, edNalichKol})
        e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbCenaRealiz = labelFor(edCenaRealiz, QStringLiteral("Цена реализ."), values);
    lbSummaRealiz = labelFor(edSummaRealiz, QStringLiteral("Сумма реализ."), values);
    lbNalichKol = labelFor(edNalichKol, QStringLiteral("В наличии"), values);
    auto* v = new QGridLayout(values);
    v->addWidget(labelFor(edEdizm, QStringLiteral("Ед. измерения"), values), 0, 0);
    v->addWidget(edEdizm, 0, 1);
    v->addWidget(lbNalichKol, 0, 2);
    v->addWidget(edNalichKol, 0, 3);
    v->addWidget(labelFor(edKolvo, QStringLiteral("Количество"), values), 1, 0);
    v->addWidget(edKolvo, 1, 1);
    v->addWidget(labelFor(edCena, QStringLiteral("Цена"), values), 2, 0);
    v->addWidget(edCena, 2, 1);
    v->addWidget(labelFor(edSumma, QStringLiteral("Сумма"), values), 2, 2);
    v->addWidget(edSumma, 2, 3);
    v->addWidget(lbCenaRealiz, 3, 0);
    v->addWidget(edCenaRealiz, 3, 1);
    v->addWidget(lbSummaRealiz, 3, 2);
    v->addWidget(edSummaRealiz, 3, 3);

    // Buttons.
    BitBtn1 = new QPushButton(QStringLiteral("Справка"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setToolTip(QStringLiteral("Справка"));
    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    BitBtn1->setAutoDefault(false);
    btnCancel->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);

    auto* root = new QVBoxLayout(this);
    root->addWidget(goods);
    root->addWidget(values);
    root->addLayout(buttons);
    root->setSizeConstraint(QLayout::SetFixedSize);  // the height follows the rows shown

    setTabOrder(cbArtikul, cbEan13);
    setTabOrder(cbEan13, cbTov);
    setTabOrder(cbTov, edKolvo);
    setTabOrder(edKolvo, edCena);
    setTabOrder(edCena, edCenaRealiz);
    setTabOrder(edCenaRealiz, btnOk);
    setTabOrder(btnOk, btnCancel);
    setTabOrder(btnCancel, BitBtn1);

    for (QComboBox* box : {cbArtikul, cbEan13, cbTov}) {
        connect(box->lineEdit(), &QLineEdit::textEdited, this, [this, box](const QString& t) { boxEdited(box, t); });
        connect(box, qOverload<int>(&QComboBox::activated), this, [this, box](int i) { boxActivated(box, i); });
        box->installEventFilter(this);
        box->lineEdit()->installEventFilter(this);
    }
    connect(btnOk, &QPushButton::clicked, this, &TfrmTovar::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { HelpContext(this, QStringLiteral("_docum_pos_edit.htm")); });
}

void TfrmTovar::setLine(TClientDataSet* moves, int kindDocId, bool newLine, std::function<void(bool)> setModified) {
    m_moves = moves;
    KindDocID = kindDocId;
    NewLine = newLine;
    m_setModified = std::move(setModified);
}

TGoodsBox TfrmTovar::boxOf(const QComboBox* box) const {
    if (box == cbArtikul) return TGoodsBox::Artikul;
    if (box == cbEan13) return TGoodsBox::Ean13;
    return TGoodsBox::Name;
}

QComboBox* TfrmTovar::comboOf(TGoodsBox box) const {
    switch (box) {
    case TGoodsBox::Artikul: return cbArtikul;
    case TGoodsBox::Ean13: return cbEan13;
    default: return cbTov;
    }
}

void TfrmTovar::bindFields() {
    if (m_bound == m_moves) return;
    qDeleteAll(m_bindings);
    m_bindings.clear();
    m_bound = m_moves;
    if (!m_moves) return;
    auto bind = [this](QLineEdit* e, const char* f) {
        TFieldBinding* b = bindLineEdit(e, m_moves, QString::fromLatin1(f));
        m_bindings << b;
        return b;
    };
    bind(edEdizm, "TOVAR_EDIZM")->setReadOnly(true);
    bind(edKolvo, "KOLVO");
    bind(edCena, "CENA");
    bind(edSumma, "SUMMA")->setReadOnly(true);
    bind(edCenaRealiz, "CENA_REALIZ");
    bind(edSummaRealiz, "SUMMA_REALIZ")->setReadOnly(true);
}

void TfrmTovar::setRowVisible(QWidget* label, QWidget* field, bool on) {
    label->setVisible(on);
    field->setVisible(on);
}

void TfrmTovar::fillBoxes() {
    TClientDataSet* tovar = DM().cdsTovarLU;
    if (m_filledFrom != tovar) {
        if (m_filledFrom) disconnect(m_filledFrom, nullptr, this, nullptr);
        m_filledFrom = tovar;
        const auto stale = [this] { m_goodsStale = true; };
        connect(tovar, &TClientDataSet::dataChanged, this, stale);
        connect(tovar, &TClientDataSet::stateChanged, this, stale);
        connect(tovar, &TClientDataSet::rowChanged, this, stale);
        m_goodsStale = true;
    }
    m_syncing = true;
    if (m_goodsStale) {
        m_goods.load(*tovar);
        for (TGoodsBox b : {TGoodsBox::Artikul, TGoodsBox::Ean13, TGoodsBox::Name}) fillBox(comboOf(b), m_goods, b);
        m_goodsStale = false;
    } else {
        for (QComboBox* box : {cbArtikul, cbEan13, cbTov}) {
            box->setCurrentIndex(-1);
            box->setEditText(QString());
        }
    }
    m_syncing = false;
}

void TfrmTovar::showEvent(QShowEvent* e) {
    // The kind decides which price and stock rows are shown.
    ShowNalich = StockKind(KindDocID).showsStock;
    const bool realiz = StockKind(KindDocID).realiz;
    setRowVisible(lbCenaRealiz, edCenaRealiz, realiz);
    setRowVisible(lbSummaRealiz, edSummaRealiz, realiz);
    setRowVisible(lbNalichKol, edNalichKol, ShowNalich);
    bindFields();
    // The stock of the current period, read anew.
    edNalichKol->clear();
    OpenStockOnHand(*cdsNalich, GL.RPeriodID);
    // The caption and the goods boxes, on the line's goods when it has one.
    setWindowTitle(StockLineDialogTitle(NewLine));
    fillBoxes();
    if (!NewLine && m_moves && m_moves->isActive()) {
        const TField& id = m_moves->fieldByName(QStringLiteral("TOVAR_ID"));
        const int index = id.isNull() ? -1 : m_goods.indexOfId(id.asInteger());
        m_syncing = true;
        for (QComboBox* box : {cbArtikul, cbEan13, cbTov}) box->setCurrentIndex(index);
        m_syncing = false;
    }
    for (TFieldBinding* b : m_bindings) b->refresh();
    QDialog::showEvent(e);
    // 6.
    cbArtikul->setFocus();
}

void TfrmTovar::boxEdited(QComboBox* box, const QString& typed) {
    if (m_syncing) return;
    QLineEdit* line = box->lineEdit();
    // Typing completes to the first goods that begins with the text; deleting does not.
    const int index = m_goods.firstWithPrefix(boxOf(box), typed);
    if (index >= 0 && line->cursorPosition() == typed.size()) {
        m_syncing = true;
        box->setCurrentIndex(index);
        const QString full = box->itemText(index);
        line->setText(full);
        line->setSelection(full.size(), typed.size() - full.size());  // the completed tail, typed over next
        m_syncing = false;
    }
    goodsChange(box);
}

void TfrmTovar::boxActivated(QComboBox* box, int index) {
    if (m_syncing || index < 0) return;
    goodsChange(box);
}

void TfrmTovar::selectInOthers(QComboBox* box, int index) {
    m_syncing = true;
    for (QComboBox* other : {cbArtikul, cbEan13, cbTov}) {
        if (other == box) continue;
        other->setCurrentIndex(index);
        if (index < 0) other->setEditText(QString());
    }
    m_syncing = false;
}

void TfrmTovar::goodsChange(QComboBox* box) {
    if (!m_moves || !m_moves->isEditing()) return;
    const int index = box->currentIndex();
    if (!m_goods.names(boxOf(box), index, box->currentText())) {
        PutLineGoods(*m_moves, *DM().cdsTovarLU, std::nullopt);
        selectInOthers(box, -1);
        return;
    }
    const int id = m_goods.id(index);
    PutLineGoods(*m_moves, *DM().cdsTovarLU, id);
    selectInOthers(box, index);
    for (TFieldBinding* b : m_bindings) b->refresh();
    if (ShowNalich) edNalichKol->setText(StockOnHandText(*cdsNalich, id));
}

bool TfrmTovar::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            QComboBox* box = nullptr;
            for (QComboBox* b : {cbArtikul, cbEan13, cbTov})
                if (watched == b || watched == b->lineEdit()) box = b;
            if (box && !(box->view() && box->view()->isVisible())) {
                // A scanner types the bar code and Enter: take the goods it names
                // and go on to the quantity.
                const int index = m_goods.find(boxOf(box), box->currentText());
                if (index >= 0 && index != box->currentIndex()) {
                    m_syncing = true;
                    box->setCurrentIndex(index);
                    m_syncing = false;
                    goodsChange(box);
                }
                if (m_moves && !m_moves->fieldByName(QStringLiteral("TOVAR_ID")).isNull() &&
                    m_goods.names(boxOf(box), box->currentIndex(), box->currentText())) {
                    edKolvo->setFocus();
                    edKolvo->selectAll();
                    return true;
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmTovar::btnOkClick() {
    if (!m_moves) return;
    m_moves->updateRecord();  // what is typed but not yet in the fields
    const QString refusal = TakeStockLine(*m_moves);
    if (refusal.isEmpty()) {
        if (m_setModified) m_setModified(true);
        accept();
        return;
    }
    TitledMessageBox(refusal, mbWarningOk);
}

void TfrmTovar::done(int r) {
    cdsNalich->close();
    if (m_moves && m_moves->isActive() && m_moves->isEditing()) m_moves->cancel();
    QDialog::done(r);
}
