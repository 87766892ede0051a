#pragma once
// The dialog shared by the four stock reports ("Получить отчет"): the title,
// the period frame (movement reports) or the "На дату" picker (stock on hand),
// the nomenclature frame and the buttons. "Ok" makes the report and leaves
// the dialog open, so several reports can be made in a row.
#include "stock/core/StockReports.h"

#include <QDialog>

class QDateEdit;
class QGroupBox;
class QLabel;
class QPushButton;
class TFramePeriod;
class TFrameNomenk;

class TfrmRpStock : public QDialog {
    Q_OBJECT
public:
    TfrmRpStock(TStockReport report, QWidget* parent = nullptr);

    TStockReport report() const { return m_report; }
    // The two dates the report covers (the same date twice for stock on hand).
    QDate date1() const;
    QDate date2() const;

    QLabel* stRepName;
    TFramePeriod* framePeriod = nullptr;  // movement reports
    QGroupBox* gbDate = nullptr;          // stock on hand: "На дату"
    QDateEdit* dtpDate = nullptr;
    TFrameNomenk* frameNomenk;
    QPushButton* BitBtn1;
    QPushButton* btnOk;
    QPushButton* btnCancel;

public slots:
    void btnOkClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    TStockReport m_report;
};
