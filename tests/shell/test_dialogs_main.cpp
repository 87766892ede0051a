// The shell dialogs run offscreen under the program's application object,
// created through the window registry as the program creates them.
#include "ui/Application.h"
#include "ui/WindowRegistry.h"
#include "data/DataModule.h"
#include "shell/ShellWindows.h"

#include <gtest/gtest.h>

namespace {
QtMessageHandler defaultHandler = nullptr;
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QStringLiteral("This plugin does not support"))) return;
    defaultHandler(type, context, message);
}
}  // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietHandler);
    TApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    RegisterShellDialogs();
    WindowRegistry::instance().registerFactory(QStringLiteral("DM"), [] { return new TDM; });
    WindowRegistry::instance().createAll();
    const int rc = RUN_ALL_TESTS();
    WindowRegistry::instance().destroyAll();
    return rc;
}
