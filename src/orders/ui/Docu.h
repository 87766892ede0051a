#pragma once
// The service order editor: the header of the main window's current order,
// its product lines and its service lines, saved together.
#include "ui/JournalHost.h"

#include <QDialog>
#include <QList>
#include <QPointer>

class QAction;
class QComboBox;
class QDateEdit;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableView;
class QToolButton;
class DataSetModel;
class TClientDataSet;
class TFieldBinding;
class TLineDialog;

class TfrmDocu : public QDialog, public IDocumentEditor {
    Q_OBJECT
public:
    explicit TfrmDocu(QWidget* parent = nullptr);

    void setIsNewDoc(bool isNew) override { IsNewDoc = isNew; }

    // Editor state.
    int DocID = 0;
    int KindDocID = 0;
    QString KindDocName;
    bool IsNewDoc = false;
    bool DocModified = false;
    bool SyncingOtkl = false;

    // The line lists, kept sorted by NPP.
    TClientDataSet* cdsPMoves;
    TClientDataSet* cdsUMoves;

    // The order being edited: the journal's current row.
    TClientDataSet* docu() const;
    // Editing is allowed: the period is open and the operator holds the
    // right (ZakInsert for a new order, ZakEdit for an existing one).
    bool editingAllowed() const { return m_editAllowed; }

    // Line routines.
    void AppendLine(TClientDataSet* lines, QTableView* grid, TLineDialog* dialog);
    void EditLine(TClientDataSet* lines, QTableView* grid, TLineDialog* dialog);
    void DeleteLine(TClientDataSet* lines, QTableView* grid);
    void MoveLineUp(TClientDataSet* lines);
    void MoveLineDown(TClientDataSet* lines);
    bool CheckZakazch();
    // The acceptance date lies in the order's period (refused otherwise) and a
    // completion date before it is confirmed; false keeps the editor open.
    bool CheckDates();
    void SetModified(bool modified);
    void SetOtklEditable(int sign);
    void ShowOtklType();
    void FormActivate();

    // Command handlers.
    void sbBookZakazchClick();
    void sbZakazchInfoClick();
    void SpeedButton1Click();

    void done(int r) override;

    // Title panel.
    QLabel* lbNameDoc;
    QLineEdit* edSeries;
    QLineEdit* edNumber;
    QDateEdit* edDateP;
    QComboBox* cbZakazch;
    QToolButton* sbZakazchInfo;
    QToolButton* sbBookZakazch;
    QDateEdit* edDateV;
    QDateEdit* edDateVyd;
    QLineEdit* edVremVyd;
    // Lines.
    QTabWidget* PageControl1;
    QWidget* TabSheetP;
    QWidget* TabSheetU;
    QTableView* DBGP;
    QTableView* DBGU;
    QLineEdit* edTotal;
    // Lower panel.
    QGroupBox* GroupBox1;
    QRadioButton* rbNone;
    QRadioButton* rbSkid;
    QRadioButton* rbNadb;
    QLineEdit* edOtklProc;
    QLineEdit* edOtklSum;
    QLineEdit* edTolalWOtkl;
    QComboBox* cbComment;
    QComboBox* cbGarant;
    QLineEdit* edReceived;
    QLineEdit* edDebt;
    QLabel* lbPriemschikFio;
    // Buttons and the hint.
    QPushButton* BitBtn1;
    QPushButton* btnPrint;
    QPushButton* btnOk;
    QPushButton* btnCancel;
    QFrame* PanelHint;
    QToolButton* SpeedButton1;
    QMenu* popPrint1;

    QAction* acPMovesAppend;
    QAction* acPMovesEdit;
    QAction* acPMovesDelete;
    QAction* acPMovesUp;
    QAction* acPMovesDown;
    QAction* acUMovesAppend;
    QAction* acUMovesEdit;
    QAction* acUMovesDelete;
    QAction* acUMovesUp;
    QAction* acUMovesDown;
    QAction* acComEdit;
    QAction* acComDelete;
    QAction* acPrintKvit;
    QAction* acPrintKvitUz;
    QAction* acHelp;  // F1

protected:
    void showEvent(QShowEvent* e) override;
    void changeEvent(QEvent* e) override;

private:
    void buildTitlePanel(QWidget* panel);
    void buildLinesPanel();
    void buildLowerPanel(QWidget* panel);
    void buildActions();
    void setupLineFields();
    void bindHeader(TClientDataSet* docu);
    void applyMode();
    void applyKind();
    void refillComments();
    TLineDialog* productDialog();
    TLineDialog* uslugaDialog();
    void lineDblClick(QTableView* grid, QAction* edit);
    // Carrying out DocuCloseAction: a false trySave keeps the window open;
    // discard deletes the new order's row or undoes the cached changes.
    bool trySave();
    void discard(bool deleteNewRow);
    void showError(const std::exception_ptr& error);

    bool m_editAllowed = false;
    bool m_open = false;  // between showing and closing
    bool m_linesReady = false;
    QPointer<TClientDataSet> m_bound;
    QList<TFieldBinding*> m_headerBindings;
    TFieldBinding* m_bindOtklProc = nullptr;
    TFieldBinding* m_bindOtklSum = nullptr;
    TFieldBinding* m_bindComment = nullptr;
    QList<QMetaObject::Connection> m_docuConnections;
    DataSetModel* m_modelP;
    DataSetModel* m_modelU;
    QList<QAction*> m_commands;  // DocuCommands(), in its order
    TLineDialog* m_ownProduct = nullptr;
    TLineDialog* m_ownUsluga = nullptr;
};
