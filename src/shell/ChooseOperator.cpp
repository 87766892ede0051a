#include "shell/ChooseOperator.h"

#include "ui/DataRoutines.h"
#include "ui/MessageBoxes.h"
#include "data/DataModule.h"
#include "session/OperatorLogin.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

TfrmChooseOperator::TfrmChooseOperator(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmChooseOperator"));
    setWindowTitle(QStringLiteral("Оператор"));
    setModal(true);

    ListBox = new QListWidget(this);
    ListBox->setObjectName(QStringLiteral("ListBox"));
    auto* label = new QLabel(QStringLiteral("Пароль"), this);
    edPassword = new QLineEdit(this);
    edPassword->setObjectName(QStringLiteral("edPassword"));
    edPassword->setEchoMode(QLineEdit::Password);
    label->setBuddy(edPassword);

    btnOk = new QPushButton(QStringLiteral("&Ok"), this);
    btnOk->setObjectName(QStringLiteral("btnOk"));
    btnOk->setDefault(true);
    btnCancel = new QPushButton(QStringLiteral("Отмена"), this);
    btnCancel->setObjectName(QStringLiteral("btnCancel"));
    btnCancel->setAutoDefault(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(btnOk);
    buttons->addWidget(btnCancel);
    auto* lay = new QVBoxLayout(this);
    lay->addWidget(ListBox, 1);
    lay->addWidget(label);
    lay->addWidget(edPassword);
    lay->addLayout(buttons);
    setFixedSize(300, 320);

    connect(btnOk, &QPushButton::clicked, this, &TfrmChooseOperator::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    // A double click on a name moves to the password.
    connect(ListBox, &QListWidget::itemDoubleClicked, edPassword, [this] { edPassword->setFocus(); });
}

void TfrmChooseOperator::showEvent(QShowEvent* e) {
    FillListBox(ListBox, *DM().cdsPriemschikLU, QStringLiteral("FIO"));
    QDialog::showEvent(e);
}

void TfrmChooseOperator::btnOkClick() {
    QListWidgetItem* item = ListBox->currentItem();
    const int id = item ? item->data(kItemIdRole).toInt() : 0;
    const TLoginResult r = CheckOperatorLogin(*DM().cdsPriemschikLU, item != nullptr, id, edPassword->text());
    if (r != TLoginResult::Ok) {
        TitledMessageBox(LoginMessage(r), mbStopOk);
        return;
    }
    accept();
}
