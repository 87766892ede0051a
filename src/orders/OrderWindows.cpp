#include "orders/OrderWindows.h"

#include "app/WindowRegistry.h"
#include "orders/Docu.h"
#include "orders/Product.h"
#include "orders/RpKartaZak.h"
#include "orders/RpSummaKvit.h"
#include "orders/RpUslugaKind.h"
#include "orders/SelectRep.h"
#include "orders/Usluga.h"
#include "orders/ZakazchInfo.h"

void RegisterOrderWindows() {
    WindowRegistry& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmDocu"), [] { return new TfrmDocu; });
    reg.registerFactory(QStringLiteral("frmProduct"), [] { return new TfrmProduct; });
    reg.registerFactory(QStringLiteral("frmUsluga"), [] { return new TfrmUsluga; });
    reg.registerFactory(QStringLiteral("frmZakazchInfo"), [] { return new TfrmZakazchInfo; });
    reg.registerFactory(QStringLiteral("frmRpSummaKvit"), [] { return new TfrmRpSummaKvit; });
    reg.registerFactory(QStringLiteral("frmRpUslugaKind"), [] { return new TfrmRpUslugaKind; });
    reg.registerFactory(QStringLiteral("frmRpKartaZak"), [] { return new TfrmRpKartaZak; });
    reg.registerFactory(QStringLiteral("frmSelectRep"), [] { return new TfrmSelectRep; });
}
