#include "stock/StockWindows.h"

#include "app/WindowRegistry.h"
#include "stock/ChoosePeriod.h"
#include "stock/Docs.h"
#include "stock/PeriodMan.h"
#include "stock/PeriodNew.h"
#include "stock/RpNalich.h"
#include "stock/RpPrihod.h"
#include "stock/RpRashod.h"
#include "stock/RpRealiz.h"
#include "stock/SelTovar.h"
#include "stock/Tovar.h"

void RegisterStockWindows() {
    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmChoosePeriod"), [] { return new TfrmChoosePeriod; });
    reg.registerFactory(QStringLiteral("frmPeriodMan"), [] { return new TfrmPeriodMan; });
    reg.registerFactory(QStringLiteral("frmPeriodNew"), [] { return new TfrmPeriodNew; });
    reg.registerFactory(QStringLiteral("frmDocs"), [] { return new TfrmDocs; });
    reg.registerFactory(QStringLiteral("frmTovar"), [] { return new TfrmTovar; });
    reg.registerFactory(QStringLiteral("frmRpPrihod"), [] { return new TfrmRpPrihod; });
    reg.registerFactory(QStringLiteral("frmRpRashod"), [] { return new TfrmRpRashod; });
    reg.registerFactory(QStringLiteral("frmRpRealiz"), [] { return new TfrmRpRealiz; });
    reg.registerFactory(QStringLiteral("frmRpNalich"), [] { return new TfrmRpNalich; });
    reg.registerFactory(QStringLiteral("frmSelTovar"), [] { return new TfrmSelTovar; });
    reg.registerFactory(QStringLiteral("frmSelGroup"), [] { return new TfrmSelGroup; });
}
