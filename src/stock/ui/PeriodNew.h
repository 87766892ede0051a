#pragma once
// The dates of a new work period: first and last day, preset to the current
// calendar month. A first day after the last day is refused and the dialog
// stays open.
#include "stock/core/PeriodRules.h"

#include <QDialog>

class QDateEdit;
class QPushButton;

class TfrmPeriodNew : public QDialog {
    Q_OBJECT
public:
    explicit TfrmPeriodNew(QWidget* parent = nullptr);

    TPeriodDates dates() const;
    // The day the presets follow (today unless a test sets another).
    void setToday(const QDate& today) { m_today = today; }

    QDateEdit* dtpDate1;
    QDateEdit* dtpDate2;
    QPushButton* btnOk;
    QPushButton* btnCancel;

public slots:
    void btnOkClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QDate m_today;
};
