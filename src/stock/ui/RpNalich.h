#pragma once
// The dialog of the report "Наличие на складе".
#include "stock/ui/RpStock.h"

class TfrmRpNalich : public TfrmRpStock {
    Q_OBJECT
public:
    explicit TfrmRpNalich(QWidget* parent = nullptr) : TfrmRpStock(TStockReport::Nalich, parent) {}
};
