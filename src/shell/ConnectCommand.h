#pragma once
// The first part of the main window's connect command: connect and check the
// version, open the shared lookups, take the latest work period, load the
// organisation's parameters. The main window then opens its journals with
// GL.RPeriodID and rewrites its status bar.

// Returns GL.Connected. When the connection or the version check fails it
// returns false with the lookups closed. Errors while opening a lookup
// propagate to the caller (the application-wide handler).
bool RunConnectCommand();

// Sets GL's current work period from the last row of the open cdsRPeriod
// (the highest ID); RPeriodID -1 when it has no rows.
void ChooseLatestPeriod();
