#include "shell/NewDoc.h"

#include "ui/DataRoutines.h"
#include "data/DataModule.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

TfrmNewDoc::TfrmNewDoc(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmNewDoc"));
    setWindowTitle(QStringLiteral("Создать документ"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    ListBox = new QListWidget(this);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    Ok = new QPushButton(QStringLiteral("Ok"), this);
    Ok->setObjectName(QStringLiteral("Ok"));
    Ok->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    connect(Ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);  // Escape rejects as well
    connect(ListBox, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Ok);
    buttons->addWidget(btnCancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ListBox);
    layout->addLayout(buttons);
    setFixedSize(320, 240);
}

int TfrmNewDoc::selectedKindId() const {
    const QListWidgetItem* item = ListBox->currentItem();
    return item ? item->data(kItemIdRole).toInt() : -1;
}

void TfrmNewDoc::fillKinds() {
    ListBox->clear();
    if (!DMExists() || !DM().cdsKindDoc->isActive()) return;
    TClientDataSet& kinds = *DM().cdsKindDoc;
    kinds.setFilter(QStringLiteral("TYPEDOC=") + QString::number(m_typeDoc));
    kinds.setFiltered(true);
    try {
        FillListBox(ListBox, kinds, QStringLiteral("NAME"));
    } catch (...) {
        kinds.setFiltered(false);
        throw;
    }
    kinds.setFiltered(false);
}

void TfrmNewDoc::showEvent(QShowEvent* e) {
    fillKinds();
    if (const QScreen* screen = this->screen()) move(screen->availableGeometry().center() - rect().center());
    QDialog::showEvent(e);
}
