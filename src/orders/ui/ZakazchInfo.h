#pragma once
// Customer information: the orders of one customer summed by year.
#include <QDialog>

class QLabel;
class QPushButton;
class QTableView;
class TClientDataSet;
class DataSetModel;

class TfrmZakazchInfo : public QDialog {
    Q_OBJECT
public:
    explicit TfrmZakazchInfo(QWidget* parent = nullptr);

    // Handed over by the caller before showing.
    int ZakazchID = 0;
    QString ZakazchName;

    TClientDataSet* cdsZak;
    QLabel* lbZakazchName;
    QTableView* DBGrid1;
    QPushButton* btnClose;

    void done(int r) override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    DataSetModel* m_model;
};
