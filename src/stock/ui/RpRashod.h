#pragma once
// The dialog of the report "Расход со склада".
#include "stock/ui/RpStock.h"

class TfrmRpRashod : public TfrmRpStock {
    Q_OBJECT
public:
    explicit TfrmRpRashod(QWidget* parent = nullptr) : TfrmRpStock(TStockReport::Rashod, parent) {}
};
