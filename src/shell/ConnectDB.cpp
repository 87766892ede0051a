#include "shell/ConnectDB.h"

#include "data/DataModule.h"
#include "ui/MessageBoxes.h"

bool ConnectToDatabase() {
    const TConnectOutcome outcome = ConnectAndCheckVersion(DM(), AppOptions);
    if (outcome.notice.kind != TNoticeKind::None) VendorMessageBox(outcome.notice.text, int(outcome.notice.kind));
    return outcome.connected;
}

TfrmConnectDB::TfrmConnectDB(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frmConnectDB"));
}

bool TfrmConnectDB::ConnDB() { return ConnectToDatabase(); }
