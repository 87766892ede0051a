// The main window's tests: widgets offscreen, Russian locale, the windows
// registered and created once as the program does.
#include "ui/Application.h"
#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "ui/AppErrorHandler.h"
#include "shell/Main.h"

#include <QLocale>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    TApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    InstallApplicationErrorHandler();
    RegisterMainWindow();
    WindowRegistry::instance().registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    WindowRegistry::instance().createAll();
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    WindowRegistry::instance().destroyAll();
    return rc;
}
