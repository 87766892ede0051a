#include "shell/About.h"

#include "app/Global.h"
#include "data/DataModule.h"
#include "fb/Attachment.h"
#include "shell/ConnectDB.h"
#include "shell/Settings.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

QString AboutDatabaseLine() {
    if (!GL.Connected) return QStringLiteral("<Подключение к базе данных отсутствует>");
    // The string the connection was opened with; the settings may have changed since.
    if (DMExists() && DM().isConnected()) return QStringLiteral("База данных: ") + DM().connection().database();
    return QStringLiteral("База данных: ") + DatabaseString(AppOptions);
}

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon).pixmap(48, 48));
    Image1->setAlignment(Qt::AlignTop);
    ProductName2 = new QLabel(QStringLiteral("Обрикс"), this);
    ProductName2->setObjectName(QStringLiteral("ProductName2"));
    QFont title = ProductName2->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.6);
    ProductName2->setFont(title);
    lbVersion = new QLabel(QStringLiteral("Версия: ") + ProgramDBVersion(), this);
    lbVersion->setObjectName(QStringLiteral("lbVersion"));

    auto* dbLabel = new QLabel(QStringLiteral("База данных:"), this);
    memoDBInfo = new QPlainTextEdit(this);
    memoDBInfo->setObjectName(QStringLiteral("memoDBInfo"));
    memoDBInfo->setReadOnly(true);
    dbLabel->setBuddy(memoDBInfo);

    OKButton = new QPushButton(QStringLiteral("&Ok"), this);
    OKButton->setObjectName(QStringLiteral("OKButton"));
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* titles = new QVBoxLayout;
    titles->addWidget(ProductName2);
    titles->addWidget(lbVersion);
    titles->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(Image1);
    top->addLayout(titles, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(OKButton);
    buttons->addStretch(1);
    auto* lay = new QVBoxLayout(this);
    lay->addLayout(top);
    lay->addWidget(dbLabel);
    lay->addWidget(memoDBInfo, 1);
    lay->addLayout(buttons);
    setFixedSize(380, 260);
}

void TfrmAbout::showEvent(QShowEvent* e) {
    memoDBInfo->clear();
    memoDBInfo->appendPlainText(AboutDatabaseLine());
    QDialog::showEvent(e);
    OKButton->setFocus();
}
