#pragma once
// The service report dialogs ("Получить отчет"): the sum of orders by day and
// the services rendered by kind take two dates and close after the report;
// the customer card (RpKartaZak.h) shares the rest.
#include "orders/core/ServiceReports.h"

#include <QDialog>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class TFramePeriod;

class TfrmRpService : public QDialog {
    Q_OBJECT
public:
    TfrmRpService(TServiceReport report, QWidget* parent = nullptr);

    TServiceReport report() const { return m_report; }

    QLabel* stRepName;
    QDateEdit* dtpDate1 = nullptr;   // sum by day, services by kind
    QDateEdit* dtpDate2 = nullptr;
    TFramePeriod* framePeriod = nullptr;  // customer card
    QComboBox* cbZakazch = nullptr;
    QPushButton* BitBtn1;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    // Today for the month the dialog proposes (tests fix it).
    void setToday(const QDate& d) { m_today = d; }

public slots:
    void btnOkClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QDate today() const;

    TServiceReport m_report;
    QDate m_today;
};

class TfrmRpSummaKvit : public TfrmRpService {
    Q_OBJECT
public:
    explicit TfrmRpSummaKvit(QWidget* parent = nullptr) : TfrmRpService(TServiceReport::SummaKvit, parent) {}
};
