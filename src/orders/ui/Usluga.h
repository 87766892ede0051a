#pragma once
// The service line dialog: one service rendered (a line of UMOVES).
#include "orders/ui/LineDialog.h"

#include <QPointer>

class QComboBox;
class QLineEdit;
class QToolButton;
class TFieldBinding;

class TfrmUsluga : public TLineDialog {
    Q_OBJECT
public:
    explicit TfrmUsluga(QWidget* parent = nullptr);

    QLineEdit* edNum;
    QComboBox* cbUsluga;
    QToolButton* sbBookUsluga;
    QLineEdit* edSumma;

    void btnOkClick();
    void sbBookUslugaClick();

protected:
    void showEvent(QShowEvent* e) override;
    void beforeClose() override;

private:
    QList<TFieldBinding*> makeBindings(TClientDataSet* lines) override;
};
