#pragma once
// The About window: product title, program version and the database in use.
#include <QDialog>

class QLabel;
class QPlainTextEdit;
class QPushButton;

// The line of the database box: "База данных: " + the database string while
// connected, "<Подключение к базе данных отсутствует>" otherwise.
QString AboutDatabaseLine();

class TfrmAbout : public QDialog {
    Q_OBJECT
public:
    explicit TfrmAbout(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* e) override;

private:
    QLabel* Image1;
    QLabel* ProductName2;
    QLabel* lbVersion;
    QPlainTextEdit* memoDBInfo;
    QPushButton* OKButton;
};
