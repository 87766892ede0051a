#include "stock/ui/ChoosePeriod.h"
#include "ui/DialogButtons.h"

#include "session/Global.h"
#include "ui/JournalHost.h"
#include "data/ClientDataSet.h"
#include "ui/DataSetModel.h"
#include "ui/Help.h"
#include "stock/core/PeriodList.h"

#include <QAbstractItemView>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QShortcut>
#include <QStyle>
#include <QTableView>
#include <QToolButton>
#include <QVBoxLayout>

TfrmChoosePeriod::TfrmChoosePeriod(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChoosePeriod"));
    setWindowTitle(QStringLiteral("Выберите рабочий период"));
    setModal(true);

    cdsRPeriod = MakeChoosePeriodList(this);

    DBGrid = new QTableView(this);
    DBGrid->setObjectName(QStringLiteral("DBGrid"));
    DBGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBGrid->setSelectionMode(QAbstractItemView::SingleSelection);
    DBGrid->horizontalHeader()->setStretchLastSection(true);
    m_model = new DataSetModel(cdsRPeriod, this);
    m_model->attachView(DBGrid);

    const DialogButtons buttons = MakeDialogButtons(this, QStringLiteral("Ok"));
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;
    BitBtn1 = buttons.help;
    BitBtn1->setFocusPolicy(Qt::NoFocus);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(DBGrid, 1);
    lay->addLayout(buttons.row);
    setFixedSize(420, 320);

    connect(btnOk, &QPushButton::clicked, this, &TfrmChoosePeriod::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QToolButton::clicked, this, &TfrmChoosePeriod::BitBtn1Click);
    connect(DBGrid, &QTableView::doubleClicked, this, &TfrmChoosePeriod::btnOkClick);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            &TfrmChoosePeriod::BitBtn1Click);
}

void TfrmChoosePeriod::showEvent(QShowEvent* e) {
    ReopenPeriodList(*cdsRPeriod, GL.RPeriodID, TPeriodFallback::First);
    QDialog::showEvent(e);
}

void TfrmChoosePeriod::btnOkClick() {
    if (const std::optional<TChosenPeriod> p = ChosenPeriod(*cdsRPeriod)) {
        GL.RPeriodID = p->id;
        GL.RPeriodDate1 = p->date1;
        GL.RPeriodDate2 = p->date2;
        GL.RPeriodOpen = p->open;
    } else {
        GL.RPeriodID = -1;
    }
    if (IJournalHost* host = JournalHost()) host->UpdateStatusBar();
    accept();
}

void TfrmChoosePeriod::BitBtn1Click() { HelpContext(this, QStringLiteral("_vyb_rabper.htm")); }

void TfrmChoosePeriod::done(int result) {
    cdsRPeriod->close();
    QDialog::done(result);
}
