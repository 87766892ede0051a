#pragma once
// The first part of the main window's connect command: connect and check the
// version, then what follows a connection (session/ConnectDatabase.h). The
// main window then opens its journals with GL.RPeriodID and rewrites its
// status bar.
#include "session/ConnectDatabase.h"

// Returns GL.Connected. When the connection or the version check fails it
// returns false with the lookups closed. Errors while opening a lookup
// propagate to the caller (the application-wide handler).
bool RunConnectCommand();
