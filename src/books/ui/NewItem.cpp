#include "books/ui/NewItem.h"

#include "books/core/BookCommands.h"
#include "data/ClientDataSet.h"
#include "ui/FieldBinding.h"
#include "ui/AppErrorHandler.h"

#include <QFormLayout>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TfrmNewItem::TfrmNewItem(QWidget* parent) : QDialog(parent) {
    setModal(true);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    auto* v = new QVBoxLayout(this);
    PanelMain = new QWidget(this);
    PanelMain->setObjectName(QStringLiteral("PanelMain"));
    auto* mv = new QVBoxLayout(PanelMain);
    Label1 = new QLabel(PanelMain);
    Label1->setObjectName(QStringLiteral("Label1"));
    QFont f = Label1->font();
    f.setBold(true);
    f.setPixelSize(13);
    Label1->setFont(f);
    Label1->setStyleSheet(QStringLiteral("color: grey"));
    mv->addWidget(Label1);
    auto* line = new QFrame(PanelMain);
    line->setFrameShape(QFrame::HLine);
    mv->addWidget(line);
    form = new QFormLayout;
    mv->addLayout(form);
    v->addWidget(PanelMain);
    PanelBottom = new QWidget(this);
    PanelBottom->setObjectName(QStringLiteral("PanelBottom"));
    auto* h = new QHBoxLayout(PanelBottom);
    h->addStretch();
    btnOk = new QPushButton(QStringLiteral("Сохранить"), PanelBottom);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), PanelBottom);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    h->addWidget(btnOk);
    h->addWidget(btnCancel);
    v->addWidget(PanelBottom);
    connect(btnOk, &QPushButton::clicked, this, &TfrmNewItem::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &TfrmNewItem::btnCancelClick);
}

void TfrmNewItem::unbindAll() {
    for (TFieldBinding* b : findChildren<TFieldBinding*>()) delete b;
}

void TfrmNewItem::showEvent(QShowEvent* e) {
    unbindAll();
    if (EditedDataSet) {
        bindControls(EditedDataSet);
        m_originalId = EditedDataSet->isActive() && EditedDataSet->state() == TDataSetState::Edit
                           ? EditedDataSet->fieldByName(QStringLiteral("ID")).value()
                           : fb::Value();
    }
    QDialog::showEvent(e);
}

bool TfrmNewItem::saveChanges() { return EditedDataSet->applyUpdates() == 0; }

void TfrmNewItem::btnOkClick() {
    TClientDataSet* ds = EditedDataSet;
    if (!ds) return;
    try {
        ds->updateRecord();
        if (!CheckFields()) return;
        // A refused row stays the user's own record, with what was typed.
        if (books::SaveEditedRecord(*ds, m_originalId, [this] { return saveChanges(); })) accept();
    } catch (...) {
        ShowApplicationError(std::current_exception());
    }
}

void TfrmNewItem::btnCancelClick() { reject(); }

void TfrmNewItem::afterClose() {
    if (EditedDataSet && EditedDataSet->isEditing()) EditedDataSet->cancel();
}

void TfrmNewItem::done(int r) {
    QDialog::done(r);
    afterClose();
}
