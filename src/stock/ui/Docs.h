#pragma once
// The stock document editor: the header of the main window's current stock
// document, its goods lines (added, changed, removed and reordered through
// the stock line dialog), its totals, saving and printing.
#include "ui/JournalHost.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QAction;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;
class DataSetModel;
class TClientDataSet;
class TFieldBinding;
class TfrmTovar;

class TfrmDocs : public QDialog, public IDocumentEditor {
    Q_OBJECT
public:
    explicit TfrmDocs(QWidget* parent = nullptr);

    void setIsNewDoc(bool isNew) override { IsNewDoc = isNew; }

    int DocID = 0;
    int KindDocID = 0;
    QString KindDocName;
    bool IsNewDoc = false;
    bool DocModified = false;

    // The lines, kept sorted by NPP.
    TClientDataSet* cdsMoves;

    // The document: the journal's current row.
    TClientDataSet* docs() const;
    bool editingAllowed() const { return m_editAllowed; }

    void AppendLine();
    void EditLine();
    void DeleteLine();
    void MoveLineUp();
    void MoveLineDown();
    void CalcDocSumma();
    void SetModified(bool modified);
    // Header and lines in one transaction; false (the error shown, every
    // change and the mark kept) when the database refused.
    bool SaveDoc();
    void PrintDoc();

    void done(int r) override;

    QLabel* lbNameDoc;
    QDateEdit* edDateP;
    QLineEdit* edNumber;
    QTableView* DBGP;
    QLineEdit* edDocuTitle;
    QLineEdit* edComment;
    QLineEdit* edSumma;
    QLabel* lbSummaRealiz;
    QLineEdit* edSummaRealiz;
    QPushButton* BitBtn1;
    QPushButton* btnPrint;
    QPushButton* btnOk;
    QPushButton* btnCancel;

    QAction* acMovesAppend;
    QAction* acMovesEdit;
    QAction* acMovesDelete;
    QAction* acMovesUp;
    QAction* acMovesDown;
    QAction* acPrint;
    QAction* acHelp;

protected:
    void showEvent(QShowEvent* e) override;

private:
    TfrmTovar* lineDialog();
    void bindHeader(TClientDataSet* d);
    void beginLineCommand();
    void runLineDialog(bool newLine);
    void discard();
    void showError(const std::exception_ptr& error);

    bool m_editAllowed = false;
    bool m_open = false;
    bool m_linesReady = false;
    bool m_settingTotals = false;
    QPointer<TClientDataSet> m_bound;
    QList<TFieldBinding*> m_headerBindings;
    QList<TFieldBinding*> m_lockedBindings;
    QList<QMetaObject::Connection> m_docsConnections;
    DataSetModel* m_model;
    QList<QAction*> m_commands;  // StockDocCommands(), in its order
    TfrmTovar* m_ownTovar = nullptr;
};
