#include "stock/StockWindows.h"

#include "app/WindowRegistry.h"
#include "stock/ChoosePeriod.h"
#include "stock/PeriodMan.h"
#include "stock/PeriodNew.h"

void RegisterStockWindows() {
    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmChoosePeriod"), [] { return new TfrmChoosePeriod; });
    reg.registerFactory(QStringLiteral("frmPeriodMan"), [] { return new TfrmPeriodMan; });
    reg.registerFactory(QStringLiteral("frmPeriodNew"), [] { return new TfrmPeriodNew; });
}
