#pragma once
// The current row of a dataset as the print forms' variables take it: a
// closed dataset, one without rows (and not editing one), or a field it does
// not have gives null, that is an empty text.
#include "fb/Value.h"

#include <QString>

class TClientDataSet;

// The field's value in the current row, pending edits included.
fb::Value RowValue(const TClientDataSet& ds, const char* field);
// The field's text (asString).
QString RowText(const TClientDataSet& ds, const char* field);
// A date field in the locale's short format; empty for null.
QString RowDateText(const TClientDataSet& ds, const char* field);
