#pragma once
// The product line dialog: one item accepted for repair (a line of PMOVES).
#include "orders/ui/LineDialog.h"

#include <QPointer>

class QComboBox;
class QLabel;
class QLineEdit;
class TFieldBinding;

class TfrmProduct : public TLineDialog {
    Q_OBJECT
public:
    explicit TfrmProduct(QWidget* parent = nullptr);

    QLineEdit* edNum;
    QComboBox* cbPpara;
    QComboBox* cbProduct;
    QComboBox* cbColor;
    QComboBox* cbMaterial;
    QLineEdit* edProcizn;

    void btnOkClick();
    // Shared by the three free-text boxes: the ID of the matching item, or null.
    void cbProductChange(QComboBox* box);

protected:
    void showEvent(QShowEvent* e) override;

private:
    QList<TFieldBinding*> makeBindings(TClientDataSet* lines) override;
    QString targetField(QComboBox* box) const;

    QLabel* lbPpara;
    QLabel* lbColor;
    QLabel* lbMaterial;
    bool m_filling = false;
};
