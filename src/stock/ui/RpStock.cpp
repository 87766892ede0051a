#include "stock/ui/RpStock.h"
#include "ui/EditorWidgets.h"

#include "ui/Application.h"
#include "session/Global.h"
#include "ui/MessageBoxes.h"
#include "data/DataModule.h"
#include "reports/ui/PrintWorkflow.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/FrameNomenk.h"
#include "ui/FramePeriod.h"

#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TfrmRpStock::TfrmRpStock(TStockReport report, QWidget* parent) : QDialog(parent), m_report(report) {
    setWindowTitle(QStringLiteral("Получить отчет"));
    setModal(true);

    stRepName = reportTitle(StockReportInfo(report).title, this);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(stRepName);
    if (StockReportInfo(report).onDate) {
        gbDate = new QGroupBox(QStringLiteral("На дату"), this);
        gbDate->setObjectName(QStringLiteral("gbDate"));
        dtpDate = dateEditor(gbDate, "dtpDate");
        auto* dl = new QHBoxLayout(gbDate);
        dl->addWidget(dtpDate);
        dl->addStretch(1);
        lay->addWidget(gbDate);
    } else {
        framePeriod = new TFramePeriod(this);
        lay->addWidget(framePeriod);
    }
    frameNomenk = new TFrameNomenk(this);
    lay->addWidget(frameNomenk);

    // The program's usual bottom row: help | Ok (default) | Отмена.
    const DialogButtons buttons = MakeDialogButtons(this, QStringLiteral("Ok"));
    BitBtn1 = buttons.help;
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;
    lay->addLayout(buttons.row);
    lay->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &TfrmRpStock::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmRpStock::BitBtn1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &TfrmRpStock::BitBtn1Click);
}

void TfrmRpStock::showEvent(QShowEvent* e) {
    stRepName->setText(StockReportInfo(m_report).title);
    if (framePeriod) framePeriod->InitFrame();
    if (dtpDate) dtpDate->setDate(QDate::currentDate());
    frameNomenk->InitFrame();
    QDialog::showEvent(e);
}

QDate TfrmRpStock::date1() const { return framePeriod ? framePeriod->GetDate1() : dtpDate->date(); }
QDate TfrmRpStock::date2() const { return framePeriod ? framePeriod->GetDate2() : dtpDate->date(); }

void TfrmRpStock::BitBtn1Click() { HelpContext(this, StockReportInfo(m_report).helpPage); }

void TfrmRpStock::btnOkClick() {
    const TNomenkFilter filter = frameNomenk->filter();
    const QString refusal = NomenkFilterRefusal(filter);
    if (!refusal.isEmpty()) {
        TitledMessageBox(refusal, mbWarningOk);
        return;
    }
    TClientDataSet& query = *DM().xqReportCom;
    try {
        const QDate d1 = date1(), d2 = date2();
        OpenStockReport(query, m_report, filter, d1, d2);
        // The query is closed when the print ends, however it ends.
        struct Close {
            TClientDataSet& q;
            ~Close() { q.close(); }
        } close{query};
        const QString form = QDir(QCoreApplication::applicationDirPath()).filePath(StockReportInfo(m_report).formName);
        PrintReport(QueryReportJob(form, query,
                                   StockReportVars(m_report, frameNomenk->GetFilterText(), UchetOptions.NameOrg,
                                                   UchetOptions.DenEd, d1, d2)),
                    this);
    } catch (...) {
        TApplication::handleException(std::current_exception());
    }
}
