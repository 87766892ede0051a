#pragma once
// The dialog of the report "Карточка заказчика": the period frame and the
// customer; it stays open for a further report.
#include "orders/ui/RpSummaKvit.h"

class TfrmRpKartaZak : public TfrmRpService {
    Q_OBJECT
public:
    explicit TfrmRpKartaZak(QWidget* parent = nullptr) : TfrmRpService(TServiceReport::KartaZak, parent) {}
};
