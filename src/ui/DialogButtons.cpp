#include "ui/DialogButtons.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QStyle>

DialogButtons MakeDialogButtons(QWidget* parent, const QString& okCaption) {
    DialogButtons b;
    b.ok = new QPushButton(okCaption, parent);
    b.ok->setObjectName(QStringLiteral("btnOk"));
    b.ok->setDefault(true);
    b.cancel = new QPushButton(QStringLiteral("Отмена"), parent);
    b.cancel->setObjectName(QStringLiteral("btnCancel"));
    b.cancel->setAutoDefault(false);
    b.help = new QPushButton(parent);
    b.help->setObjectName(QStringLiteral("BitBtn1"));
    b.help->setIcon(parent->style()->standardIcon(QStyle::SP_DialogHelpButton));
    b.help->setToolTip(QStringLiteral("Справка"));
    b.help->setAutoDefault(false);
    b.row = new QHBoxLayout;
    b.row->addWidget(b.help);
    b.row->addStretch(1);
    b.row->addWidget(b.ok);
    b.row->addWidget(b.cancel);
    return b;
}
