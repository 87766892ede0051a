#pragma once
// Registers the factories of the shell's dialogs with the window registry:
// frmOptions, frmConnectDB, frmChooseOperator, frmOptionsUchet, frmAbout,
// frmErrorDB and frmErrorMes. Call before WindowRegistry::createAll().
void RegisterShellDialogs();
