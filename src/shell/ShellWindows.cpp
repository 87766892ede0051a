#include "shell/ShellWindows.h"

#include "ui/WindowRegistry.h"
#include "shell/About.h"
#include "shell/ChooseOperator.h"
#include "shell/ConnectDB.h"
#include "ui/ErrorDB.h"
#include "shell/Options.h"
#include "shell/OptionsUchet.h"

void RegisterShellDialogs() {
    auto& r = WindowRegistry::instance();
    r.registerFactory(QStringLiteral("frmOptions"), [] { return new TfrmOptions; });
    r.registerFactory(QStringLiteral("frmConnectDB"), [] { return new TfrmConnectDB; });
    r.registerFactory(QStringLiteral("frmChooseOperator"), [] { return new TfrmChooseOperator; });
    r.registerFactory(QStringLiteral("frmOptionsUchet"), [] { return new TfrmOptionsUchet; });
    r.registerFactory(QStringLiteral("frmAbout"), [] { return new TfrmAbout; });
    r.registerFactory(QStringLiteral("frmErrorDB"), [] { return new TfrmErrorDB; });
    r.registerFactory(QStringLiteral("frmErrorMes"), [] { return new TfrmErrorMes; });
}
