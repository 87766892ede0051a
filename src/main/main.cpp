// The program: the application object, the windows composed by the shell,
// the loop.
#include "session/Settings.h"
#include "shell/Composition.h"
#include "ui/AppErrorHandler.h"
#include "ui/Application.h"
#include "ui/SignalExit.h"
#include "ui/WindowRegistry.h"

#include <QLocale>
#include <QWidget>

int main(int argc, char** argv) {
    // A terminate or hang-up signal closes the main window the normal way from
    // any state, dialogs open or not; see SignalExit.h.
    signalexit::install();
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("obrix"));
    signalexit::listen();
    InstallApplicationErrorHandler();

    struct Teardown {
        ~Teardown() {
            WindowRegistry::instance().destroyAll();
            // The settings window's last word at program end.
            WriteShowHintMes();
        }
    } teardown;
    QWidget* main = ComposeProgram();
    if (!main) return 1;
    signalexit::setMainWindow(main);
    if (signalexit::requested()) return 0;  // a signal while the windows were made
    main->show();
    return TApplication::exec();
}
