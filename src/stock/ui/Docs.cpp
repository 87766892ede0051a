#include "stock/ui/Docs.h"

#include "ui/EditorWidgets.h"

#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "data/DataSetRoutines.h"
#include "ui/DataSetModel.h"
#include "ui/FieldBinding.h"
#include "ui/ErrorDB.h"
#include "ui/Help.h"
#include "ui/Reconnect.h"
#include "stock/ui/DocsPrint.h"
#include "stock/core/StockDocEditRules.h"
#include "stock/core/StockDocService.h"
#include "stock/core/StockKinds.h"
#include "stock/core/StockLine.h"
#include "stock/ui/Tovar.h"

#include <QAction>
#include <QDateEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

TfrmDocs::TfrmDocs(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDocs"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Документ"));
    setMinimumSize(626, 460);
    resize(720, 520);

    cdsMoves = new TClientDataSet(this, QStringLiteral("cdsMoves"));

    // Title panel.
    auto* title = new QWidget(this);
    lbNameDoc = named(new QLabel(title), "lbNameDoc");
    QFont big = lbNameDoc->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.25);
    lbNameDoc->setFont(big);
    lbNameDoc->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // the dots are cut at the width
    edDateP = dateEditor(title, "edDateP");
    edNumber = named(new QLineEdit(title), "edNumber");
    edNumber->setMaximumWidth(140);
    auto* t = new QHBoxLayout(title);
    t->setContentsMargins(0, 0, 0, 0);
    t->addWidget(lbNameDoc, 1);
    t->addWidget(labelFor(edDateP, QStringLiteral("от"), title));
    t->addWidget(edDateP);
    t->addWidget(labelFor(edNumber, QStringLiteral("№"), title));
    t->addWidget(edNumber);

    // Lines.
    DBGP = named(new QTableView(this), "DBGP");
    DBGP->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGP->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGP->setSelectionMode(QAbstractItemView::SingleSelection);
    m_model = new DataSetModel(cdsMoves, this);
    m_model->setStretchField(QStringLiteral("TOVAR_NAME"));
    m_model->attachView(DBGP);

    for (const TEditorCommand& c : StockDocCommands()) m_commands << commandAction(this, c);
    QAction** members[] = {&acMovesAppend, &acMovesEdit, &acMovesDelete, &acMovesUp, &acMovesDown, &acPrint};
    for (int i = 0; i < m_commands.size(); ++i) *members[i] = m_commands[i];
    connect(acMovesAppend, &QAction::triggered, this, &TfrmDocs::AppendLine);
    connect(acMovesEdit, &QAction::triggered, this, &TfrmDocs::EditLine);
    connect(acMovesDelete, &QAction::triggered, this, &TfrmDocs::DeleteLine);
    connect(acMovesUp, &QAction::triggered, this, &TfrmDocs::MoveLineUp);
    connect(acMovesDown, &QAction::triggered, this, &TfrmDocs::MoveLineDown);
    connect(acPrint, &QAction::triggered, this, &TfrmDocs::PrintDoc);
    connect(DBGP, &QTableView::doubleClicked, this, [this] {
        if (cdsMoves->isActive() && !cdsMoves->isEmpty() && acMovesEdit->isEnabled()) acMovesEdit->trigger();
    });
    auto* sb = new QHBoxLayout;
    for (int i = 0; i < m_commands.size(); ++i) {
        if (!StockDocCommands()[i].button) continue;
        if (i == int(TStockDocCommand::Up)) sb->addSpacing(12);
        const QString caption = QString::fromUtf8(StockDocCommands()[i].button);
        sb->addWidget(actionButton(this, m_commands[i], caption, QStringLiteral("sb")));
    }
    sb->addStretch();

    // Lower panel.
    auto* lower = new QWidget(this);
    edDocuTitle = greyEdit(lower, "edDocuTitle");
    edComment = named(new QLineEdit(lower), "edComment");
    edSumma = greyEdit(lower, "edSumma");
    edSummaRealiz = greyEdit(lower, "edSummaRealiz");
    for (QLineEdit* e : {edSumma, edSummaRealiz}) e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbSummaRealiz = labelFor(edSummaRealiz, QStringLiteral("ИТОГО реализ."), lower);
    auto* g = new QGridLayout(lower);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(labelFor(edDocuTitle, QStringLiteral("Основание (документ-услуга)"), lower), 0, 0);
    g->addWidget(edDocuTitle, 0, 1);
    g->addWidget(labelFor(edSumma, QStringLiteral("ИТОГО"), lower), 0, 2);
    g->addWidget(edSumma, 0, 3);
    g->addWidget(labelFor(edComment, QStringLiteral("Комментарий"), lower), 1, 0);
    g->addWidget(edComment, 1, 1);
    g->addWidget(lbSummaRealiz, 1, 2);
    g->addWidget(edSummaRealiz, 1, 3);
    g->setColumnStretch(1, 1);

    // Buttons.
    BitBtn1 = named(new QPushButton(QStringLiteral("Справка"), this), "BitBtn1");
    BitBtn1->setToolTip(QStringLiteral("Справка"));
    btnPrint = named(new QPushButton(QStringLiteral("Печать"), this), "btnPrint");
    btnOk = named(new QPushButton(QStringLiteral("Сохранить"), this), "btnOk");
    btnCancel = named(new QPushButton(QStringLiteral("Закрыть"), this), "btnCancel");
    for (QPushButton* b : {BitBtn1, btnPrint, btnOk, btnCancel}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(BitBtn1);
    buttons->addStretch();
    buttons->addWidget(btnPrint);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
    connect(btnPrint, &QPushButton::clicked, acPrint, &QAction::trigger);
    connect(BitBtn1, &QPushButton::clicked, this, [this] { HelpContext(this, QStringLiteral("_docum_edit.htm")); });
    acHelp = named(new QAction(QStringLiteral("Справка"), this), "acHelp");
    acHelp->setShortcut(QKeySequence(Qt::Key_F1));
    addAction(acHelp);
    connect(acHelp, &QAction::triggered, BitBtn1, &QPushButton::click);

    auto* v = new QVBoxLayout(this);
    v->addWidget(title);
    v->addWidget(DBGP, 1);
    v->addLayout(sb);
    v->addWidget(lower);
    v->addLayout(buttons);

    QList<QWidget*> order = {edDateP, edNumber, DBGP, edComment, BitBtn1, btnPrint, btnOk, btnCancel};
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

TClientDataSet* TfrmDocs::docs() const {
    IJournalHost* host = JournalHost();
    return host ? host->journalDocs() : nullptr;
}

TfrmTovar* TfrmDocs::lineDialog() {
    if (auto* w = Window<TfrmTovar>(QStringLiteral("frmTovar"))) return w;
    if (!m_ownTovar) m_ownTovar = new TfrmTovar(this);
    return m_ownTovar;
}

void TfrmDocs::bindHeader(TClientDataSet* d) {
    if (m_bound == d) return;
    qDeleteAll(m_headerBindings);
    m_headerBindings.clear();
    m_lockedBindings.clear();
    for (const auto& c : m_docsConnections) disconnect(c);
    m_docsConnections.clear();
    m_bound = d;
    if (!d) return;
    m_lockedBindings = {bindDateEdit(edDateP, d, QStringLiteral("DATEDOC")),
                        bindLineEdit(edNumber, d, QStringLiteral("NUMBER")),
                        bindLineEdit(edComment, d, QStringLiteral("COMMENT"))};
    QList<TFieldBinding*> shown = {bindLineEdit(edDocuTitle, d, QStringLiteral("DOCU_TITLE")),
                                   bindLineEdit(edSumma, d, QStringLiteral("SUMMA")),
                                   bindLineEdit(edSummaRealiz, d, QStringLiteral("SUMMA_REALIZ"))};
    for (TFieldBinding* b : shown) b->setReadOnly(true);
    m_headerBindings = m_lockedBindings + shown;
    // An edited date, number or comment is a change the close question protects.
    m_docsConnections << connect(d, &TClientDataSet::rowChanged, this, [this] {
        if (m_open && m_editAllowed && !m_settingTotals) SetModified(true);
    });
}

void TfrmDocs::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    TClientDataSet* d = docs();
    if (!d || !d->isActive() || d->isEmpty()) return;
    if (!m_linesReady) {
        m_linesReady = true;
        DefineMovesDataSet(*cdsMoves, DM().cdsTovarLU, [this] { return KindDocID; });
    }
    bindHeader(d);
    // 1.
    const TStockDocHeader header = ReadStockDocHeader(*d, *DM().cdsKindDoc);
    DocID = header.docId;
    KindDocID = header.kindDocId;
    KindDocName = header.kindName;
    // 2.
    cdsMoves->close();
    cdsMoves->query().setParam(QStringLiteral("CURDOC_ID"), DocID);
    cdsMoves->open();
    // 3.-5.
    m_editAllowed = StockEditingAllowed(GL.RPeriodOpen, IsNewDoc, GL.SklInsert, GL.SklEdit);
    setWindowTitle(StockDocEditorTitle(IsNewDoc, m_editAllowed));
    SetModified(false);
    btnOk->setEnabled(m_editAllowed);
    for (int i = 0; i < m_commands.size(); ++i)
        m_commands[i]->setEnabled(!StockDocCommands()[i].needsEditing || m_editAllowed);
    for (TFieldBinding* b : m_lockedBindings) b->setReadOnly(!m_editAllowed);
    // 6.
    ShowKindColumns(*cdsMoves, KindDocID);
    const bool realiz = StockKind(KindDocID).realiz;
    lbSummaRealiz->setVisible(realiz);
    edSummaRealiz->setVisible(realiz);
    // 7.
    lbNameDoc->setText(StockDocHeading(KindDocName));
    for (TFieldBinding* b : m_headerBindings) b->refresh();
    m_model->applyColumnWidths(DBGP);
    DBGP->setFocus();
    m_open = true;
}

void TfrmDocs::SetModified(bool modified) {
    DocModified = modified;
    setWindowTitle(StockDocMarkedTitle(windowTitle(), modified));
}

void TfrmDocs::CalcDocSumma() {
    TClientDataSet* d = docs();
    if (!d) return;
    m_settingTotals = true;
    try {
        PutDocTotals(*d, ::CalcDocSumma(*cdsMoves));
    } catch (...) {
        m_settingTotals = false;
        throw;
    }
    m_settingTotals = false;
}

void TfrmDocs::beginLineCommand() {
    TClientDataSet* d = docs();
    if (d && d->isEditing()) d->post();
    DBGP->setFocus();
}

void TfrmDocs::runLineDialog(bool newLine) {
    TfrmTovar* dialog = lineDialog();
    dialog->setLine(cdsMoves, KindDocID, newLine, [this](bool m) { SetModified(m); });
    if (execModal(dialog) == QDialog::Accepted) {
        CalcDocSumma();
        SetModified(true);
    }
    if (cdsMoves->isEditing()) cdsMoves->cancel();
}

void TfrmDocs::AppendLine() {
    if (!m_editAllowed) return;
    beginLineCommand();
    AppendStockLine(*cdsMoves, DM(), DocID);
    runLineDialog(true);
}

void TfrmDocs::EditLine() {
    if (!m_editAllowed || !cdsMoves->isActive() || cdsMoves->isEmpty()) return;
    beginLineCommand();
    cdsMoves->edit();
    runLineDialog(false);
}

void TfrmDocs::DeleteLine() {
    if (!m_editAllowed) return;
    beginLineCommand();
    if (!cdsMoves->isActive() || cdsMoves->isEmpty()) return;
    cdsMoves->deleteRecord();
    CalcDocSumma();
    SetModified(true);
}

void TfrmDocs::MoveLineDown() {
    if (!m_editAllowed || cdsMoves->recordCount() < 2) return;
    SwapNppWithNeighbour(*cdsMoves, +1);
    SetModified(true);
}

void TfrmDocs::MoveLineUp() {
    if (!m_editAllowed || cdsMoves->recordCount() < 2) return;
    SwapNppWithNeighbour(*cdsMoves, -1);
    SetModified(true);
}

void TfrmDocs::showError(const std::exception_ptr& error) {
    ShowErrorWindow(error, TErrorExplanation::Apply);
}

bool TfrmDocs::SaveDoc() {
    TClientDataSet* d = docs();
    if (!d) return true;
    try {
        SaveStockDoc(*d, *cdsMoves);
    } catch (...) {
        // The editor stays open with every change and its mark.
        if (!HandleConnectionLost(std::current_exception())) showError(std::current_exception());
        return false;
    }
    SetModified(false);
    // What the database stored (triggers, a drawn number) shows in the journal.
    m_settingTotals = true;
    try {
        d->refreshRecord();
    } catch (...) {
    }
    m_settingTotals = false;
    return true;
}

void TfrmDocs::discard() {
    TClientDataSet* d = docs();
    if (d) DiscardStockDoc(*d, *cdsMoves, IsNewDoc, DocID, [this](std::exception_ptr e) { showError(e); });
}

void TfrmDocs::PrintDoc() {
    TClientDataSet* d = docs();
    if (!d || !d->isActive()) return;
    PrintStockDoc(KindDocID, *d, *cdsMoves, *DM().cdsUchInfo, this);
}

void TfrmDocs::done(int r) {
    if (m_open) {
        const bool accepted = r == QDialog::Accepted;
        TStockDocCloseAction action =
            StockDocCloseAction(accepted, m_editAllowed, DocModified, TStockDocCloseAnswer::NotAsked);
        if (action == TStockDocCloseAction::Ask) {
            const bool yes = TitledMessageBox(DocumentSaveChangesQuestion(), mbQuestionYesNo) == idYes;
            action = StockDocCloseAction(accepted, m_editAllowed, DocModified,
                                         yes ? TStockDocCloseAnswer::Yes : TStockDocCloseAnswer::No);
        }
        if (action == TStockDocCloseAction::Save) {
            if (!SaveDoc()) return;
            r = QDialog::Accepted;
        } else {
            discard();
        }
        m_open = false;
        cdsMoves->close();
    }
    QDialog::done(r);
}
