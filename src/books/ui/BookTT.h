#pragma once
// The tree reference book: the group tree on the left, the records of the
// selected group (or all records) on the right; goods, services and products.
#include "books/ui/BookBase.h"
#include "books/core/BookRules.h"

namespace books {
struct GroupStored;
}
class QSplitter;
class TDBTreeView;
class QTreeWidgetItem;

class TfrmBookTT : public TBookBase {
    Q_OBJECT
    Q_PROPERTY(int KindDocID READ kindFilter WRITE setKindFilter)
public:
    explicit TfrmBookTT(const books::TreeBookConfig& config, QWidget* parent = nullptr);

    int kindFilter() const { return KindFilter; }
    void setKindFilter(int k) { KindFilter = k; }
    // Services: the document kind whose groups are shown (0 = all).
    int KindFilter = 0;

    TClientDataSet* cdsBookGroup;
    TClientDataSet* cdsBookGroupLU;
    TStoredProc* xpGetGroupId;
    TDBTreeView* DBTV;
    QWidget* PanelLeft;
    QWidget* PanelMain;
    QAction *acTreeNew, *acTreeDelete, *acTreeRename, *acViewTree, *acViewPlain;

    void FormShow();
    void UpdateStatusBar() override;
    void acExportExecute() override;
    void acImportExecute() override;
    void acTreeNewExecute();
    void acTreeRenameExecute();
    void acTreeDeleteExecute();
    void acViewTreeExecute();
    void DBTVChange();
    bool groupView() const;

protected:
    void showEvent(QShowEvent* e) override;
    void reloadRecords() override;
    bool wholeLineOrderBy() const override { return true; }
    QList<QPair<QString, fb::Value>> newRowValues() const override;
    void afterEditSaved() override;
    void closeBook() override;

private:
    // A group stored or refused: the refusal shown, the groups read again.
    void groupStored(const books::GroupStored& stored);
    void showRecords();
    void reopenGroupList();
    const books::TreeBookConfig m_config;
};
