#pragma once
// The About window: the program's icon, name and version, the database in use
// and the free libraries the program is built on with their licences.
#include <QDialog>

class QIcon;
class QLabel;
class QPlainTextEdit;
class QPushButton;

// The line of the database box: "База данных: " + the database string while
// connected, "<Подключение к базе данных отсутствует>" otherwise.
QString AboutDatabaseLine();
// The free libraries, one a line: name, what it does, licence.
QString AboutLibrariesText();
// The program's icon (drawn, so that it needs no file).
QIcon ProgramIcon();

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
    QPlainTextEdit* memoLibraries;
    QPushButton* OKButton;
};
