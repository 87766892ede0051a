#pragma once
// The dialog of the report "Приход на склад".
#include "stock/ui/RpStock.h"

class TfrmRpPrihod : public TfrmRpStock {
    Q_OBJECT
public:
    explicit TfrmRpPrihod(QWidget* parent = nullptr) : TfrmRpStock(TStockReport::Prihod, parent) {}
};
