#include "shell/About.h"

#include "session/Global.h"
#include "data/DataModule.h"
#include "fb/Attachment.h"
#include "shell/ConnectDB.h"
#include "session/Settings.h"

#include <QApplication>
#include <QIcon>
#include <QPainter>
#include <QPainterPath>
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

QString AboutLibrariesText() {
    return QStringLiteral(
        "Qt %1 — окна и печать; GNU LGPL 3\n"
        "Firebird client — работа с базой данных; Initial Developer's Public License 1.0\n"
        "Zint — штрих-коды; BSD 3-Clause\n"
        "CHMLib — файл справки; GNU LGPL 2.1")
        .arg(QString::fromLatin1(qVersion()));
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48, 64}) {
        QPixmap pm(size, size);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        QPainterPath frame;
        frame.addRoundedRect(QRectF(0.5, 0.5, size - 1, size - 1), size / 6.0, size / 6.0);
        p.fillPath(frame, QColor(0x2a, 0x6f, 0xb0));
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(int(size * 0.7));
        p.setFont(f);
        p.setPen(Qt::white);
        p.drawText(QRect(0, 0, size, size), Qt::AlignCenter, QStringLiteral("О"));
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

TfrmAbout::TfrmAbout(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmAbout"));
    setWindowTitle(QStringLiteral("О программе"));
    setModal(true);

    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(ProgramIcon().pixmap(48, 48));
    setWindowIcon(ProgramIcon());
    Image1->setAlignment(Qt::AlignTop);
    ProductName2 = new QLabel(QStringLiteral("Обрикс"), this);
    ProductName2->setObjectName(QStringLiteral("ProductName2"));
    QFont title = ProductName2->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.6);
    ProductName2->setFont(title);
    lbVersion = new QLabel(QStringLiteral("Версия: ") + ProgramDBVersion(), this);
    lbVersion->setObjectName(QStringLiteral("lbVersion"));

    // The database's line names itself ("База данных: ..."): no label above it.
    memoDBInfo = new QPlainTextEdit(this);
    memoDBInfo->setObjectName(QStringLiteral("memoDBInfo"));
    memoDBInfo->setReadOnly(true);
    memoDBInfo->setMaximumHeight(memoDBInfo->fontMetrics().lineSpacing() * 3 + 12);
    auto* libLabel = new QLabel(QStringLiteral("Программа построена на свободных библиотеках:"), this);
    memoLibraries = new QPlainTextEdit(AboutLibrariesText(), this);
    memoLibraries->setObjectName(QStringLiteral("memoLibraries"));
    memoLibraries->setReadOnly(true);
    memoLibraries->setLineWrapMode(QPlainTextEdit::NoWrap);
    libLabel->setBuddy(memoLibraries);

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
    lay->addWidget(memoDBInfo);
    lay->addWidget(libLabel);
    lay->addWidget(memoLibraries, 1);
    lay->addLayout(buttons);
    setFixedSize(560, 340);
}

void TfrmAbout::showEvent(QShowEvent* e) {
    memoDBInfo->clear();
    memoDBInfo->appendPlainText(AboutDatabaseLine());
    QDialog::showEvent(e);
    OKButton->setFocus();
}
