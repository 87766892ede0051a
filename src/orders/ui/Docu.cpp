#include "orders/ui/Docu.h"

#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "data/ClientDataSet.h"
#include "data/DataErrors.h"
#include "data/DataModule.h"
#include "ui/DataSetModel.h"
#include "ui/FieldBinding.h"
#include "orders/ui/BookChooser.h"
#include "orders/core/DocuCalc.h"
#include "orders/core/DocuCommands.h"
#include "orders/core/DocuDates.h"
#include "orders/core/DocuEditRules.h"
#include "orders/core/DocuHeader.h"
#include "orders/core/DocuLines.h"
#include "orders/ui/DocPrint.h"
#include "orders/core/DocuSave.h"
#include "orders/ui/Product.h"
#include "orders/ui/Usluga.h"
#include "orders/ui/ZakazchInfo.h"
#include "ui/EditorWidgets.h"
#include "ui/ErrorDB.h"
#include "ui/Help.h"
#include "ui/Reconnect.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>
#include <memory>

namespace {
// A money box shows the largest amount whole, right-aligned.
void moneyBox(QLineEdit* e) {
    e->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    const int text = e->fontMetrics().horizontalAdvance(QStringLiteral("9 999 999 999 999,99"));
    e->setMinimumWidth(text + 16);
}

}  // namespace

TfrmDocu::TfrmDocu(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmDocu"));
    setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Документ"));
    resize(700, 640);
    setMinimumSize(626, 460);

    cdsPMoves = new TClientDataSet(this, QStringLiteral("cdsPMoves"));
    cdsPMoves->query().setObjectName(QStringLiteral("xqPMoves"));
    DeclareDocuLineList(*cdsPMoves, TDocuLineKind::Product);
    cdsUMoves = new TClientDataSet(this, QStringLiteral("cdsUMoves"));
    cdsUMoves->query().setObjectName(QStringLiteral("xqUMoves"));
    DeclareDocuLineList(*cdsUMoves, TDocuLineKind::Service);

    auto* title = new QWidget(this);
    buildTitlePanel(title);
    buildLinesPanel();
    auto* lower = new QWidget(this);
    buildLowerPanel(lower);

    BitBtn1 = named(new QPushButton(QStringLiteral("Справка"), this), "BitBtn1");
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

    PanelHint = named(new QFrame(this), "PanelHint");
    PanelHint->setFrameShape(QFrame::StyledPanel);
    auto* hintText = new QLabel(
        QStringLiteral("Поля отмеченные знаком ~ допускают ввод не только значений из справочников, но и "
                       "произвольных значений"),
        PanelHint);
    hintText->setWordWrap(true);
    SpeedButton1 = named(new QToolButton(PanelHint), "SpeedButton1");
    SpeedButton1->setText(QStringLiteral("X"));
    SpeedButton1->setToolTip(QStringLiteral("Убрать  сообщение"));
    SpeedButton1->setFocusPolicy(Qt::NoFocus);
    auto* hint = new QHBoxLayout(PanelHint);
    hint->addWidget(hintText, 1);
    hint->addWidget(SpeedButton1, 0, Qt::AlignTop);

    auto* v = new QVBoxLayout(this);
    v->addWidget(title);
    v->addWidget(PageControl1, 1);
    v->addWidget(lower);
    v->addLayout(buttons);
    v->addWidget(PanelHint);

    buildActions();

    popPrint1 = named(new QMenu(this), "popPrint1");
    acPrintKvit = named(new QAction(QStringLiteral("Квитанция"), this), "acPrintKvit");
    acPrintKvitUz = named(new QAction(QStringLiteral("Квитанция узкая"), this), "acPrintKvitUz");
    popPrint1->addAction(acPrintKvit);
    popPrint1->addAction(acPrintKvitUz);
    // Printing works in every mode and prints what is on screen, saved or not;
    // an error stops at this command and goes to the program's error handler.
    const auto printReceipt = [this](bool narrow) {
        try {
            if (TClientDataSet* d = docu())
                PrintReceipt(KindDocID, narrow, *d, *cdsPMoves, *cdsUMoves, *DM().cdsUchInfo, this);
        } catch (...) {
            handleUiError(std::current_exception());
        }
    };
    connect(acPrintKvit, &QAction::triggered, this, [printReceipt] { printReceipt(false); });
    connect(acPrintKvitUz, &QAction::triggered, this, [printReceipt] { printReceipt(true); });

    connect(btnOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
    connect(btnPrint, &QPushButton::clicked, this,
            [this] { popPrint1->popup(btnPrint->mapToGlobal(btnPrint->rect().bottomLeft())); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { HelpContext(this, QStringLiteral("_docum_edit.htm")); });
    acHelp = named(new QAction(QStringLiteral("Справка"), this), "acHelp");
    acHelp->setShortcut(QKeySequence(Qt::Key_F1));
    acHelp->setShortcutContext(Qt::WindowShortcut);
    addAction(acHelp);
    connect(acHelp, &QAction::triggered, BitBtn1, &QPushButton::click);
    connect(SpeedButton1, &QToolButton::clicked, this, &TfrmDocu::SpeedButton1Click);
    connect(sbBookZakazch, &QToolButton::clicked, this, &TfrmDocu::sbBookZakazchClick);
    connect(sbZakazchInfo, &QToolButton::clicked, this, &TfrmDocu::sbZakazchInfoClick);

    // Top to bottom.
    QList<QWidget*> order = {edNumber, edDateP,  cbZakazch, edDateV,  edDateVyd,  edVremVyd, DBGP,
                             DBGU,     rbNone,   rbSkid,    rbNadb,   edOtklProc, edOtklSum, cbComment,
                             cbGarant, edReceived, BitBtn1, btnPrint, btnOk,     btnCancel};
    for (int i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

void TfrmDocu::buildTitlePanel(QWidget* panel) {
    lbNameDoc = named(new QLabel(panel), "lbNameDoc");
    QFont bold = lbNameDoc->font();
    bold.setBold(true);
    lbNameDoc->setFont(bold);
    lbNameDoc->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);  // the dots are clipped
    edSeries = greyEdit(panel, "edSeries");
    edSeries->setMaximumWidth(70);
    edNumber = named(new QLineEdit(panel), "edNumber");
    edNumber->setMaximumWidth(90);
    edDateP = dateEditor(panel, "edDateP");
    cbZakazch = named(new QComboBox(panel), "cbZakazch");
    cbZakazch->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbZakazch->setMinimumContentsLength(30);
    sbZakazchInfo = named(new QToolButton(panel), "sbZakazchInfo");
    sbZakazchInfo->setText(QStringLiteral("Инф."));
    sbBookZakazch = named(new QToolButton(panel), "sbBookZakazch");
    sbBookZakazch->setText(QStringLiteral("..."));
    sbBookZakazch->setToolTip(QStringLiteral("Справочник заказчиков"));
    edDateV = dateEditor(panel, "edDateV");
    edDateVyd = dateEditor(panel, "edDateVyd");
    edVremVyd = named(new QLineEdit(panel), "edVremVyd");

    auto* g = new QGridLayout(panel);
    g->setContentsMargins(0, 0, 0, 0);
    g->addWidget(lbNameDoc, 0, 0, 1, 6);
    auto* num = new QHBoxLayout;
    num->addWidget(edSeries);
    num->addWidget(labelFor(edNumber, QStringLiteral("№"), panel));
    num->addWidget(edNumber);
    num->addWidget(labelFor(edDateP, QStringLiteral("дата приема"), panel));
    num->addWidget(edDateP);
    num->addStretch();
    g->addLayout(num, 1, 0, 1, 6);
    auto* zak = new QHBoxLayout;
    zak->addWidget(labelFor(cbZakazch, QStringLiteral("заказчик"), panel));
    zak->addWidget(cbZakazch, 1);
    zak->addWidget(sbZakazchInfo);
    zak->addWidget(sbBookZakazch);
    g->addLayout(zak, 2, 0, 1, 6);
    g->addWidget(labelFor(edDateV, QStringLiteral("дата выполнения"), panel), 3, 0);
    g->addWidget(edDateV, 3, 1);
    g->addWidget(labelFor(edDateVyd, QStringLiteral("дата выдачи"), panel), 3, 2);
    g->addWidget(edDateVyd, 3, 3);
    g->addWidget(labelFor(edVremVyd, QStringLiteral("время выдачи"), panel), 3, 4);
    g->addWidget(edVremVyd, 3, 5);
}

void TfrmDocu::buildLinesPanel() {
    PageControl1 = named(new QTabWidget(this), "PageControl1");
    TabSheetP = named(new QWidget(PageControl1), "TabSheetP");
    TabSheetU = named(new QWidget(PageControl1), "TabSheetU");
    PageControl1->addTab(TabSheetP, QStringLiteral("Список изделий"));
    PageControl1->addTab(TabSheetU, QStringLiteral("Список услуг"));
    for (QTableView** grid : {&DBGP, &DBGU}) {
        auto* g = new QTableView(grid == &DBGP ? TabSheetP : TabSheetU);
        g->setObjectName(grid == &DBGP ? QStringLiteral("DBGP") : QStringLiteral("DBGU"));
        g->setEditTriggers(QAbstractItemView::NoEditTriggers);
        g->setSelectionBehavior(QAbstractItemView::SelectRows);
        g->setSelectionMode(QAbstractItemView::SingleSelection);
        g->horizontalHeader()->setVisible(true);
        *grid = g;
    }
    m_modelP = new DataSetModel(cdsPMoves, this);
    m_modelP->setStretchField(QStringLiteral("PRODUCT_NAME"));
    m_modelP->attachView(DBGP);
    m_modelU = new DataSetModel(cdsUMoves, this);
    m_modelU->setStretchField(QStringLiteral("USLUGA_NAME"));
    m_modelU->attachView(DBGU);
    edTotal = greyEdit(TabSheetU, "edTotal");
    moneyBox(edTotal);
    connect(DBGP, &QTableView::doubleClicked, this, [this] { lineDblClick(DBGP, acPMovesEdit); });
    connect(DBGU, &QTableView::doubleClicked, this, [this] { lineDblClick(DBGU, acUMovesEdit); });
}

void TfrmDocu::buildLowerPanel(QWidget* panel) {
    GroupBox1 = named(new QGroupBox(QStringLiteral("Отклонение"), panel), "GroupBox1");
    rbNone = named(new QRadioButton(QStringLiteral("нет"), GroupBox1), "rbNone");
    rbSkid = named(new QRadioButton(QStringLiteral("скидка"), GroupBox1), "rbSkid");
    rbNadb = named(new QRadioButton(QStringLiteral("надбавка"), GroupBox1), "rbNadb");
    auto* rb = new QVBoxLayout(GroupBox1);
    for (QRadioButton* r : {rbNone, rbSkid, rbNadb}) {
        rb->addWidget(r);
        connect(r, &QRadioButton::clicked, this, [this, r] {
            if (SyncingOtkl) return;
            TClientDataSet* d = docu();
            if (d && d->isActive() && m_editAllowed) ChooseOtklType(*d, OtklTypeOfRadio(r->objectName()));
        });
    }
    edOtklProc = named(new QLineEdit(panel), "edOtklProc");
    edOtklSum = named(new QLineEdit(panel), "edOtklSum");
    edTolalWOtkl = greyEdit(panel, "edTolalWOtkl");
    cbComment = named(new QComboBox(panel), "cbComment");
    cbComment->setEditable(true);
    cbComment->setInsertPolicy(QComboBox::NoInsert);
    cbGarant = named(new QComboBox(panel), "cbGarant");
    edReceived = named(new QLineEdit(panel), "edReceived");
    edDebt = greyEdit(panel, "edDebt");
    for (QLineEdit* e : {edOtklSum, edTolalWOtkl, edReceived, edDebt}) moneyBox(e);
    edOtklProc->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    lbPriemschikFio = named(new QLabel(panel), "lbPriemschikFio");
    auto* lbPriemschik = new QLabel(QStringLiteral("Приемщик:"), panel);
    QFont bold = lbPriemschik->font();
    bold.setBold(true);
    lbPriemschik->setFont(bold);
    lbPriemschik->setStyleSheet(QStringLiteral("color: green"));

    auto* g = new QGridLayout;
    g->addWidget(labelFor(edOtklProc, QStringLiteral("Откл - %"), panel), 0, 0);
    g->addWidget(edOtklProc, 0, 1);
    g->addWidget(labelFor(edOtklSum, QStringLiteral("Откл - сумма"), panel), 1, 0);
    g->addWidget(edOtklSum, 1, 1);
    g->addWidget(labelFor(edTolalWOtkl, QStringLiteral("ИТОГО с откл."), panel), 2, 0);
    g->addWidget(edTolalWOtkl, 2, 1);
    g->addWidget(labelFor(cbComment, QStringLiteral("особые отметки ~"), panel), 0, 2);
    g->addWidget(cbComment, 0, 3);
    g->addWidget(labelFor(cbGarant, QStringLiteral("гарантия"), panel), 1, 2);
    g->addWidget(cbGarant, 1, 3);
    g->addWidget(labelFor(edReceived, QStringLiteral("Получено:"), panel), 2, 2);
    g->addWidget(edReceived, 2, 3);
    g->addWidget(labelFor(edDebt, QStringLiteral("Долг:"), panel), 3, 2);
    g->addWidget(edDebt, 3, 3);
    auto* who = new QHBoxLayout;
    who->addWidget(lbPriemschik);
    who->addWidget(lbPriemschikFio, 1);
    g->addLayout(who, 3, 0, 1, 2);
    g->setColumnStretch(3, 1);
    auto* h = new QHBoxLayout(panel);
    h->setContentsMargins(0, 0, 0, 0);
    h->addWidget(GroupBox1);
    h->addLayout(g, 1);
}

void TfrmDocu::buildActions() {
    for (const TEditorCommand& c : DocuCommands()) m_commands << commandAction(this, c);
    QAction** members[] = {&acPMovesAppend, &acPMovesEdit, &acPMovesDelete, &acPMovesUp, &acPMovesDown,
                           &acUMovesAppend, &acUMovesEdit, &acUMovesDelete, &acUMovesUp, &acUMovesDown,
                           &acComEdit,      &acComDelete};  // in the table's order
    for (int i = 0; i < m_commands.size(); ++i) *members[i] = m_commands[i];

    connect(acPMovesAppend, &QAction::triggered, this, [this] {
        if (!PageControl1->isTabVisible(0)) return;  // key-cutting orders have no product lines
        PageControl1->setCurrentWidget(TabSheetP);
        AppendLine(cdsPMoves, DBGP, productDialog());
    });
    connect(acPMovesEdit, &QAction::triggered, this, [this] { EditLine(cdsPMoves, DBGP, productDialog()); });
    connect(acPMovesDelete, &QAction::triggered, this, [this] { DeleteLine(cdsPMoves, DBGP); });
    connect(acPMovesUp, &QAction::triggered, this, [this] { MoveLineUp(cdsPMoves); });
    connect(acPMovesDown, &QAction::triggered, this, [this] { MoveLineDown(cdsPMoves); });
    connect(acUMovesAppend, &QAction::triggered, this, [this] {
        PageControl1->setCurrentWidget(TabSheetU);
        AppendLine(cdsUMoves, DBGU, uslugaDialog());
    });
    connect(acUMovesEdit, &QAction::triggered, this, [this] { EditLine(cdsUMoves, DBGU, uslugaDialog()); });
    connect(acUMovesDelete, &QAction::triggered, this, [this] { DeleteLine(cdsUMoves, DBGU); });
    connect(acUMovesUp, &QAction::triggered, this, [this] { MoveLineUp(cdsUMoves); });
    connect(acUMovesDown, &QAction::triggered, this, [this] { MoveLineDown(cdsUMoves); });
    for (TDocuCommand focused : {TDocuCommand::FocusedEdit, TDocuCommand::FocusedDelete})
        connect(m_commands[int(focused)], &QAction::triggered, this, [this, focused] {
            if (focusWidget() != DBGP && focusWidget() != DBGU) return;
            const TDocuLineKind grid = focusWidget() == DBGP ? TDocuLineKind::Product : TDocuLineKind::Service;
            QAction* a = m_commands[int(DocuFocusedCommand(focused, grid))];
            if (a->isEnabled()) a->trigger();
        });

    // Five buttons under each grid.
    for (TDocuLineKind kind : {TDocuLineKind::Product, TDocuLineKind::Service}) {
        QWidget* tab = kind == TDocuLineKind::Product ? TabSheetP : TabSheetU;
        auto* v = new QVBoxLayout(tab);
        v->addWidget(kind == TDocuLineKind::Product ? DBGP : DBGU, 1);
        auto* h = new QHBoxLayout;
        for (TDocuCommand c : DocuLineCommands(kind))
            h->addWidget(
                actionButton(tab, m_commands[int(c)], QString::fromUtf8(DocuCommand(c).button), QStringLiteral("btn")));
        h->addStretch();
        if (kind == TDocuLineKind::Service) {
            h->addWidget(labelFor(edTotal, QStringLiteral("ИТОГО:"), tab));
            h->addWidget(edTotal);
        }
        v->addLayout(h);
    }
}

// The line lists' fields (DocuLines.h); their lookups read the data module's lists.
void TfrmDocu::setupLineFields() {
    if (m_linesReady) return;
    m_linesReady = true;
    TDM& dm = DM();
    const TDocuLineLists lists{dm.cdsPparaLU, dm.cdsProductLU, dm.cdsColorLU, dm.cdsMaterialLU, dm.cdsUslugaLU};
    DefinePMovesFields(*cdsPMoves, lists);
    DefineUMovesFields(*cdsUMoves, lists);
}

TClientDataSet* TfrmDocu::docu() const {
    IJournalHost* host = JournalHost();
    return host ? host->journalDocu() : nullptr;
}

void TfrmDocu::bindHeader(TClientDataSet* d) {
    if (m_bound == d) return;
    qDeleteAll(m_headerBindings);
    m_headerBindings.clear();
    m_bindOtklProc = m_bindOtklSum = m_bindComment = nullptr;
    for (const auto& c : m_docuConnections) disconnect(c);
    m_docuConnections.clear();
    m_bound = d;
    if (!d) return;
    TDM& dm = DM();
    auto line = [&](QLineEdit* e, const char* f) { return bindLineEdit(e, d, QString::fromLatin1(f)); };
    auto date = [&](QDateEdit* e, const char* f) { return bindDateEdit(e, d, QString::fromLatin1(f)); };
    // Which of them the clerk may change in which mode is DocuHeader.h's (applyMode).
    TFieldBinding* series = line(edSeries, "SERIES");
    m_bindOtklProc = line(edOtklProc, "OTKLPROC");
    m_bindOtklSum = line(edOtklSum, "OTKLSUM");
    m_bindComment = bindLineEdit(cbComment->lineEdit(), d, QStringLiteral("COMMENT"));
    m_headerBindings = {line(edNumber, "NUMBER"),
                        date(edDateP, "DATEP"),
                        bindComboBox(cbZakazch, d, QStringLiteral("ZAKAZCH_ID"), dm.cdsZakazchLU,
                                     QStringLiteral("NAMEAP")),
                        date(edDateV, "DATEV"),
                        line(edVremVyd, "VREMVYD"),
                        m_bindComment,
                        bindComboBox(cbGarant, d, QStringLiteral("GARANT"), dm.cdsGarantLU, QStringLiteral("NAME")),
                        line(edReceived, "RECEIVED"),
                        line(edTotal, "TOTAL"),
                        line(edTolalWOtkl, "TOTAL_WOTKL"),
                        line(edDebt, "DEBT")};
    m_headerBindings << series << m_bindOtklProc << m_bindOtklSum << date(edDateVyd, "DATEVYD");

    // A special mark picked from the list goes into the field like a typed one.
    m_docuConnections << connect(cbComment, qOverload<int>(&QComboBox::activated), this, [this](int index) {
        TClientDataSet* dd = docu();
        if (dd && m_editAllowed) EditedField(*dd, QStringLiteral("COMMENT")).setAsString(cbComment->itemText(index));
    });
    // The money rules run on every change the editor makes (attached once per dataset).
    AttachDocuRules(*d);
    TDocuRules* rules = DocuRules(*d);
    m_docuConnections << connect(rules, &TDocuRules::rowEdited, this, [this] {
        if (m_open) SetModified(true);
    });
    m_docuConnections << connect(rules, &TDocuRules::otklSignChanged, this, [this](int sign) {
        if (m_open) SetOtklEditable(sign);
    });
    m_docuConnections << connect(d, &TClientDataSet::rowChanged, this, [this] {
        if (m_open) ShowOtklType();
    });
}

void TfrmDocu::refillComments() {
    const QString text = cbComment->currentText();
    cbComment->clear();
    TClientDataSet& marks = *DM().cdsCommentLU;
    const int name = marks.fieldByName(QStringLiteral("NAME")).index();
    for (int r = 0; r < marks.recordCount(); ++r) cbComment->addItem(marks.valueAt(r, name).toString());
    cbComment->setCurrentIndex(-1);
    cbComment->setEditText(text);
    if (m_bindComment) m_bindComment->refresh();
}

void TfrmDocu::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    TClientDataSet* d = docu();
    if (!d || !d->isActive() || d->isEmpty()) return;
    setupLineFields();
    bindHeader(d);
    // The order itself.
    DocID = d->fieldByName(QStringLiteral("ID")).asInteger();
    KindDocID = d->fieldByName(QStringLiteral("KINDDOC_ID")).asInteger();
    KindDocName = DocuShownName(*d, QStringLiteral("KINDDOC_NAME"), QStringLiteral("KINDDOC_ID"), DM().cdsKindDoc,
                                QStringLiteral("ID"), QStringLiteral("NAME"));
    // Its lines.
    for (TClientDataSet* lines : {cdsPMoves, cdsUMoves}) OpenDocuLines(*lines, DocID);
    // The operator who took it.
    lbPriemschikFio->setText(DocuShownName(*d, QStringLiteral("PRIEMSCHIK_FIO"), QStringLiteral("PRIEMSCHIK_ID"),
                                           DM().cdsPriemschikLU, QStringLiteral("ID"), QStringLiteral("FIO")));
    // The special marks it may be given.
    refillComments();
    // Editing or view mode, from the period and the operator's rights.
    m_editAllowed = DocuEditAllowed(GL.RPeriodOpen, IsNewDoc, GL.ZakInsert, GL.ZakEdit);
    applyMode();
    // The kind: its name in the title and the boxes it uses.
    lbNameDoc->setText(DocuKindHeading(KindDocName));
    applyKind();
    PanelHint->setVisible(AppOptions.ShowHintMes);
    for (TFieldBinding* b : m_headerBindings) b->refresh();
    // Every opening sizes the columns afresh: nothing carries over from the last order.
    m_modelP->applyColumnWidths(DBGP);
    m_modelU->applyColumnWidths(DBGU);
    // The first tab, and the first field the clerk fills.
    PageControl1->setCurrentIndex(PageControl1->isTabVisible(0) ? 0 : 1);
    if (m_editAllowed)
        cbZakazch->setFocus();
    else
        (PageControl1->currentWidget() == TabSheetP ? DBGP : DBGU)->setFocus();
    m_open = true;
    FormActivate();
}

void TfrmDocu::applyMode() {
    setWindowTitle(DocuEditorTitle(IsNewDoc, m_editAllowed));
    SetModified(false);
    btnOk->setEnabled(m_editAllowed);
    for (int i = 0; i < m_commands.size(); ++i)
        m_commands[i]->setEnabled(!DocuCommands()[i].needsEditing || m_editAllowed);
    sbBookZakazch->setEnabled(m_editAllowed);
    GroupBox1->setEnabled(m_editAllowed);
    for (TFieldBinding* b : m_headerBindings) {
        const TDocuFieldAccess access = DocuFieldAccess(b->fieldName());
        if (access != TDocuFieldAccess::Deviation) b->setReadOnly(DocuFieldReadOnly(access, m_editAllowed));
    }
    // The special marks' list would change the shown text without storing it.
    cbComment->setEnabled(m_editAllowed);
}

void TfrmDocu::applyKind() {
    const TDocuKindLayout layout = DocuKindLayout(KindDocID);
    PageControl1->setTabVisible(PageControl1->indexOf(TabSheetP), layout.productsTab);
    if (!layout.productsTab) PageControl1->setCurrentWidget(TabSheetU);
    if (layout.setsShoeColumns) {
        for (const char* f : {"PPARA_NAME", "COLOR_NAME", "MATERIAL_NAME"})
            cdsPMoves->fieldByName(QString::fromLatin1(f)).setVisible(layout.shoeColumns);
        cdsPMoves->fieldByName(QStringLiteral("PRODUCT_NAME")).setDisplayWidth(layout.productNameWidth);
    }
}

void TfrmDocu::changeEvent(QEvent* e) {
    QDialog::changeEvent(e);
    if (e->type() == QEvent::ActivationChange && isActiveWindow() && m_open) FormActivate();
}

void TfrmDocu::FormActivate() {
    TClientDataSet* d = docu();
    if (!d || !d->isActive()) return;
    SetOtklEditable(OtklSign(*d));
    ShowOtklType();
}

void TfrmDocu::SetOtklEditable(int sign) {
    const TOtklBoxes boxes = ::SetOtklEditable(sign, m_editAllowed);
    for (QLineEdit* e : {edOtklProc, edOtklSum}) {
        QPalette p = e->palette();
        p.setColor(QPalette::Base, palette().color(boxes.editable ? QPalette::Base : QPalette::Button));
        e->setPalette(p);
    }
    for (TFieldBinding* b : {m_bindOtklProc, m_bindOtklSum})
        if (b) b->setReadOnly(DocuFieldReadOnly(TDocuFieldAccess::Deviation, m_editAllowed, boxes.editable));
}

void TfrmDocu::ShowOtklType() {
    TClientDataSet* d = docu();
    if (!d || !d->isActive()) return;
    SyncingOtkl = true;
    const QString name = ::ShowOtklType(d->fieldByName(QStringLiteral("OTKLTYPE")).value());
    const bool hadFocus = rbNone->hasFocus() || rbSkid->hasFocus() || rbNadb->hasFocus();
    for (QRadioButton* r : {rbNone, rbSkid, rbNadb}) r->setAutoExclusive(false);
    for (QRadioButton* r : {rbNone, rbSkid, rbNadb}) {
        r->setChecked(r->objectName() == name);
        r->setAutoExclusive(true);
        if (hadFocus && r->isChecked()) r->setFocus();
    }
    SyncingOtkl = false;
}

void TfrmDocu::SetModified(bool modified) {
    DocModified = modified;
    setWindowTitle(DocuCaptionMarked(windowTitle(), modified));
}

TLineDialog* TfrmDocu::productDialog() {
    if (auto* w = Window<TfrmProduct>(QStringLiteral("frmProduct"))) return w;
    if (!m_ownProduct) m_ownProduct = new TfrmProduct(this);
    return m_ownProduct;
}

TLineDialog* TfrmDocu::uslugaDialog() {
    if (auto* w = Window<TfrmUsluga>(QStringLiteral("frmUsluga"))) return w;
    if (!m_ownUsluga) m_ownUsluga = new TfrmUsluga(this);
    return m_ownUsluga;
}

void TfrmDocu::AppendLine(TClientDataSet* lines, QTableView* grid, TLineDialog* dialog) {
    TClientDataSet* d = docu();
    if (!d) return;
    const TDocuLineKind kind = lines == cdsPMoves ? TDocuLineKind::Product : TDocuLineKind::Service;
    if (d->isEditing()) d->post();
    grid->setFocus();
    const QString stem = DocuLineStem(kind);
    TNewDocuLine line;
    line.id = DM().getMovesId(stem);
    line.docId = DocID;
    line.npp = DM().getMovesNpp(stem);
    AppendDocuLine(*lines, kind, line);
    GL.LineAppendMode = true;
    dialog->setLine(lines, KindDocID, [this](bool m) { SetModified(m); });
    if (FinishDocuLine(*d, *lines, *cdsUMoves, execModal(dialog) == QDialog::Accepted)) SetModified(true);
}

void TfrmDocu::EditLine(TClientDataSet* lines, QTableView* grid, TLineDialog* dialog) {
    TClientDataSet* d = docu();
    if (!d || lines->isEmpty()) return;
    if (d->isEditing()) d->post();
    grid->setFocus();
    lines->edit();
    GL.LineAppendMode = false;
    dialog->setLine(lines, KindDocID, [this](bool m) { SetModified(m); });
    if (FinishDocuLine(*d, *lines, *cdsUMoves, execModal(dialog) == QDialog::Accepted)) SetModified(true);
}

void TfrmDocu::DeleteLine(TClientDataSet* lines, QTableView* grid) {
    TClientDataSet* d = docu();
    if (d && d->isEditing()) d->post();
    grid->setFocus();
    if (d && DeleteDocuLine(*d, *lines, *cdsUMoves)) SetModified(true);
}

void TfrmDocu::MoveLineDown(TClientDataSet* lines) {
    if (MoveDocuLine(*lines, +1)) SetModified(true);
}

void TfrmDocu::MoveLineUp(TClientDataSet* lines) {
    if (MoveDocuLine(*lines, -1)) SetModified(true);
}

void TfrmDocu::lineDblClick(QTableView* grid, QAction* edit) {
    TClientDataSet* lines = grid == DBGP ? cdsPMoves : cdsUMoves;
    if (lines->isActive() && !lines->isEmpty() && edit->isEnabled()) edit->trigger();
}

bool TfrmDocu::CheckDates() {
    TClientDataSet* d = docu();
    if (!d) return true;
    const TDocuDatesCheck check = CheckDocuDates(*d, m_editAllowed, GL.RPeriodID, GL.RPeriodDate1, GL.RPeriodDate2);
    if (!check.refusal.isEmpty()) {
        VendorMessageBox(check.refusal, mbWarningOk);
        edDateP->setFocus();
        return false;
    }
    if (!check.question.isEmpty() && VendorMessageBox(check.question, mbQuestionYesNo) != idYes) {
        edDateV->setFocus();
        return false;
    }
    return true;
}

bool TfrmDocu::CheckZakazch() {
    const QString refusal = DocuCustomerRefusal(docu());
    if (refusal.isEmpty()) return true;
    VendorMessageBox(refusal, mbWarningOk);
    return false;
}

void TfrmDocu::sbBookZakazchClick() {
    TClientDataSet* d = docu();
    if (!d || !m_editAllowed) return;
    const std::optional<int> id =
        ChooseFromBook(QStringLiteral("frmBookZakazch"), *DM().cdsZakazchLU, QStringLiteral("NAMEAP"));
    if (id) EditedField(*d, QStringLiteral("ZAKAZCH_ID")).setAsInteger(*id);
}

void TfrmDocu::sbZakazchInfoClick() {
    TClientDataSet* d = docu();
    if (!d) return;
    auto* info = Window<TfrmZakazchInfo>(QStringLiteral("frmZakazchInfo"));
    std::unique_ptr<TfrmZakazchInfo> own;
    if (!info) {
        own = std::make_unique<TfrmZakazchInfo>();
        info = own.get();
    }
    info->ZakazchID = d->fieldByName(QStringLiteral("ZAKAZCH_ID")).asInteger();
    info->ZakazchName = DocuShownName(*d, QStringLiteral("ZAKAZCH_NAME"), QStringLiteral("ZAKAZCH_ID"),
                                      DM().cdsZakazchLU, QStringLiteral("ID"), QStringLiteral("NAME"));
    execModal(info);
}

void TfrmDocu::SpeedButton1Click() {
    const int h = PanelHint->height();
    PanelHint->hide();
    resize(width(), height() - h);
    AppOptions.ShowHintMes = false;
}

void TfrmDocu::showError(const std::exception_ptr& error) {
    ShowErrorWindow(error, TErrorExplanation::Apply);
}

bool TfrmDocu::trySave() {
    TClientDataSet* d = docu();
    if (!d) return true;
    try {
        if (d->isEditing()) d->post();
        // In view mode only the hand-over date can change: the header alone is stored.
        TDocuSaveInput input;
        input.periodId = GL.RPeriodID;
        input.periodOpen = GL.RPeriodOpen;
        input.autoSklad = UchetOptions.AutoSklad;
        input.headerOnly = !m_editAllowed;
        const TDocuSaveResult result = SaveDocu(*d, *cdsPMoves, *cdsUMoves, input);
        if (!result.note().isEmpty()) TitledMessageBox(result.note(), mbInfoOk);
    } catch (...) {
        // The editor stays open with its changes and its mark; a lost
        // connection can be restored here and the save repeated.
        if (!HandleConnectionLost(std::current_exception())) showError(std::current_exception());
        return false;
    }
    SetModified(false);
    return true;
}

void TfrmDocu::discard(bool deleteNewRow) {
    TClientDataSet* d = docu();
    if (!d) return;
    const QString refusal = DiscardDocuChanges(*d, DocID, deleteNewRow);
    if (!refusal.isEmpty()) ShowErrorWindow(refusal);
}

void TfrmDocu::done(int r) {
    if (m_open) {
        const TDocuCloseButton button = r == QDialog::Accepted ? TDocuCloseButton::Save : TDocuCloseButton::Close;
        TDocuCloseAction action = DocuCloseAction(button, DocModified, TDocuCloseAnswer::NotAsked, IsNewDoc);
        if (action == TDocuCloseAction::Ask) {
            const int answer = VendorMessageBox(DocumentSaveChangesQuestion(), mbQuestionYesNo);
            action = DocuCloseAction(button, DocModified,
                                     answer == idYes ? TDocuCloseAnswer::Yes : TDocuCloseAnswer::No, IsNewDoc);
        }
        if (action == TDocuCloseAction::Save) {
            if (!CheckZakazch() || !CheckDates() || !trySave()) return;  // stays open with its changes
            r = QDialog::Accepted;
        } else {
            discard(action == TDocuCloseAction::DeleteNewRow);
        }
        m_open = false;
        cdsPMoves->close();
        cdsUMoves->close();
    }
    QDialog::done(r);
}
