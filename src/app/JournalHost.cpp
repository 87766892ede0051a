#include "app/JournalHost.h"

#include "app/WindowRegistry.h"

IJournalHost* JournalHost() {
    auto& reg = WindowRegistry::instance();
    QObject* w = reg.object("frmMain");
    return dynamic_cast<IJournalHost*>(w);
}
