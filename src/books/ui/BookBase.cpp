#include "books/ui/BookBase.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "books/core/BookCommands.h"
#include "books/ui/FrameFastFind.h"
#include "books/ui/NewItem.h"
#include "data/ClientDataSet.h"
#include "data/DataModule.h"
#include "ui/DataSetModel.h"
#include "data/StoredProc.h"
#include "ui/AppErrorHandler.h"
#include "ui/Help.h"

#include <QAction>
#include <QActionGroup>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QMenu>
#include <QStyle>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TBookBase::TBookBase(const books::BookConfig& book, QWidget* parent) : QDialog(parent), Book(book) {
    setWindowFlags(windowFlags() | Qt::WindowMaximizeButtonHint | Qt::WindowMinimizeButtonHint);
    resize(760, 480);
    cdsBook = new TClientDataSet(this, QStringLiteral("cdsBook"));
    cdsBook->setOnReconcileError(
        [this](TClientDataSet& ds, const TApplyFailure& f) { return BookReconcileError(ds, f); });
    books::AddBookFields(*cdsBook, book.fields);
    xpGetMaxItemId = new TStoredProc(this, QStringLiteral("xpGetMaxItemId"));
    xpGetMaxItemId->setStoredProcName(book.idProc);
    m_main = new QVBoxLayout(this);
    m_main->setContentsMargins(0, 0, 0, 0);
    m_main->setSpacing(0);
    DBG = new QTableView(this);
    DBG->setObjectName(QStringLiteral("DBG"));
    DBG->setEditTriggers(QAbstractItemView::NoEditTriggers);
    DBG->setSelectionBehavior(QAbstractItemView::SelectRows);
    DBG->setSelectionMode(QAbstractItemView::SingleSelection);
    model = new DataSetModel(cdsBook, this);
    model->attachView(DBG);
    connect(DBG, &QTableView::doubleClicked, this, [this] { acEditExecute(); });
    FrameFastFind = new TFrameFastFind(this);
    FrameFastFind->hide();
    StatusBar = new QLabel(this);
    StatusBar->setObjectName(QStringLiteral("StatusBar"));
    StatusBar->setFrameShape(QFrame::StyledPanel);
    connect(cdsBook, &TClientDataSet::dataChanged, this, &TBookBase::ActionListUpdate);
    connect(cdsBook, &TClientDataSet::stateChanged, this, &TBookBase::ActionListUpdate);
}

void TBookBase::buildCommands(const QKeySequence& deleteKey) {
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(QStringLiteral("ToolBar1"));
    QStyle* s = style();
    const auto make = [this](const char* name, const QString& caption, const QKeySequence& key, const QIcon& icon) {
        auto* a = new QAction(icon, caption, this);
        a->setObjectName(QString::fromLatin1(name));
        a->setToolTip(caption);
        a->setShortcut(key);
        addAction(a);
        return a;
    };
    acAppend = make("acAppend", QStringLiteral("Создать запись"), QKeySequence(Qt::Key_Insert),
                    s->standardIcon(QStyle::SP_FileIcon));
    acAppendCopy = make("acAppendCopy", QStringLiteral("Создать запись копированием"),
                        QKeySequence(Qt::SHIFT | Qt::Key_Insert), s->standardIcon(QStyle::SP_FileLinkIcon));
    acDelete = make("acDelete", QStringLiteral("Удалить запись"), deleteKey, s->standardIcon(QStyle::SP_TrashIcon));
    // The delete key belongs to the grid: typed into a search field it deletes text, not records.
    acDelete->setShortcutContext(Qt::WidgetShortcut);
    DBG->addAction(acDelete);
    acEdit = make("acEdit", QStringLiteral("Редактировать запись"), QKeySequence(Qt::Key_F2),
                  s->standardIcon(QStyle::SP_FileDialogDetailedView));
    acReload = make("acReload", QStringLiteral("Обновить данные"), QKeySequence(Qt::Key_F5),
                    s->standardIcon(QStyle::SP_BrowserReload));
    acHelp = make("acHelp", QStringLiteral("Справка"), QKeySequence(Qt::Key_F1),
                  s->standardIcon(QStyle::SP_DialogHelpButton));
    acEnter = make("acEnter", QStringLiteral("Вставить в поле"), QKeySequence(Qt::CTRL | Qt::Key_Return),
                   s->standardIcon(QStyle::SP_DialogApplyButton));
    acEnter->setShortcuts({QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    acEnter->setVisible(false);
    acExport = make("acExport", QStringLiteral("Экспортировать данные"), {}, s->standardIcon(QStyle::SP_DialogSaveButton));
    acImport = make("acImport", QStringLiteral("Импортировать данные"), {}, s->standardIcon(QStyle::SP_DialogOpenButton));
    acFastFind = make("acFastFind", QStringLiteral("Быстрый поиск"), QKeySequence(Qt::CTRL | Qt::Key_F),
                      s->standardIcon(QStyle::SP_FileDialogContentsView));
    acFastFind->setCheckable(true);

    popSort = new QMenu(this);
    popSort->setObjectName(QStringLiteral("popSort"));
    auto* group = new QActionGroup(this);
    for (int i = 0; i < 4; ++i) {
        miSort[i] = popSort->addAction(Book.sortCaptions[size_t(i)]);
        miSort[i]->setObjectName(QStringLiteral("miSort%1").arg(i + 1));
        miSort[i]->setCheckable(true);
        group->addAction(miSort[i]);
        connect(miSort[i], &QAction::triggered, this, [this, i] { miSortClick(i); });
    }
    miSort[0]->setChecked(true);
    sbSort = new QToolButton(this);
    sbSort->setObjectName(QStringLiteral("sbSort"));
    sbSort->setToolTip(QStringLiteral("Выбрать порядок сортировки"));
    sbSort->setIcon(s->standardIcon(QStyle::SP_ArrowDown));
    sbSort->setMenu(popSort);
    sbSort->setPopupMode(QToolButton::InstantPopup);

    connect(acAppend, &QAction::triggered, this, &TBookBase::acAppendExecute);
    connect(acAppendCopy, &QAction::triggered, this, &TBookBase::acAppendCopyExecute);
    connect(acDelete, &QAction::triggered, this, &TBookBase::acDeleteExecute);
    connect(acEdit, &QAction::triggered, this, &TBookBase::acEditExecute);
    connect(acReload, &QAction::triggered, this, &TBookBase::acReloadExecute);
    connect(acHelp, &QAction::triggered, this, &TBookBase::acHelpExecute);
    connect(acEnter, &QAction::triggered, this, &TBookBase::acEnterExecute);
    connect(acFastFind, &QAction::triggered, this, &TBookBase::acFastFindExecute);
    connect(acExport, &QAction::triggered, this, &TBookBase::acExportExecute);
    connect(acImport, &QAction::triggered, this, &TBookBase::acImportExecute);
    connect(FrameFastFind->btnSearch, &QPushButton::clicked, this, &TBookBase::FrameFastFindbtnSearchClick);
    // The grid's order follows the chosen search field at once.
    connect(FrameFastFind, &TFrameFastFind::fieldChosen, this, [this](int k) {
        if (!FrameFastFind->isVisible()) return;
        if (const std::optional<int> order = books::SortForFindField(Book, k, checkedSort())) miSortClick(*order);
    });
}

TfrmNewItem* TBookBase::EditDialog() const { return Window<TfrmNewItem>(Book.dialog); }

TClientDataSet* TBookBase::LookupToRefresh() const {
    if (!DMExists() || Book.lookup.isEmpty()) return nullptr;
    return DM().findChild<TClientDataSet*>(Book.lookup);
}

void TBookBase::attachDialog() {
    if (TfrmNewItem* d = EditDialog()) {
        d->EditedDataSet = cdsBook;
        d->Label1->setText(Book.heading);
    }
}

int TBookBase::NewRecordID() {
    xpGetMaxItemId->execute();
    return books::NewRecordID(xpGetMaxItemId->paramByName(QStringLiteral("ID")));
}

int TBookBase::checkedSort() const {
    for (int i = 0; i < 4; ++i)
        if (miSort[i]->isChecked()) return i;
    return 0;
}

void TBookBase::ActionListUpdate() {
    const bool rows = books::HasRows(*cdsBook);
    acAppendCopy->setEnabled(rows);
    acDelete->setEnabled(rows);
    acEdit->setEnabled(rows);
}

TReconcileAction TBookBase::BookReconcileError(TClientDataSet&, const TApplyFailure& failure) {
    ReportJournalApplyError(failure.message);
    return TReconcileAction::Cancel;
}

bool TBookBase::runDialog(const QString& caption) {
    TfrmNewItem* d = EditDialog();
    if (!d) {
        cdsBook->cancel();
        return false;
    }
    attachDialog();
    d->setWindowTitle(caption);
    const bool ok = execModal(d) == QDialog::Accepted;
    if (cdsBook->isEditing()) cdsBook->cancel();
    return ok;
}

void TBookBase::acAppendExecute() {
    try {
        books::StartNewRecord(*cdsBook, NewRecordID(), newRowValues());
        if (runDialog(QStringLiteral("Новая запись"))) UpdateStatusBar();
    } catch (...) {
        if (cdsBook->isEditing()) cdsBook->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TBookBase::acAppendCopyExecute() {
    if (!books::HasRows(*cdsBook)) return;
    try {
        const books::FieldValues values = books::CopiedValues(*cdsBook, Book.copyFields);
        books::StartNewRecord(*cdsBook, NewRecordID(), values);
        if (runDialog(QStringLiteral("Новая запись"))) UpdateStatusBar();
    } catch (...) {
        if (cdsBook->isEditing()) cdsBook->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TBookBase::acEditExecute() {
    if (!books::HasRows(*cdsBook)) return;
    try {
        cdsBook->edit();
        if (runDialog(QStringLiteral("Редактирование записи"))) afterEditSaved();
    } catch (...) {
        if (cdsBook->isEditing()) cdsBook->cancel();
        ShowApplicationError(std::current_exception());
    }
}

void TBookBase::acDeleteExecute() {
    if (!books::HasRows(*cdsBook)) return;
    if (VendorMessageBox(books::DeleteRecordQuestion(), mbQuestionYesNo | mbDefaultNo) != idYes) return;
    try {
        const fb::Value id = cdsBook->fieldByName(QStringLiteral("ID")).value();
        if (!books::DeleteCurrentRecord(*cdsBook)) {
            reloadRecords();
            cdsBook->locate(QStringLiteral("ID"), id);
        }
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    UpdateStatusBar();
}

void TBookBase::acReloadExecute() {
    try {
        reloadRecords();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    UpdateStatusBar();
}

void TBookBase::acEnterExecute() {
    const std::optional<int> id = books::ChosenID(*cdsBook);
    if (!id) return;  // nothing to hand over from an empty list
    SelectedID = *id;
    accept();
}

void TBookBase::acHelpExecute() { HelpContext(this, Book.helpPage); }

void TBookBase::miSortClick(int index) {
    miSort[index]->setChecked(true);
    books::SortRecords(*cdsBook, Book, index, wholeLineOrderBy());
    try {
        if (cdsBook->isActive()) reloadRecords();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void TBookBase::acFastFindExecute() {
    const bool show = acFastFind->isChecked();
    FrameFastFind->setVisible(show);
    FrameFastFind->Captions = Book.findCaptions;
    FrameFastFind->Reset();
    FrameFastFind->checkField(checkedSort());
}

void TBookBase::FrameFastFindbtnSearchClick() {
    const int k = FrameFastFind->checkedField();
    if (k < 0) return;
    try {
        books::FindNearestRecord(*cdsBook, Book, k, FrameFastFind->edField[size_t(k)]->text());
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void TBookBase::closeBook() {
    cdsBook->close();
    if (TClientDataSet* lu = LookupToRefresh()) {
        try {
            lu->close();
            lu->open();
        } catch (...) {
            ShowApplicationError(std::current_exception());
        }
    }
}

void TBookBase::done(int r) {
    QDialog::done(r);
    closeBook();
    // Each caller shows "Вставить в поле" when it wants a choice; the next
    // opening from the menu is maintenance again.
    acEnter->setVisible(false);
}
