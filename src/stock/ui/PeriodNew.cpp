#include "stock/ui/PeriodNew.h"

#include "ui/MessageBoxes.h"

#include "ui/EditorWidgets.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TfrmPeriodNew::TfrmPeriodNew(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmPeriodNew"));
    setWindowTitle(QStringLiteral("Новый период"));
    setModal(true);

    dtpDate1 = dateEditor(this, "dtpDate1");
    dtpDate2 = dateEditor(this, "dtpDate2");
    btnOk = new QPushButton(QStringLiteral("Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Начало"), dtpDate1);
    form->addRow(QStringLiteral("Окончание"), dtpDate2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(form);
    lay->addLayout(buttons);
    lay->setSizeConstraint(QLayout::SetFixedSize);

    connect(btnOk, &QPushButton::clicked, this, &TfrmPeriodNew::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

TPeriodDates TfrmPeriodNew::dates() const { return {dtpDate1->date(), dtpDate2->date()}; }

void TfrmPeriodNew::showEvent(QShowEvent* e) {
    const TPeriodDates month = MonthDates(m_today.isValid() ? m_today : QDate::currentDate());
    dtpDate1->setDate(month.date1);
    dtpDate2->setDate(month.date2);
    QDialog::showEvent(e);
}

void TfrmPeriodNew::btnOkClick() {
    const QString error = PeriodDatesError(dtpDate1->date(), dtpDate2->date());
    if (!error.isEmpty()) {
        TitledMessageBox(error, mbWarningOk);
        dtpDate1->setFocus();
        return;
    }
    accept();
}
