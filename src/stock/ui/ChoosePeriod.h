#pragma once
// Choosing the current work period: the list of all periods; Ok makes the
// selected one current in GL and refreshes the main window's status bar.
#include <QDialog>

class QPushButton;
class QTableView;
class QToolButton;
class TClientDataSet;
class DataSetModel;

class TfrmChoosePeriod : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChoosePeriod(QWidget* parent = nullptr);

    TClientDataSet* cdsRPeriod;
    QTableView* DBGrid;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* BitBtn1;

    void done(int result) override;

public slots:
    void btnOkClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    DataSetModel* m_model;
};
