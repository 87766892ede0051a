#pragma once
// The login window: the operator picks their name and types the password.
// OK closes it only after the password matched; Cancel ends the program
// (the main window decides that).
#include <QDialog>

class QLineEdit;
class QListWidget;
class QPushButton;

class TfrmChooseOperator : public QDialog {
    Q_OBJECT
public:
    explicit TfrmChooseOperator(QWidget* parent = nullptr);

public slots:
    void btnOkClick();

protected:
    void showEvent(QShowEvent* e) override;

private:
    QListWidget* ListBox;
    QLineEdit* edPassword;
    QPushButton* btnOk;
    QPushButton* btnCancel;
};
