#include "ui/JournalHost.h"

#include "ui/WindowRegistry.h"

IJournalHost* JournalHost() {
    auto& reg = WindowRegistry::instance();
    QObject* w = reg.object("frmMain");
    return dynamic_cast<IJournalHost*>(w);
}
