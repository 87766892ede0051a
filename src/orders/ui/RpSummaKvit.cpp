#include "orders/ui/RpSummaKvit.h"
#include "ui/EditorWidgets.h"

#include "ui/Application.h"
#include "ui/DataRoutines.h"
#include "session/Global.h"
#include "data/DataModule.h"
#include "reports/ui/PrintWorkflow.h"
#include "ui/DialogButtons.h"
#include "ui/Help.h"
#include "ui/FramePeriod.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDateEdit>
#include <QDir>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QVBoxLayout>

TfrmRpService::TfrmRpService(TServiceReport report, QWidget* parent) : QDialog(parent), m_report(report) {
    setWindowTitle(QStringLiteral("Получить отчет"));
    setModal(true);

    stRepName = reportTitle(ServiceReportInfo(report).title, this);

    auto* lay = new QVBoxLayout(this);
    lay->addWidget(stRepName);
    if (ServiceReportInfo(report).perCustomer) {
        framePeriod = new TFramePeriod(this);
        lay->addWidget(framePeriod);
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("Заказчик"), this));
        cbZakazch = new QComboBox(this);
        cbZakazch->setObjectName(QStringLiteral("cbZakazch"));
        cbZakazch->setMinimumWidth(260);
        row->addWidget(cbZakazch, 1);
        lay->addLayout(row);
    } else {
        auto* row = new QHBoxLayout;
        row->addWidget(new QLabel(QStringLiteral("За период с"), this));
        dtpDate1 = dateEditor(this, "dtpDate1");
        row->addWidget(dtpDate1);
        row->addWidget(new QLabel(QStringLiteral("по"), this));
        dtpDate2 = dateEditor(this, "dtpDate2");
        row->addWidget(dtpDate2);
        row->addStretch(1);
        lay->addLayout(row);
    }

    // The program's usual bottom row: help | Ok (default) | Отмена.
    const DialogButtons buttons = MakeDialogButtons(this, QStringLiteral("Ok"));
    BitBtn1 = buttons.help;
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;
    lay->addLayout(buttons.row);
    lay->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &TfrmRpService::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmRpService::BitBtn1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &TfrmRpService::BitBtn1Click);
}

QDate TfrmRpService::today() const { return m_today.isValid() ? m_today : QDate::currentDate(); }

void TfrmRpService::showEvent(QShowEvent* e) {
    stRepName->setText(ServiceReportInfo(m_report).title);
    if (ServiceReportInfo(m_report).perCustomer) {
        framePeriod->InitFrame(today());
        TClientDataSet& customers = *DM().cdsZakazchLU;
        if (customers.isActive()) FillComboBox(cbZakazch, customers, QStringLiteral("NAME"));
        else cbZakazch->clear();
    } else {
        const auto month = MonthOf(today());
        dtpDate1->setDate(month.first);
        dtpDate2->setDate(month.second);
    }
    QDialog::showEvent(e);
}

void TfrmRpService::BitBtn1Click() { HelpContext(this, ServiceReportInfo(m_report).helpPage); }

void TfrmRpService::btnOkClick() {
    const bool card = ServiceReportInfo(m_report).perCustomer;
    // Without a customer there is nothing to report.
    if (card && ComboSelectedID(cbZakazch) < 0) return;
    TClientDataSet& query = *DM().xqReportCom;
    bool shown = false;
    try {
        const QDate d1 = card ? framePeriod->GetDate1() : dtpDate1->date();
        const QDate d2 = card ? framePeriod->GetDate2() : dtpDate2->date();
        OpenServiceReport(query, m_report, d1, d2, card ? ComboSelectedID(cbZakazch) : -1);
        // The query is closed when the print ends, however it ends.
        struct Close {
            TClientDataSet& q;
            ~Close() { q.close(); }
        } close{query};
        const QString form =
            QDir(QCoreApplication::applicationDirPath()).filePath(ServiceReportInfo(m_report).formName);
        shown = PrintReport(QueryReportJob(form, query,
                                           ServiceReportVars(m_report, UchetOptions.NameOrg, UchetOptions.DenEd, d1, d2,
                                                             card ? cbZakazch->currentText() : QString())),
                            this);
    } catch (...) {
        TApplication::handleException(std::current_exception());
        return;
    }
    if (shown && !card) accept();
}
