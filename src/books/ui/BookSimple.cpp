#include "books/ui/BookSimple.h"

#include "books/core/BookCommands.h"

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

TfrmBookSimple::TfrmBookSimple(const books::SimpleBookConfig& c, QWidget* parent)
    : TBookBase(c, parent), m_config(c) {
    setWindowTitle(c.caption);
    cdsBook->setCommandText(c.sql);

    buildCommands(false);
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
        miSort[i]->setText(Book.sortCaptions[size_t(i)]);
        miSort[i]->setVisible(books::SortShown(Book, i));
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
    StatusBar->setText(books::BookStatusText(cdsBook->isActive() ? cdsBook->recordCount() : 0));
}

void TfrmBookSimple::reloadRecords() { RefreshAndLocate(*cdsBook); }

void TfrmBookSimple::acExportExecute() { ExportFlatBook(this, cdsBook->query().sql(), m_config.exportFileName); }

void TfrmBookSimple::acImportExecute() {
    if (!ImportFlatBook(this, cdsBook->query().sql())) return;
    try {
        reloadRecords();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
    UpdateStatusBar();
}
