#pragma once
// The dialog of the report "Предоставленные услуги по видам".
#include "orders/ui/RpSummaKvit.h"

class TfrmRpUslugaKind : public TfrmRpService {
    Q_OBJECT
public:
    explicit TfrmRpUslugaKind(QWidget* parent = nullptr) : TfrmRpService(TServiceReport::UslugaKind, parent) {}
};
