#include "orders/ui/OrderWindows.h"

#include "ui/WindowRegistry.h"
#include "orders/ui/Docu.h"
#include "orders/ui/Product.h"
#include "orders/ui/RpKartaZak.h"
#include "orders/ui/RpSummaKvit.h"
#include "orders/ui/RpUslugaKind.h"
#include "orders/ui/SelectRep.h"
#include "orders/ui/Usluga.h"
#include "orders/ui/ZakazchInfo.h"

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
