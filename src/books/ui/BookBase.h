#pragma once
// What the flat and the tree reference books share: the records' dataset and
// grid, the commands with their short-cuts, the sort menu, the quick-find
// frame, the status bar, the record dialog and the choose-and-return mode
// ("Вставить в поле" returns the current row's ID as SelectedID).
#include "fb/Value.h"

#include <QDialog>
#include <QHash>
#include <QPointer>
#include <array>

class QAction;
class QActionGroup;
class QLabel;
class QMenu;
class QStatusBar;
class QTableView;
class QToolBar;
class QToolButton;
class QVBoxLayout;
class DataSetModel;
class TClientDataSet;
class TFrameFastFind;
class TStoredProc;
class TfrmNewItem;
namespace books {
struct BookConfig;
}
struct TApplyFailure;
enum class TReconcileAction;

class TBookBase : public QDialog {
    Q_OBJECT
    Q_PROPERTY(int SelectedID READ selectedId WRITE setSelectedId)
public:
    // The book's configuration lives as long as the program (books/core/BookRules.h).
    explicit TBookBase(const books::BookConfig& book, QWidget* parent = nullptr);

    int selectedId() const { return SelectedID; }
    void setSelectedId(int id) { SelectedID = id; }

    int SelectedID = 0;
    const books::BookConfig& Book;

    TClientDataSet* cdsBook;
    TStoredProc* xpGetMaxItemId;
    QTableView* DBG;
    DataSetModel* model;
    QToolBar* ToolBar;
    QMenu* popSort;
    std::array<QAction*, 4> miSort;
    QToolButton* sbSort;
    TFrameFastFind* FrameFastFind;
    QLabel* StatusBar;

    QAction *acAppend, *acAppendCopy, *acDelete, *acEdit, *acReload, *acHelp, *acEnter, *acExport, *acImport,
        *acFastFind;

    TfrmNewItem* EditDialog() const;
    TClientDataSet* LookupToRefresh() const;

    void acAppendExecute();
    void acAppendCopyExecute();
    void acDeleteExecute();
    void acEditExecute();
    void acReloadExecute();
    void acEnterExecute();
    void acHelpExecute();
    void acFastFindExecute();
    // CSV exchange of the book's rows (books/ExchangeWindows.h).
    virtual void acExportExecute() = 0;
    virtual void acImportExecute() = 0;
    void FrameFastFindbtnSearchClick();
    void miSortClick(int index);
    int checkedSort() const;

    virtual void UpdateStatusBar() = 0;
    void ActionListUpdate();

    // Apply errors: the database error window explains, the change is undone in memory.
    TReconcileAction BookReconcileError(TClientDataSet& ds, const TApplyFailure& failure);

protected:
    // The commands and the toolbar of a flat or a tree book, the sort menu and the quick find's wiring.
    void buildCommands(bool tree);
    QAction* command(const QString& name) const;
    // The configured record dialog bound to cdsBook with its heading.
    void attachDialog();
    int NewRecordID();
    // Rows re-read in the current order; the current row kept.
    virtual void reloadRecords() = 0;
    virtual bool wholeLineOrderBy() const = 0;
    // Values of a new row before its ID (the tree book's group in view).
    virtual QList<QPair<QString, fb::Value>> newRowValues() const { return {}; }
    virtual void afterEditSaved() {}
    // A record dialog in its state: OK when the row was stored.
    bool runDialog(const QString& caption);
    void done(int r) override;
    virtual void closeBook();

    QVBoxLayout* m_main;

private:
    QHash<QString, QAction*> m_commands;
    QList<QAction*> m_needRows;
};
