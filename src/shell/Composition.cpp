#include "shell/Composition.h"

#include "books/ui/BooksWindows.h"
#include "data/DataModule.h"
#include "orders/core/DocuCalc.h"
#include "orders/ui/OrderWindows.h"
#include "shell/Main.h"
#include "shell/ShellWindows.h"
#include "stock/ui/StockWindows.h"
#include "ui/WindowPlacement.h"
#include "ui/WindowRegistry.h"

namespace {

void registerWindows() {
    auto& reg = WindowRegistry::instance();
    RegisterMainWindow();
    reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    RegisterShellDialogs();
    RegisterOrderWindows();
    RegisterStockWindows();
    RegisterBooksWindows();
}

// The main window's own steps plus the placement kept in the settings file.
void wireStartup(TfrmMain* main) {
    StartupHooks hooks = main->defaultStartupHooks();
    hooks.restorePlacement = [main] { restorePlacement(main); };
    hooks.savePlacement = [main] { savePlacement(main); };
    main->setStartupHooks(hooks);
}

}  // namespace

QWidget* ComposeProgram() {
    registerWindows();
    WindowRegistry::instance().createAll();
    auto* main = Window<TfrmMain>(QStringLiteral("frmMain"));
    if (!main) return nullptr;
    wireStartup(main);
    // The order rules live on the journal row itself, so that a new order is
    // complete (deviation, totals, debt) before the editor first shows it.
    AttachDocuRules(*main->journalDocu());
    return main;
}
