#pragma once
// UchetOptions, the cached copy of the organisation's accounting parameters,
// loaded from the current row of the data module's cdsUchInfo.

// Copies NAMEORG, DENED, SERDEF, VREMDEF (text), AUTOSKLAD (flag) and DVDELTA
// (integer) into UchetOptions. Nothing changes when cdsUchInfo is closed or empty.
void UpdateUchetOptions();
