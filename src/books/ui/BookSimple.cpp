#include "books/ui/BookSimple.h"

#include "ui/DataRoutines.h"
#include "data/DataSetRoutines.h"
#include "books/ui/ExchangeWindows.h"
#include "books/ui/FrameFastFind.h"
#include "data/ClientDataSet.h"
#include "ui/DataSetModel.h"
#include "data/StoredProc.h"
#include "ui/AppErrorHandler.h"

#include <QAction>
#include <QLabel>
#include <QTableView>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

TfrmBookSimple::TfrmBookSimple(const books::SimpleBookConfig& c, QWidget* parent) : TBookBase(parent) {
    setWindowTitle(c.caption);
    HelpPage = c.helpPage;
    SortCaptions = c.sortCaptions;
    FindCaptions = c.findCaptions;
    OrderFields = c.orderFields;
    CopyFields = c.copyFields;
    ExportFileName = c.exportFileName;
    LookupName = c.lookup;
    DialogName = c.dialog;
    DialogHeading = c.heading;
    cdsBook->setCommandText(c.sql);
    for (const books::BookField& f : c.fields) {
        TField& field = cdsBook->addField(f.name);
        if (f.label.isEmpty()) field.setVisible(false);
        else field.setDisplayLabel(f.label);
        if (f.width > 0) field.setDisplayWidth(f.width);
    }
    xpGetMaxItemId->setStoredProcName(c.idProc);

    buildCommands(QKeySequence(Qt::CTRL | Qt::Key_Delete));
    ToolBar->addAction(acAppend);
    ToolBar->addAction(acAppendCopy);
    ToolBar->addAction(acDelete);
    ToolBar->addAction(acEdit);
    ToolBar->addSeparator();
    ToolBar->addAction(acReload);
    ToolBar->addSeparator();
    ToolBar->addWidget(sbSort);
    ToolBar->addAction(acFastFind);
    ToolBar->addAction(acExport);
    ToolBar->addAction(acImport);
    ToolBar->addSeparator();
    ToolBar->addAction(acHelp);
    ToolBar->addSeparator();
    ToolBar->addAction(acEnter);
    m_main->addWidget(ToolBar);
    m_main->addWidget(FrameFastFind);
    m_main->addWidget(DBG, 1);
    m_main->addWidget(StatusBar);
    model->setStretchField(c.fields.size() > 1 ? c.fields.at(1).name : QString());
}

void TfrmBookSimple::showEvent(QShowEvent* e) {
    QDialog::showEvent(e);
    FormShow();
}

void TfrmBookSimple::FormShow() {
    for (int i = 0; i < 4; ++i) {
        miSort[i]->setText(SortCaptions[i]);
        miSort[i]->setVisible(i < 2 || !SortCaptions[i].isEmpty());
    }
    attachDialog();
    try {
        cdsBook->open();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    ActionListUpdate();
    UpdateStatusBar();
    DBG->setFocus();
}

void TfrmBookSimple::UpdateStatusBar() {
    StatusBar->setText(QStringLiteral("Записей в справочнике: %1").arg(cdsBook->isActive() ? cdsBook->recordCount() : 0));
}

void TfrmBookSimple::reloadRecords() { RefreshAndLocate(*cdsBook); }

void TfrmBookSimple::acExportExecute() { ExportFlatBook(this, cdsBook->query().sql(), ExportFileName); }

void TfrmBookSimple::acImportExecute() {
    if (!ImportFlatBook(this, cdsBook->query().sql())) return;
    try {
        reloadRecords();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    UpdateStatusBar();
}
