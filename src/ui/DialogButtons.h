#pragma once
// The bottom row of the program's fixed dialogs: the help button on the left,
// then "Ok" (default) and "Отмена".
#include <QString>

class QHBoxLayout;
class QPushButton;
class QWidget;

struct DialogButtons {
    QPushButton* ok = nullptr;      // btnOk, the default button
    QPushButton* cancel = nullptr;  // btnCancel
    QPushButton* help = nullptr;    // BitBtn1, hint "Справка"
    QHBoxLayout* row = nullptr;     // help | stretch | ok | cancel
};

DialogButtons MakeDialogButtons(QWidget* parent, const QString& okCaption = QStringLiteral("&Ok"));
