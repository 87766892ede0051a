#include "orders/OrderWindows.h"

#include "app/WindowRegistry.h"
#include "orders/Docu.h"
#include "orders/Product.h"
#include "orders/Usluga.h"
#include "orders/ZakazchInfo.h"

void RegisterOrderWindows() {
    WindowRegistry& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmDocu"), [] { return new TfrmDocu; });
    reg.registerFactory(QStringLiteral("frmProduct"), [] { return new TfrmProduct; });
    reg.registerFactory(QStringLiteral("frmUsluga"), [] { return new TfrmUsluga; });
    reg.registerFactory(QStringLiteral("frmZakazchInfo"), [] { return new TfrmZakazchInfo; });
}
