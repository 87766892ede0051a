#include "books/ui/BookBase.h"

#include "ui/MessageBoxes.h"
#include "ui/ModalSeam.h"
#include "ui/WindowRegistry.h"
#include "books/core/BookActions.h"
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
#include <QMetaEnum>
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

void TBookBase::buildCommands(bool tree) {
    QStyle* s = style();
    const QMetaEnum pixmaps = QMetaEnum::fromType<QStyle::StandardPixmap>();
    const auto icon = [&](const QString& name) {
        return s->standardIcon(QStyle::StandardPixmap(pixmaps.keyToValue(name.toLatin1().constData())));
    };
    auto* views = new QActionGroup(this);
    for (const books::BookAction& c : books::BookActions(tree)) {
        auto* a = new QAction(icon(c.icon), c.caption, this);
        a->setObjectName(c.objectName);
        a->setToolTip(c.caption);
        QList<QKeySequence> keys;
        for (const QString& k : c.keys) keys << QKeySequence(k);
        a->setShortcuts(keys);
        a->setCheckable(c.checkable);
        a->setChecked(c.checked);
        if (c.hidden) a->setVisible(false);
        if (c.view) views->addAction(a);
        if (c.needsRows) m_needRows << a;
        addAction(a);
        if (c.gridKey) {
            a->setShortcutContext(Qt::WidgetShortcut);
            DBG->addAction(a);
        }
        m_commands.insert(c.objectName, a);
    }
    acAppend = command("acAppend");
    acAppendCopy = command("acAppendCopy");
    acDelete = command("acDelete");
    acEdit = command("acEdit");
    acReload = command("acReload");
    acHelp = command("acHelp");
    acEnter = command("acEnter");
    acExport = command("acExport");
    acImport = command("acImport");
    acFastFind = command("acFastFind");

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
    const books::BookAction sort = books::SortButton();
    sbSort = new QToolButton(this);
    sbSort->setObjectName(sort.objectName);
    sbSort->setToolTip(sort.caption);
    sbSort->setIcon(icon(sort.icon));
    sbSort->setMenu(popSort);
    sbSort->setPopupMode(QToolButton::InstantPopup);
    ToolBar = new QToolBar(this);
    ToolBar->setObjectName(books::BookToolbarName(tree));
    for (const QString& item : books::BookToolbar(tree)) {
        if (item == QLatin1String("-")) ToolBar->addSeparator();
        else if (item == sort.objectName) ToolBar->addWidget(sbSort);
        else ToolBar->addAction(command(item));
    }

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

QAction* TBookBase::command(const QString& name) const { return m_commands.value(name); }

void TBookBase::ActionListUpdate() {
    const bool rows = books::HasRows(*cdsBook);
    for (QAction* a : m_needRows) a->setEnabled(rows);
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
