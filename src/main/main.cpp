// The program: the application object, every window registered by name, the
// main window's start and stop steps wired to the shell's pieces, the loop.
#include "app/Application.h"
#include "app/SignalExit.h"
#include "app/Startup.h"
#include "app/WindowRegistry.h"
#include "data/DataModule.h"
#include "shell/AppErrorHandler.h"
#include "shell/Main.h"
#include "shell/Settings.h"
#include "shell/ShellWindows.h"
#include "books/BooksWindows.h"
#include "orders/DocuCalc.h"
#include "orders/OrdersWindows.h"
#include "stock/StockWindows.h"

#include <QLocale>

namespace {

void registerWindows() {
    auto& reg = WindowRegistry::instance();
    RegisterMainWindow();
    reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    RegisterShellDialogs();
    RegisterOrdersWindows();
    RegisterStockWindows();
    RegisterBooksWindows();
}

// The main window's own steps plus the placement kept in the settings file.
void wireStartup() {
    auto* main = Window<TfrmMain>(QStringLiteral("frmMain"));
    if (!main) return;
    StartupHooks hooks = main->defaultStartupHooks();
    hooks.restorePlacement = [main] { restorePlacement(main); };
    hooks.savePlacement = [main] { savePlacement(main); };
    main->setStartupHooks(hooks);
}

}  // namespace

int main(int argc, char** argv) {
    // A terminate or hang-up signal closes the main window the normal way from
    // any state, dialogs open or not; see SignalExit.h.
    signalexit::install();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("obrix"));
    signalexit::listen();
    InstallApplicationErrorHandler();
    registerWindows();

    auto& reg = WindowRegistry::instance();
    struct Teardown {
        WindowRegistry& r;
        ~Teardown() {
            r.destroyAll();
            // The settings window's last word at program end.
            writeShowHintMes();
        }
    } teardown{reg};
    reg.createAll();
    wireStartup();
    // The order rules live on the journal row itself, so that a new order is
    // complete (deviation, totals, debt) before the editor first shows it.
    if (auto* host = Window<TfrmMain>(QStringLiteral("frmMain"))) AttachDocuRules(*host->journalDocu());
    auto* main = reg.get<QWidget>(QStringLiteral("frmMain"));
    if (!main) return 1;
    signalexit::setMainWindow(main);
    if (signalexit::requested()) return 0;  // a signal while the windows were made
    main->show();
    return TApplication::exec();
}
