#include "shell/Options.h"

#include "ui/EditorWidgets.h"
#include "ui/DialogButtons.h"

#include "session/Global.h"
#include "ui/ModalSeam.h"
#include "ui/Help.h"
#include "session/Settings.h"

#include <QApplication>
#include <QButtonGroup>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

TfrmOptions::TfrmOptions(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmOptions"));
    setWindowTitle(QStringLiteral("Настройки программы"));
    setModal(true);

    PageControl1 = named(new QTabWidget(this), "PageControl1");
    auto* page = named(new QWidget, "tsConnect");
    PageControl1->addTab(page, QStringLiteral("Подключение"));

    rbLocalConnect = named(new QRadioButton(QStringLiteral("Локальное"), page), "rbLocalConnect");
    rbRemoteLANConnect = named(new QRadioButton(QStringLiteral("По сети"), page), "rbRemoteLANConnect");
    auto* group = new QButtonGroup(this);  // the two exclude each other
    group->addButton(rbLocalConnect);
    group->addButton(rbRemoteLANConnect);

    edLocalDBName = named(new QLineEdit(page), "edLocalDBName");
    btnSelectDB = named(new QPushButton(QStringLiteral("..."), page), "btnSelectDB");
    btnSelectDB->setAutoDefault(false);
    btnSelectDB->setFixedWidth(btnSelectDB->sizeHint().height() + 4);
    edRemoteLANServer = named(new QLineEdit(page), "edRemoteLANServer");
    edRemoteLANFilename = named(new QLineEdit(page), "edRemoteLANFilename");

    auto* grid = new QGridLayout(page);
    grid->addWidget(rbLocalConnect, 0, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Файл базы данных"), page), 1, 0, 1, 2);
    grid->addWidget(edLocalDBName, 2, 0);
    grid->addWidget(btnSelectDB, 2, 1);
    grid->addWidget(rbRemoteLANConnect, 3, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Сервер"), page), 4, 0, 1, 2);
    grid->addWidget(edRemoteLANServer, 5, 0, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Файл базы данных на сервере"), page), 6, 0, 1, 2);
    grid->addWidget(edRemoteLANFilename, 7, 0, 1, 2);
    grid->setRowStretch(8, 1);

    const DialogButtons buttons = MakeDialogButtons(this);
    btnOk = buttons.ok;
    btnCancel = buttons.cancel;
    BitBtn1 = buttons.help;
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(PageControl1, 1);
    lay->addLayout(buttons.row);
    resize(420, 300);
    setFixedSize(sizeHint().expandedTo(QSize(420, 300)));

    connect(btnOk, &QPushButton::clicked, this, &TfrmOptions::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(btnSelectDB, &QPushButton::clicked, this, &TfrmOptions::btnSelectDBClick);
    connect(BitBtn1, &QPushButton::clicked, this, &TfrmOptions::BitBtn1Click);
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this, &TfrmOptions::BitBtn1Click);
    connect(rbLocalConnect, &QRadioButton::toggled, this, &TfrmOptions::UpdateConnectKindControls);
    connect(rbRemoteLANConnect, &QRadioButton::toggled, this, &TfrmOptions::UpdateConnectKindControls);

    ReadSettings(true);
}

void TfrmOptions::ReadSettings(bool withHintFlag) {
    TMyApplicationOptions file;
    ReadAppOptions(file);
    // Neither button checked for a kind other than 1 or 2.
    rbLocalConnect->group()->setExclusive(false);
    rbLocalConnect->setChecked(file.ConnectKind == 1);
    rbRemoteLANConnect->setChecked(file.ConnectKind == 2);
    rbLocalConnect->group()->setExclusive(true);

    edLocalDBName->setText(file.LocalDBName);
    edRemoteLANServer->setText(file.Server);
    edRemoteLANFilename->setText(file.ServerDBName);

    UpdateConnectKindControls();
    AppOptions.Port = file.Port;
    if (withHintFlag) AppOptions.ShowHintMes = file.ShowHintMes;
    ControlsToOptions();
}

void TfrmOptions::UpdateConnectKindControls() {
    const bool local = rbLocalConnect->isChecked();
    const bool remote = rbRemoteLANConnect->isChecked();
    edLocalDBName->setEnabled(local);
    btnSelectDB->setEnabled(local);
    edRemoteLANServer->setEnabled(remote);
    edRemoteLANFilename->setEnabled(remote);
}

void TfrmOptions::ControlsToOptions() {
    if (rbLocalConnect->isChecked()) AppOptions.ConnectKind = 1;
    else if (rbRemoteLANConnect->isChecked()) AppOptions.ConnectKind = 2;
    AppOptions.LocalDBName = edLocalDBName->text();
    AppOptions.Server = edRemoteLANServer->text();
    AppOptions.ServerDBName = edRemoteLANFilename->text();
}

void TfrmOptions::showEvent(QShowEvent* e) {
    ReadSettings(false);
    QDialog::showEvent(e);
}

void TfrmOptions::btnOkClick() {
    // Neither button checked is written as kind 0.
    TMyApplicationOptions chosen = AppOptions;
    chosen.ConnectKind = rbRemoteLANConnect->isChecked() ? 2 : rbLocalConnect->isChecked() ? 1 : 0;
    chosen.LocalDBName = edLocalDBName->text();
    chosen.Server = edRemoteLANServer->text();
    chosen.ServerDBName = edRemoteLANFilename->text();
    WriteAppOptions(chosen);
    ControlsToOptions();
    accept();
}

void TfrmOptions::btnSelectDBClick() {
    const QString file = ModalSeam::getOpenFileName(this, QString(), QString(), QStringLiteral("База данных (*.fdb)"));
    if (!file.isEmpty()) edLocalDBName->setText(file);
}

void TfrmOptions::BitBtn1Click() { HelpContext(this, QStringLiteral("_options_db.htm")); }
