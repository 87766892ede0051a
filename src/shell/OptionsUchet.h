#pragma once
// The organisation's details and accounting parameters: the one row of
// UCHINFO, edited in place in the data module's cdsUchInfo. OK posts and
// applies it; UchetOptions takes the new values only after the database
// accepted them. A refused post or apply shows the error window and keeps
// this window open with the changes. Cancel, Escape and the close box throw
// away every change not applied.
#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TFieldBinding;

class TfrmOptionsUchet : public QDialog {
    Q_OBJECT
public:
    explicit TfrmOptionsUchet(QWidget* parent = nullptr);

    // Loads UchetOptions from the current row of cdsUchInfo.
    static void UpdateVariables();
    // The term of completion in days that the organisation may set.
    static constexpr int kDVDeltaMin = 0;
    static constexpr int kDVDeltaMax = 3650;

    // Posts and applies; true when the database took the row (then
    // UchetOptions follows). On refusal the error window is shown.
    bool SaveChanges();

public slots:
    void btnOkClick();
    void BitBtn1Click();
    void reject() override;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void bindFields();

    QTabWidget* PageControl1;
    QWidget* tsSved;
    QWidget* tsParam;
    QLineEdit* edNameOrg;
    QLineEdit* edRukovod;
    QLineEdit* edGlavbuh;
    QLineEdit* edAdresOrg;
    QLineEdit* edPhoneOrg;
    QLineEdit* edINN;
    QLineEdit* edKPP;
    QLineEdit* edOGRN;
    QLineEdit* edBankname;
    QLineEdit* edBankBik;
    QLineEdit* edSchet;
    QLineEdit* edKorSchet;
    QLineEdit* edSerdef;
    QLineEdit* edDVDelta;
    QLineEdit* edVremdef;
    QLineEdit* edDened;
    QCheckBox* chbAutoSklad;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QPushButton* BitBtn1;
    bool m_bound = false;
};
