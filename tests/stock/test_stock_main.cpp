// The stock windows' tests: widgets offscreen, Russian locale as at a
// workstation, every window created once through the registry as the program does.
#include "StockFixture.h"

#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "ui/ErrorDB.h"
#include "stock/ui/StockWindows.h"

#include <QApplication>
#include <QLocale>
#include <gtest/gtest.h>

int stocktest::FakeHost::statusBarUpdates = 0;

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Russian, QLocale::Russia));
    ::testing::InitGoogleTest(&argc, argv);

    auto& reg = WindowRegistry::instance();
    reg.registerFactory(QStringLiteral("frmMain"), [] { return new stocktest::FakeHost; });
    reg.registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    reg.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
    RegisterStockWindows();
    reg.createAll();
    const int rc = RUN_ALL_TESTS();
    reg.destroyAll();
    return rc;
}
