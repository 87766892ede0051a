#pragma once
// Connecting to the database and checking its structure version: the rules
// and the texts are in session/ConnectDatabase.h; here the outcome is said.
#include "session/ConnectDatabase.h"

#include <QDialog>

// Connects the data module to the database AppOptions names and checks the
// version; GL.Connected tells the outcome. Messages through VendorMessageBox.
bool ConnectToDatabase();

// The connect routine's owner; its window is never shown.
class TfrmConnectDB : public QDialog {
    Q_OBJECT
public:
    explicit TfrmConnectDB(QWidget* parent = nullptr);
    // Returns GL.Connected afterwards.
    bool ConnDB();
};
