#include "stock/ui/StockWindows.h"

#include "ui/WindowRegistry.h"
#include "stock/ui/ChoosePeriod.h"
#include "stock/ui/Docs.h"
#include "stock/ui/PeriodMan.h"
#include "stock/ui/PeriodNew.h"
#include "stock/ui/RpNalich.h"
#include "stock/ui/RpPrihod.h"
#include "stock/ui/RpRashod.h"
#include "stock/ui/RpRealiz.h"
#include "stock/ui/SelTovar.h"
#include "stock/ui/Tovar.h"

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
