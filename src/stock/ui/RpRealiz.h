#pragma once
// The dialog of the report "Реализация со склада".
#include "stock/ui/RpStock.h"

class TfrmRpRealiz : public TfrmRpStock {
    Q_OBJECT
public:
    explicit TfrmRpRealiz(QWidget* parent = nullptr) : TfrmRpStock(TStockReport::Realiz, parent) {}
};
