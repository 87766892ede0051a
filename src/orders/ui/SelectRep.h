#pragma once
// "Управление печатными формами": the print forms the program uses with the
// dates of their files' last change; a form is replaced by a file, saved to a
// file or opened in the report designer. The list and the file work are in
// PrintForms.h.
#include "orders/core/PrintForms.h"

#include <QDialog>

class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QTreeWidget;

class TfrmSelectRep : public QDialog {
    Q_OBJECT
public:
    explicit TfrmSelectRep(QWidget* parent = nullptr);

    QTabWidget* PageControl1;
    QWidget* tshDocs;
    QWidget* tshReports;
    QTreeWidget* lwDocs;
    QTreeWidget* lwReports;
    QPlainTextEdit* MemoInfo;
    QPushButton* btnLoad;
    QPushButton* btnSave;
    QPushButton* btnOpen;
    QPushButton* btnClose;
    QPushButton* BitBtn1;

    // The folder the forms' file names are relative to: the program's folder
    // unless set (tests set a folder of their own). Setting it fills the
    // dates and the lists again.
    void setProgramFolder(const QString& folder);
    QString programFolder() const;

    // Fills the dates of both lists from the files, then the lists (the first row of each selected).
    void FillDates();
    void FillLists();

public slots:
    void btnLoadClick();
    void btnSaveClick();
    void btnOpenClick();
    void BitBtn1Click();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void FormCreate();
    // The entry of the selected row on the visible tab; nullptr when no row is selected.
    const tXmlData* selectedEntry() const;
    QString fullPath(const tXmlData& entry) const;
    void refresh();

    QString m_programFolder;
};
