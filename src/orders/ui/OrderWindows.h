#pragma once
// Registers the factories of the service order windows: frmDocu, frmProduct,
// frmUsluga, frmZakazchInfo. Call before the window registry creates them.
void RegisterOrderWindows();
